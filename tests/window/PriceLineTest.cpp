#include "window/PriceLine.h"

#include <gtest/gtest.h>

#include <string>

TEST(PriceLine, NameBeforeTheFirstTabValueAfterTheSecondWithinTheLinesStart)
{
    const auto parts = SPriceLine::Parse("a\tb\tc\td");
    ASSERT_TRUE(parts);
    EXPECT_EQ(std::tie(parts->name, parts->value, parts->valueStart),
        std::make_tuple(std::string("a"), std::string("c\td"), size_t { 4 }));
    // A second tab beyond the first 127 characters is not seen.
    const std::string longLine = "Lang\t" + std::string(125, 'x') + "\t9,99";
    for (const std::string& line : { std::string("Apfel\t1,50"), std::string(), longLine })
        EXPECT_FALSE(SPriceLine::Parse(line)) << line;
}

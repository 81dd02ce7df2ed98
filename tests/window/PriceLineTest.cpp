#include "window/PriceLine.h"

#include <gtest/gtest.h>

#include <string>

TEST(PriceLine, NameBeforeTheFirstTabValueAfterTheSecondWithinTheLinesStart)
{
    const std::string longLine = "Lang\t" + std::string(125, 'x') + "\t9,99";
    const struct {
        std::string line;
        bool found;
        const char* name;
        const char* value;
        size_t valueStart;
    } cases[] = { { "Apfel\t1,50\t2,25", true, "Apfel", "2,25", 11 },
        { "\tHof\tMarkt", true, "", "Markt", 5 }, { "Apfel\t1,50\t", true, "Apfel", "", 11 },
        { "a\tb\tc\td", true, "a", "c\td", 4 }, { "Apfel\t1,50", false, "", "", 0 },
        { "Apfel", false, "", "", 0 }, { "", false, "", "", 0 },
        // A second tab beyond the first 127 characters is not seen.
        { longLine, false, "", "", 0 } };
    for (const auto& c : cases) {
        const auto parts = SPriceLine::Parse(c.line);
        ASSERT_EQ(parts.has_value(), c.found) << c.line;
        if (parts) {
            EXPECT_EQ(std::tie(parts->name, parts->value, parts->valueStart),
                std::tie(c.name, c.value, c.valueStart));
        }
    }
}

TEST(PriceLine, CommitsTheTypedTextWithoutBlanksAround)
{
    for (const char* typed : { "3,10", "  3,10 ", "\t3,10\r\n",
             "\xA0"
             "3,10\xA0" })
        EXPECT_EQ(SPriceLine::Committed(typed), "3,10");
    EXPECT_EQ(SPriceLine::Committed(" 3 10 "), "3 10");
    EXPECT_EQ(SPriceLine::Committed(" \t "), "");
}

#include "window/ProfileFormat.h"

#include <gtest/gtest.h>

TEST(ProfileFormat, NumbersAreFilledWithoutPrintf)
{
    const std::pair<std::string, std::string> cases[] = {
        { "Quotino V%d.%02d", "Quotino V1.05" },
        { "100%% %d", "100% 1" },
        { "%s%n%x%5d%p%", "%s%n%x%5d%p%" }, // other conversions
        { "%d.%d.%d", "1.5.%d" }, // more than two
        { "Update!", "Update!" },
        { "%%d", "%d" },
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(FormatNumbers(text, { 1, 5 }), expected) << text;
    EXPECT_EQ(FormatNumbers("%02d|%02d", { 123, -4 }), "123|-4");
    EXPECT_EQ(ExpandLineBreaks("a\\nb\\\\n\\"), "a\nb\\\n\\");
    EXPECT_EQ(
        RemoveAll(RemoveAll("Inf&o &&\374ber Quotino....", "&"), "..."), "Info \374ber Quotino.");
}

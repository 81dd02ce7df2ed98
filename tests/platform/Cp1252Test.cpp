#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80 \xE4 \x9F \x81"), "\u20AC \u00E4 \u0178 \u0081");
}

TEST(Cp1252, InvalidOrUnmappableUtf8BecomesAQuestionMark)
{
    struct Case {
        const char* utf8;
        const char* cp1252;
    };
    const Case cases[] = {
        { "K\xC3\xBCrbis", "K\xFCrbis" }, { "\xE2\x82\xAC", "\x80" },
        { "a\xFF"
          "b",
            "a?b" }, // not a lead byte
        { "a\x80"
          "b",
            "a?b" }, // stray continuation
        { "a\xC3", "a?" }, // truncated at the end
        { "\xC0\xAF", "??" }, // overlong
        { "\xED\xA0\x80", "???" }, // surrogate
        { "\xF4\x90\x80\x80", "????" }, // beyond U+10FFFF
        { "\xE4\xB8\xAD", "?" }, // a character that Windows-1252 lacks
        { "\xF0\x9F\x8D\x85", "?" }, // outside the basic plane
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

} // namespace

#include "platform/TextUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The blanks are tested as bits of a word: every byte value against the plain list.
TEST(TextUtil, BlanksAreSpaceTabLineFeedVerticalTabFormFeedAndCarriageReturn)
{
    const std::string blanks = " \t\n\v\f\r";
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        EXPECT_EQ(IsBlank(c), blanks.find(c) != std::string::npos) << code;
    }
    EXPECT_EQ(Trim(" \t\r\n\v\fa b\f\v\n\r\t "), "a b");
    EXPECT_EQ(Trim("\x85x\xA0"), "\x85x\xA0"); // no blanks beyond ASCII
    EXPECT_EQ(Trim(" \t "), "");
}

} // namespace

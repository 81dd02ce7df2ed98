#include "calc/Amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

TEST(Amount, ParseAmountReadsCommaOrPointAndTakesTheLastPointAsDecimal)
{
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        { "0,06", 0.06 },
        { "12.5", 12.5 },
        { "1.234,56", 1234.56 },
        { "1,234.56", 1234.56 },
        { "1.234", 1.234 },
        { "1.234.567", 1234.567 },
        { "  3,5 wT", 3.5 },
        { "-2,5", -2.5 },
        { "+2,5", 2.5 },
        { "wT", 0.0 },
        { "", 0.0 },
        { ",5", 0.5 },
        { "5,", 5.0 },
        { "\t\r\n 7", 7.0 },
        { "1,5e2", 150.0 },
        { "2E-1x", 0.2 },
        { "3e", 3.0 },
        { "3e+", 3.0 },
        { "- 3", 0.0 },
        { "-", 0.0 },
        { ".", 0.0 },
        { "0x10", 0.0 },
        { "inf", 0.0 },
        { "nan", 0.0 },
        { "12,50 \xE2\x82\xAC", 12.5 },
        { "1e-400", 0.0 },
        { "0.000e99999999999999999999", 0.0 },
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.expected, ParseAmount(c.text)) << '"' << c.text << '"';
}

TEST(Amount, ParseAmountReadsNumbersTooLargeForADoubleAsUnreadable)
{
    EXPECT_EQ(0.0, ParseAmount("1e400"));
    EXPECT_EQ(0.0, ParseAmount("-1e99999999999999999999"));
    EXPECT_EQ(0.0, ParseAmount(std::string(400, '9')));
    EXPECT_EQ(0.0, ParseAmount("0," + std::string(400, '0') + "1"));
}

// The C library's printf is the reference for the digits: same rounding of the binary value.
TEST(Amount, FormatFixedWritesTheDigitsOfPrintf)
{
    const double values[] = { 0.0, 0.005, 0.015, 0.125, 0.18, 3 * 0.06, 2.5, 3.5, 22.83,
        2 * 11.416666666666666, 1234.5, -0.004, -1.005, 1e15 / 3, 99.95, 1e300 };
    const char* conversions[] = { "%.0f", "%.1f", "%.2f" };
    for (double value : values) {
        for (int decimals = 0; decimals <= 2; ++decimals) {
            char expected[512];
            std::snprintf(expected, sizeof expected, conversions[decimals], value);
            EXPECT_EQ(expected, FormatFixed(value, decimals)) << value << " with " << decimals;
        }
    }
}

TEST(Amount, ReplaceDecimalReplacesEveryPointByTheWholeText)
{
    EXPECT_EQ("1234,50", ReplaceDecimal(FormatFixed(1234.5, 2), ","));
    EXPECT_EQ("Dr, No 0,18", ReplaceDecimal("Dr. No 0.18", ","));
    EXPECT_EQ("900", ReplaceDecimal("90.0", ""));
    EXPECT_EQ("1<dec>5", ReplaceDecimal("1.5", "<dec>"));
    EXPECT_EQ("0.06", ReplaceDecimal("0.06", "."));
    EXPECT_EQ("no point", ReplaceDecimal("no point", ","));
}

} // namespace

#include "config/IntegerScan.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(IntegerScan, SeparatedNumbersStopWhereTheTextStopsMatching)
{
    struct Case {
        const char* text;
        char separator;
        std::vector<int> values;
    } const cases[] = {
        {"1.39", '.', {1, 39}},
        {"01.039.7", '.', {1, 39}},
        {" 1. 4", '.', {1, 4}},
        {"1 .39", '.', {1}},
        {"1,39", '.', {1}},
        {"x1.39", '.', {}},
        {"2026-03-05", '-', {2026, 3, 5}},
        {"2026-3", '-', {2026, 3}},
        {"2026--3-1", '-', {2026, -3, 1}},
        {"2026-x-1", '-', {2026}},
        {"99999999999-1-1", '-', {INT_MAX, 1, 1}},
    };
    for (const Case& c : cases) {
        int values[3] = {};
        const std::size_t wanted = c.separator == '.' ? 2 : 3;
        const std::size_t found = ScanSeparatedIntegers(c.text, c.separator, std::span(values, wanted));
        EXPECT_EQ(c.values, std::vector<int>(values, values + found)) << c.text;
    }
}

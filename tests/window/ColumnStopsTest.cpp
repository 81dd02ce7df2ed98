#include "window/ColumnStops.h"

#include <gtest/gtest.h>

#include <string>

TEST(ColumnStops, ColumnsMakeRoomForEntriesThatWouldReachTheNext)
{
    const CColumnStops stops({ 100, 160 });
    // Every character 6 pixels wide; 4 pixels kept between the columns.
    const auto fit = [&stops](const std::string& text) {
        return stops.StopsFor(
            text, [](std::string_view cell) { return 6.0 * cell.size(); }, 4);
    };
    const std::string name(20, 'n'); // 120 pixels, wider than its column
    const std::string wide(30, 'w');
    const std::pair<std::string, std::vector<double>> cases[] = {
        { "Iris\t1,00\t2,00\r\nKohl\t3,00", { 100, 160 } },
        // A long name moves both stops, keeping the distance between the columns.
        { "Iris\t1,00\r\n" + name + "\t48,00\t0,0\r\n", { 124, 184 } },
        // A wide middle entry moves only the stop after it.
        { "Iris\t" + wide + "\t0,0", { 100, 284 } },
        { "Iris\t1,00", { 100, 160 } },
        // Lines with fewer cells than the table (a total, a percentage) run across it.
        { "Iris\t1,00\t2,00\r\n\r\n" + wide + "\t2\r\n" + wide, { 100, 160 } },
        // The last cell has no stop to move.
        { "a\tb\t" + wide + "\n", { 100, 160 } },
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(fit(text), expected) << text;
}

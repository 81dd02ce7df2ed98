#pragma once

#include <functional>
#include <string_view>
#include <vector>

// The tab stops of an edit that shows tab-separated columns: the template's stops, each moved
// to the right as far as a cell of the table needs, so that no cell reaches into the next
// column and pushes the rest of its row one column on (a long plant name in a narrow column).
// A row is a line with a tab for every stop; other lines never move a stop.
class CColumnStops {
public:
    explicit CColumnStops(std::vector<double> templateStops);

    // The stops text needs; width measures a cell in the edit's font, gap is kept between
    // columns. Lines end in "\n" or "\r\n".
    std::vector<double> StopsFor(std::string_view text,
        const std::function<double(std::string_view)>& width, double gap) const;

private:
    std::vector<double> m_template;
};

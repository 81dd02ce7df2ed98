#include "window/ColumnStops.h"

#include <algorithm>
#include <utility>

namespace {

std::string_view WithoutLineEnd(std::string_view line)
{
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

// Moves the stops so that each cell of the row ends a gap before the next stop.
void MakeRoomFor(std::string_view row, std::vector<double>& stops,
    const std::function<double(std::string_view)>& width, double gap)
{
    double start = 0;
    size_t column = 0;
    size_t cellStart = 0;
    // The last cell has no stop to move: a long one is reached by scrolling.
    while (column < stops.size()) {
        const size_t tab = row.find('\t', cellStart);
        const std::string_view cell = row.substr(cellStart, tab - cellStart);
        const double overflow = start + width(cell) + gap - stops[column];
        if (overflow > 0) {
            for (size_t later = column; later < stops.size(); ++later)
                stops[later] += overflow;
        }
        start = stops[column++];
        cellStart = tab + 1;
    }
}

} // namespace

CColumnStops::CColumnStops(std::vector<double> templateStops)
    : m_template(std::move(templateStops))
{
}

std::vector<double> CColumnStops::StopsFor(
    std::string_view text, const std::function<double(std::string_view)>& width, double gap) const
{
    std::vector<double> stops = m_template;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = WithoutLineEnd(text.substr(start, end - start));
        // Only the table's rows set the columns; a line with fewer cells (the total, the
        // percentages) runs across them as it is.
        if (static_cast<size_t>(std::count(line.begin(), line.end(), '\t')) >= stops.size())
            MakeRoomFor(line, stops, width, gap);
        start = end + 1;
    }
    return stops;
}

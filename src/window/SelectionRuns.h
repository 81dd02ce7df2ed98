#pragma once

#include <cstddef>
#include <vector>

// Calls select(first, last) for every run of selected entries among the first count flags.
// Selecting entry by entry costs time in the number already selected, which made a list of
// 20,000 servers open in tens of seconds; one call for each whole run does not.
template <typename Select>
void ForEachSelectedRun(const std::vector<bool>& selected, size_t count, Select select)
{
    count = count < selected.size() ? count : selected.size();
    for (size_t first = 0; first < count;) {
        size_t end = first;
        while (end < count && selected[end] == selected[first])
            ++end;
        if (selected[first])
            select(first, end - 1);
        first = end;
    }
}

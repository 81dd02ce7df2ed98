#pragma once

#include <optional>
#include <string>
#include <string_view>

// A line of the price list pane: name, tab, farm price, tab, market price. A double click on
// the line edits its market price in place. Texts are Windows-1252, one byte a character, so
// offsets count characters in either face.
struct SPriceLine {
    // Only the first characters of a line count; nothing the pane shows comes close.
    static constexpr size_t kMaxLength = 127;

    std::string name; // before the first tab; the header line's is empty
    std::string value; // after the second tab
    size_t valueStart = 0; // where the value starts in the line

    // The line's parts; none for a line without two tabs within its first kMaxLength.
    static std::optional<SPriceLine> Parse(std::string_view line);
    // What an edited price hands on: the typed text without the blanks around it.
    static std::string Committed(std::string_view typed);
};

#pragma once

#include "config/ListTemplates.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One article of a shopping list: the count (at least 1) and the name as written.
struct ShoppingItem {
    int count = 0;
    std::string name;

    bool operator==(const ShoppingItem&) const = default;
};

struct CListReading {
    std::vector<ShoppingItem> items;
    double offeredSum = 0.0;
    bool bTitle = false; // a title line was read
    bool bTotal = false; // a total line was read

    // Whether the text reads as a shopping list at all: an item, a title or a total.
    bool HasListContent() const { return !items.empty() || bTitle || bTotal; }
};

// Tidies clipboard text so that the title, the total and the question each start a line:
// text before the title and after the question is dropped. A template counts as found only
// at its first occurrence and not at the very start of the text.
void NormalizeListText(std::string& text, const CListTemplates& templates);

// Appends the elements of one input line: the titles it began with, a question glued into
// it, its total part, and the remaining text.
void SplitListLine(
    std::string_view line, const CListTemplates& templates, std::vector<std::string>& elements);

// The longest text read as a list. Game lists are a few KB; text beyond this is never pasted
// unasked, and only its beginning is priced.
constexpr std::size_t kMaxListBytes = 256 * 1024;
// The text up to kMaxListBytes, ending after its last whole line within them; a text that fits
// comes back whole.
std::string_view BoundedListText(std::string_view text);

// Reads the items and the offered sum from the input text; the last total line counts.
CListReading ReadListItems(std::string_view text, const CListTemplates& templates);

// Any pasted or typed text, tidied and read with the shipped templates and priced on the shipped
// catalogue: every item has a count of at least 1 and a name of at most four words of at most
// 127 characters, the report exists exactly when items were read, and nothing crashes.
#include "FuzzCheck.h"
#include "FuzzWorld.h"

#include "calc/ListPattern.h"
#include "calc/ListReader.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void CheckItems(const CListReading& reading)
{
    for (const ShoppingItem& item : reading.items) {
        FuzzCheck(item.count >= 1, "no count below 1");
        FuzzCheck(!item.name.empty(), "every item has a name");
        std::size_t words = 0;
        std::string_view rest = item.name;
        for (;;) {
            const std::size_t blank = rest.find(' ');
            const std::string_view word = rest.substr(0, blank);
            FuzzCheck(!word.empty(), "words are joined by single blanks");
            FuzzCheck(word.size() <= kMaxScanWord, "no word over 127 characters");
            ++words;
            if (blank == std::string_view::npos)
                break;
            rest.remove_prefix(blank + 1);
        }
        FuzzCheck(words <= 4, "at most four words");
    }
    FuzzCheck(!std::isnan(reading.offeredSum), "the offered sum is a number");
}

void CheckNormalized(
    std::string_view text, std::string_view normalized, const CListTemplates& templates)
{
    // Three line breaks at most are inserted; everything else only drops text.
    FuzzCheck(normalized.size() <= text.size() + 6, "tidying adds at most three line breaks");
    for (const std::string& title : templates.m_astrTitel) {
        const std::size_t found = title.empty() ? std::string_view::npos : text.find(title);
        if (found == std::string_view::npos || found == 0)
            continue;
        FuzzCheck(normalized.substr(0, title.size()) == title, "a found title starts the text");
        break;
    }
}

void ReadAndPrice(std::string_view text, const CFuzzWorld& world)
{
    const CListReading reading = ReadListItems(text, world.m_calc.Templates());
    CheckItems(reading);
    const CCalculation calculation = world.m_calc.Calculate(text);
    FuzzCheck(calculation.strReport.empty() == reading.items.empty(),
        "a report exactly when items were read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CFuzzWorld& world = CFuzzWorld::Shared();
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string normalized = text;
    NormalizeListText(normalized, world.m_calc.Templates());
    CheckNormalized(text, normalized, world.m_calc.Templates());

    ReadAndPrice(text, world);
    ReadAndPrice(normalized, world);
    return 0;
}

// Any price list applied line by line to a server table on the shipped catalogue. Input: three
// bytes choose the name column and the price range, then the lines follow, separated by LF;
// with the first byte's high bit set the first line is read as the server's Werte instead.
// Stored plant prices always follow the price rule and come from a cell of the price range,
// table and profile agree, and a rejected line changes nothing.
#include "FuzzCheck.h"
#include "FuzzWorld.h"

#include "platform/TextCase.h"
#include "platform/TextUtil.h"
#include "prices/PriceList.h"
#include "servers/ServerTable.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string kServer = "Fuzz Server";

// "%d": blanks, an optional sign, at least one digit. Returns the rest, or nullopt.
std::optional<std::string_view> SkipInteger(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    if (text.empty() || !IsDigit(text.front()))
        return std::nullopt;
    while (!text.empty() && IsDigit(text.front()))
        text.remove_prefix(1);
    return text;
}

// A stored price: no full stop left, and it begins with integer, comma, integer.
bool FollowsPriceRule(std::string_view price)
{
    if (price.find('.') != std::string_view::npos)
        return false;
    const auto afterFirst = SkipInteger(price);
    return afterFirst && !afterFirst->empty() && afterFirst->front() == ','
        && SkipInteger(afterFirst->substr(1));
}

std::string WithCommas(std::string text)
{
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

bool IsPlant(const CFuzzWorld& world, const std::string& key)
{
    const auto& plants = world.m_catalog.m_astrPlants;
    return std::find(plants.begin(), plants.end(), key) != plants.end();
}

void CheckFields(std::string_view line, const std::vector<std::string>& fields, int count)
{
    FuzzCheck(count == static_cast<int>(fields.size()), "SplitFields counts its fields");
    FuzzCheck(count == std::count(line.begin(), line.end(), '\t') + 1,
        "one field per separator and one more");
    std::string_view rest = line;
    for (const std::string& field : fields) {
        const std::string_view raw = rest.substr(0, rest.find('\t'));
        rest.remove_prefix(std::min(rest.size(), raw.size() + 1));
        FuzzCheck(field.find('\t') == std::string::npos, "no separator inside a field");
        // Without quotes to take off, a field is its piece of the line, trimmed.
        if (raw.find('"') == std::string_view::npos)
            FuzzCheck(field == Trim(raw), "fields are trimmed");
    }
}

void CheckLine(CFuzzWorld& world, const CServerTable& before, const CServerTable& after,
    bool applied, const std::vector<std::string>& fields, int first, int last)
{
    if (!applied)
        FuzzCheck(before.Entries() == after.Entries(), "a rejected line stores nothing");
    if (last < 0)
        last = first;
    for (const auto& [key, value] : after.Entries()) {
        const auto old = before.Entries().find(key);
        const bool changed = old == before.Entries().end() || old->second != value;
        if (!IsPlant(world, key)) {
            FuzzCheck(EqualNoCase(key, "Stand"), "only plants and the list's date are stored");
            continue;
        }
        FuzzCheck(FollowsPriceRule(value), "stored prices follow the price rule");
        FuzzCheck(
            world.m_profile.GetString(kServer, key, "\x01") == value, "table and profile agree");
        if (!changed)
            continue;
        bool fromRange = false;
        for (int column = std::min(first, last); column <= std::max(first, last); ++column)
            fromRange = fromRange || WithCommas(fields.at(column)) == value;
        FuzzCheck(fromRange, "a stored price comes from a cell of the price range");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzWorld& world = CFuzzWorld::Shared();
    CPriceList priceList(world.m_profile, world.m_catalog);
    if (size < 3)
        return 0;

    int nameColumn = data[0] % 4;
    int firstColumn = data[1] % 5;
    int lastColumn = data[2] % 7 - 1;
    std::string_view lines(reinterpret_cast<const char*>(data) + 3, size - 3);
    if (data[0] & 0x80) {
        const std::string_view werte = lines.substr(0, lines.find('\n'));
        lines.remove_prefix(std::min(lines.size(), werte.size() + 1));
        if (!CPriceList::ReadColumns(werte, nameColumn, firstColumn, lastColumn))
            return 0;
        FuzzCheck(nameColumn >= 0 && firstColumn >= 0 && lastColumn >= -1, "columns count from 0");
    }

    CServerTable table;
    table.m_strServerName = kServer;
    std::vector<std::string> fields;
    while (!lines.empty()) {
        const std::string_view line = lines.substr(0, lines.find('\n'));
        lines.remove_prefix(std::min(lines.size(), line.size() + 1));
        CheckFields(line, fields, SplitFields(line, fields, '\t'));

        const CServerTable before = table;
        const bool applied
            = priceList.ParsePriceLine(table, line, nameColumn, firstColumn, lastColumn);
        CheckLine(world, before, table, applied, fields, firstColumn, lastColumn);
    }
    world.m_profile.WriteString(kServer, std::nullopt, std::nullopt);
    return 0;
}

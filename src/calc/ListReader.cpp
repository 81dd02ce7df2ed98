#include "calc/ListReader.h"

#include "calc/Amount.h"
#include "calc/ListPattern.h"

#include <algorithm>

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr size_t kMaxNameWords = 4;
constexpr int kMaxTotalWords = 3;

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Found means the first occurrence, and not at the very start of the text.
size_t FindAfterStart(std::string_view text, std::string_view what)
{
    const size_t pos = text.find(what);
    return pos == 0 ? std::string_view::npos : pos;
}

// A total template's text up to and including its first colon; empty without a colon.
std::string_view TotalPrefix(std::string_view total)
{
    const size_t colon = total.find(':');
    return colon == std::string_view::npos ? std::string_view() : total.substr(0, colon + 1);
}

void BreakAfterTitle(std::string& text, const std::vector<std::string>& titles)
{
    for (const std::string& title : titles) {
        const size_t pos = FindAfterStart(text, title);
        if (pos == std::string::npos)
            continue;
        text.erase(0, pos);
        if (title.size() >= text.size() || !IsLineEnd(text[title.size()]))
            text.insert(title.size(), kLineBreak);
        return;
    }
}

void BreakBeforeTotal(std::string& text, const std::vector<std::string>& totals)
{
    for (const std::string& total : totals) {
        const std::string_view prefix = TotalPrefix(total);
        if (prefix.empty())
            continue;
        const size_t pos = FindAfterStart(text, prefix);
        if (pos == std::string::npos)
            continue;
        if (!IsLineEnd(text[pos - 1]))
            text.insert(pos, kLineBreak);
        return;
    }
}

void IsolateQuestion(std::string& text, const std::vector<std::string>& questions)
{
    for (const std::string& question : questions) {
        size_t pos = FindAfterStart(text, question);
        if (pos == std::string::npos)
            continue;
        if (!IsLineEnd(text[pos - 1])) {
            text.insert(pos, kLineBreak);
            pos += kLineBreak.size();
        }
        text.resize(pos + question.size());
        return;
    }
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsScanSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsScanSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// An item template yields an item when it read the count and at least one word.
void ReadItem(const std::string& element, const std::vector<std::string>& patterns,
    std::vector<CScanValue>& values, std::vector<ShoppingItem>& items)
{
    for (const std::string& pattern : patterns) {
        if (ScanListPattern(element, pattern, values) < 2 || !values[0].bNumber
            || values[0].nNumber < 1)
            continue;
        ShoppingItem item { values[0].nNumber, values[1].strText };
        for (size_t word = 2; word < values.size() && word <= kMaxNameWords; ++word)
            item.name += ' ' + values[word].strText;
        items.push_back(std::move(item));
    }
}

// The first total template that converts anything decides; a third word means the sum was
// written with a blank as thousands separator.
bool ReadTotal(const std::string& element, const std::vector<std::string>& patterns,
    std::vector<CScanValue>& values, double& offeredSum)
{
    for (const std::string& pattern : patterns) {
        const int words = ScanListPattern(element, pattern, values);
        if (words < 1)
            continue;
        std::string sum = values[0].strText;
        if (words >= kMaxTotalWords)
            sum += values[1].strText;
        offeredSum = ParseAmount(sum);
        return true;
    }
    return false;
}

bool IsTitle(const std::string& element, const std::vector<std::string>& titles)
{
    return !element.empty() && std::find(titles.begin(), titles.end(), element) != titles.end();
}

} // namespace

void NormalizeListText(std::string& text, const CListTemplates& templates)
{
    BreakAfterTitle(text, templates.m_astrTitel);
    BreakBeforeTotal(text, templates.m_astrTotal);
    IsolateQuestion(text, templates.m_astrFrage);
}

void SplitListLine(
    std::string_view line, const CListTemplates& templates, std::vector<std::string>& elements)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::string rest(Trim(line));

    for (const std::string& title : templates.m_astrTitel) {
        if (!title.empty() && rest.starts_with(title)) {
            elements.push_back(title);
            rest.erase(0, title.size());
        }
    }
    for (const std::string& question : templates.m_astrFrage) {
        const size_t pos = FindAfterStart(rest, question);
        if (pos == std::string::npos)
            continue;
        elements.push_back(question);
        rest.erase(pos, question.size());
        break;
    }
    for (const std::string& total : templates.m_astrTotal) {
        const std::string_view prefix = TotalPrefix(total);
        const size_t pos = prefix.empty() ? std::string::npos : rest.find(prefix);
        if (pos == std::string::npos)
            continue;
        elements.push_back(rest.substr(pos));
        rest.resize(pos);
        break;
    }
    if (!rest.empty())
        elements.push_back(std::move(rest));
}

std::string_view BoundedListText(std::string_view text)
{
    if (text.size() <= kMaxListBytes)
        return text;
    const std::size_t lastLineEnd = text.rfind('\n', kMaxListBytes - 1);
    return text.substr(0, lastLineEnd == std::string_view::npos ? kMaxListBytes : lastLineEnd + 1);
}

CListReading ReadListItems(std::string_view text, const CListTemplates& templates)
{
    std::vector<std::string> elements;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        SplitListLine(text.substr(start, end - start), templates, elements);
    SplitListLine(text.substr(start), templates, elements);

    CListReading reading;
    std::vector<CScanValue> values;
    for (const std::string& element : elements) {
        ReadItem(element, templates.m_astrZeile, values, reading.items);
        if (ReadTotal(element, templates.m_astrTotal, values, reading.offeredSum))
            reading.bTotal = true;
        if (IsTitle(element, templates.m_astrTitel))
            reading.bTitle = true;
    }
    return reading;
}

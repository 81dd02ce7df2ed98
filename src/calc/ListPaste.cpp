#include "calc/ListPaste.h"

#include "calc/ListReader.h"

std::optional<std::string> CListPaste::Take(std::string text, const CListTemplates& templates)
{
    m_strLastList = std::move(text);
    if (m_strLastList.empty())
        return std::nullopt;
    NormalizeListText(m_strLastList, templates);
    return m_strLastList;
}

// A clipboard whose owner does not answer leaves the input and the last list as they are.
std::optional<std::string> CListPaste::Paste(IClipboard& clipboard, const CListTemplates& templates)
{
    std::optional<std::string> text = clipboard.ReadText(IClipboard::kWhole);
    if (!text)
        return std::nullopt;
    return Take(std::move(*text), templates);
}

std::optional<std::string> CListPaste::PasteAtStart(
    IClipboard& clipboard, const CListTemplates& templates)
{
    std::optional<std::string> text = clipboard.ReadText(kMaxListBytes);
    if (!text || text->size() > kMaxListBytes)
        return std::nullopt;
    return Take(std::move(*text), templates);
}

bool CListPaste::HasNewList(IClipboard& clipboard, const CListTemplates& templates) const
{
    // Converting a text far beyond any list would hold the window, and nobody asked for it.
    std::optional<std::string> read = clipboard.ReadText(kMaxListBytes);
    if (!read)
        return false;
    std::string& text = *read;
    // An empty clipboard leaves the input alone; the paste only forgets the last list.
    if (text.empty())
        return !m_strLastList.empty();
    if (text.size() > kMaxListBytes || clipboard.HoldsOwnText())
        return false;
    NormalizeListText(text, templates);
    return text != m_strLastList && ReadListItems(text, templates).HasListContent();
}

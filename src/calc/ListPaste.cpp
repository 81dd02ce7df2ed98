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

std::optional<std::string> CListPaste::Paste(IClipboard& clipboard, const CListTemplates& templates)
{
    return Take(clipboard.GetClipboardText(), templates);
}

std::optional<std::string> CListPaste::PasteAtStart(
    IClipboard& clipboard, const CListTemplates& templates)
{
    std::string text = clipboard.GetClipboardText();
    if (text.size() > kMaxListBytes)
        return std::nullopt;
    return Take(std::move(text), templates);
}

bool CListPaste::HasNewList(IClipboard& clipboard, const CListTemplates& templates) const
{
    std::string text = clipboard.GetClipboardText();
    // An empty clipboard leaves the input alone; the paste only forgets the last list.
    if (text.empty())
        return !m_strLastList.empty();
    // Reading a text far beyond any list would hold the window, and nobody asked for it.
    if (text.size() > kMaxListBytes || clipboard.HoldsOwnText())
        return false;
    NormalizeListText(text, templates);
    return text != m_strLastList && ReadListItems(text, templates).HasListContent();
}

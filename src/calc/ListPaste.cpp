#include "calc/ListPaste.h"

#include "calc/ListReader.h"

std::string g_strLastList;

namespace {

std::optional<std::string> TakeList(std::string text, const CListTemplates& templates)
{
    g_strLastList = std::move(text);
    if (g_strLastList.empty())
        return std::nullopt;
    NormalizeListText(g_strLastList, templates);
    return g_strLastList;
}

} // namespace

std::optional<std::string> PasteList(IClipboard& clipboard, const CListTemplates& templates)
{
    return TakeList(clipboard.GetClipboardText(), templates);
}

std::optional<std::string> PasteListAtStart(IClipboard& clipboard, const CListTemplates& templates)
{
    std::string text = clipboard.GetClipboardText();
    if (text.size() > kMaxListBytes)
        return std::nullopt;
    return TakeList(std::move(text), templates);
}

bool ClipboardHasNewList(IClipboard& clipboard, const CListTemplates& templates)
{
    std::string text = clipboard.GetClipboardText();
    // An empty clipboard leaves the input alone; the paste only forgets the last list.
    if (text.empty())
        return !g_strLastList.empty();
    // Reading a text far beyond any list would hold the window, and nobody asked for it.
    if (text.size() > kMaxListBytes || clipboard.HoldsOwnText())
        return false;
    NormalizeListText(text, templates);
    return text != g_strLastList && ReadListItems(text, templates).HasListContent();
}

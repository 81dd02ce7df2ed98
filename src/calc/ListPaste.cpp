#include "calc/ListPaste.h"

#include "calc/ListReader.h"

std::string g_strLastList;

std::optional<std::string> PasteList(IClipboard& clipboard, const CListTemplates& templates)
{
    g_strLastList = clipboard.GetClipboardText();
    if (g_strLastList.empty())
        return std::nullopt;
    NormalizeListText(g_strLastList, templates);
    return g_strLastList;
}

bool ClipboardHasNewList(IClipboard& clipboard, const CListTemplates& templates)
{
    std::string text = clipboard.GetClipboardText();
    // An empty clipboard leaves the input alone; the paste only forgets the last list.
    if (text.empty())
        return !g_strLastList.empty();
    if (clipboard.HoldsOwnText())
        return false;
    NormalizeListText(text, templates);
    return text != g_strLastList && ReadListItems(text, templates).HasListContent();
}

#pragma once

#include "calc/Clipboard.h"
#include "config/ListTemplates.h"

#include <optional>
#include <string>

// The clipboard's shopping lists as the window takes them, and the last one it took. One per
// window: it decides on activation whether the clipboard holds a list other than that one.
class CListPaste {
public:
    // Takes the clipboard's list: the normalised text that replaces the whole input (the
    // caller then calculates), or nullopt when the clipboard is empty and the input stays as
    // it is. Remembers the list either way; a clipboard whose owner does not answer changes
    // nothing and gives nullopt.
    std::optional<std::string> Paste(IClipboard& clipboard, const CListTemplates& templates);

    // The same when the window opens: a text longer than any list (kMaxListBytes) is left on
    // the clipboard, and nullopt comes back.
    std::optional<std::string> PasteAtStart(IClipboard& clipboard, const CListTemplates& templates);

    // On activation: whether the clipboard holds a list other than the one pasted last. Only
    // text that reads as a shopping list counts, and never text the program copied itself:
    // switching back after copying the report, or closing a dialog with other text on the
    // clipboard, must not replace the player's list. Nor does a text longer than kMaxListBytes,
    // nor a clipboard whose owner does not answer.
    bool HasNewList(IClipboard& clipboard, const CListTemplates& templates) const;

    // The last list taken, normalised; empty after a paste from an empty clipboard.
    const std::string& LastList() const { return m_strLastList; }

private:
    std::optional<std::string> Take(std::string text, const CListTemplates& templates);

    std::string m_strLastList;
};

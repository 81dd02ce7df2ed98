#pragma once

#include "calc/Clipboard.h"
#include "config/ListTemplates.h"

#include <optional>
#include <string>

// The last shopping list pasted into the input, after normalisation; empty after a paste
// from an empty clipboard.
extern std::string g_strLastList;

// Takes the clipboard's list: the normalised text that replaces the whole input (the caller
// then posts the input's change notification and a calculation), or nullopt when the
// clipboard is empty and the input stays as it is. Updates g_strLastList either way.
std::optional<std::string> PasteList(IClipboard& clipboard, const CListTemplates& templates);

// The same when the window opens: a text longer than any list (kMaxListBytes) is left on
// the clipboard, and nullopt comes back.
std::optional<std::string> PasteListAtStart(IClipboard& clipboard, const CListTemplates& templates);

// On activation: whether the clipboard holds a list other than the one pasted last. Only text
// that reads as a shopping list counts, and never text the program copied itself: switching
// back after copying the report, or closing a dialog with other text on the clipboard, must
// not replace the player's list. Nor does a text longer than kMaxListBytes.
bool ClipboardHasNewList(IClipboard& clipboard, const CListTemplates& templates);

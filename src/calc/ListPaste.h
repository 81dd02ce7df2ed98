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

// On activation: whether the clipboard holds a list other than the one pasted last.
bool ClipboardHasNewList(IClipboard& clipboard, const CListTemplates& templates);

#pragma once

#include <string>

// The system clipboard as the shopping-list paste sees it.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    // The clipboard's text as Windows-1252, or empty when it holds none or cannot be opened.
    virtual std::string GetClipboardText() = 0;
    // Whether the text now on the clipboard was put there by this program (a copy from the
    // report, the pane or any of its edits).
    virtual bool HoldsOwnText() { return false; }
};

#pragma once

#include <string>

// The system clipboard as the shopping-list paste sees it.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    // The clipboard's text as Windows-1252, or empty when it holds none or cannot be opened.
    virtual std::string GetClipboardText() = 0;
};

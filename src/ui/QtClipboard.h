#pragma once

#include "calc/Clipboard.h"

// The desktop's clipboard, read as the 8-bit text the shopping-list reader works on.
class CQtClipboard : public IClipboard {
public:
    // Characters that Windows-1252 lacks become "?"; the text ends at its first zero
    // character, as 8-bit clipboard text always has.
    std::string GetClipboardText() override;
};

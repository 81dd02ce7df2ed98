#pragma once

#include "calc/Clipboard.h"

#include <windows.h>

#include <string>

// The system clipboard, read as the 8-bit text the shopping-list reader works on.
class CWin32Clipboard : public IClipboard {
public:
    // Characters that Windows-1252 lacks become "?"; the text ends at its first zero
    // character.
    std::string GetClipboardText() override;
    // The program's own copy: one of its windows owns the clipboard, or the clipboard has not
    // changed since it last did (the copying edit may be gone, its text stays).
    bool HoldsOwnText() override;

private:
    DWORD m_nOwnSequence = 0;
};

#pragma once

#include "calc/Clipboard.h"

#include <windows.h>

#include <memory>
#include <string>

// The system clipboard, read as the 8-bit text the shopping-list reader works on.
class CWin32Clipboard : public IClipboard {
public:
    // Characters that Windows-1252 lacks become "?"; the text ends at its first zero
    // character. The text is fetched on a thread of its own: a program that puts its text on
    // the clipboard only when asked (delayed rendering) may never answer, and the window's
    // thread waits for it kAnswerMs at most. While that fetch still waits, every read finds
    // no answer; another program's window that answers no message is not asked at all.
    std::optional<std::string> ReadText(std::size_t limit) override;
    // The program's own copy: one of its windows owns the clipboard, or the clipboard has not
    // changed since it last did (the copying edit may be gone, its text stays).
    bool HoldsOwnText() override;

private:
    struct SFetch;

    DWORD m_nOwnSequence = 0;
    // The fetch that did not answer in time, until it does.
    std::shared_ptr<SFetch> m_pWaiting;
};

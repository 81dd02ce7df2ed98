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
    // no answer; another program's window that answers no message is not asked at all. A read
    // while the clipboard has not changed since the last fetch takes that fetch's text.
    std::optional<std::string> ReadText(std::size_t limit) override;
    // Starts fetching the text now, for a read that will come soon with this limit: the fetch
    // runs while the window is being made.
    void FetchAhead(std::size_t limit);
    // The program's own copy: one of its windows owns the clipboard, or the clipboard has not
    // changed since it last did (the copying edit may be gone, its text stays).
    bool HoldsOwnText() override;

private:
    struct SFetch;

    static std::shared_ptr<SFetch> Start(std::size_t kept);
    static bool Await(SFetch& fetch);
    static bool IsCurrent(const SFetch& fetch, std::size_t kept);

    DWORD m_nOwnSequence = 0;
    // The last fetch: still running, or done with the text it found.
    std::shared_ptr<SFetch> m_pFetch;
};

#pragma once

#include "calc/Clipboard.h"

#include <QMetaObject>

#include <string>

// The desktop's clipboard, read as the 8-bit text the shopping-list reader works on.
class CQtClipboard : public IClipboard {
public:
    CQtClipboard();
    ~CQtClipboard() override;
    CQtClipboard(const CQtClipboard&) = delete;
    CQtClipboard& operator=(const CQtClipboard&) = delete;

    // Characters that Windows-1252 lacks become "?"; the text ends at its first zero
    // character, as 8-bit clipboard text always has.
    std::string GetClipboardText() override;
    // Where the desktop tells who owns the clipboard, its word counts. Elsewhere a change made
    // while one of the program's windows had the focus came from the program's own copy or
    // cut; its text counts as the program's as long as it stays on the clipboard.
    bool HoldsOwnText() override;

private:
    void NoteChange();

    QMetaObject::Connection m_connection;
    bool m_bOwnChange = false;
    std::string m_strOwnText;
};

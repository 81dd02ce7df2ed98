#pragma once

#include "calc/Clipboard.h"

#include <QMetaObject>

#include <functional>
#include <optional>
#include <string>

// The desktop's clipboard, read as the 8-bit text the shopping-list reader works on.
class CQtClipboard : public IClipboard {
public:
    // Whether this process owns the clipboard; nullopt where the desktop cannot tell.
    using OwnerQuery = std::function<std::optional<bool>()>;

    // owner: the desktop's answer by default; tests pass their own.
    explicit CQtClipboard(OwnerQuery owner = DesktopOwner);
    ~CQtClipboard() override;
    CQtClipboard(const CQtClipboard&) = delete;
    CQtClipboard& operator=(const CQtClipboard&) = delete;

    // Characters that Windows-1252 lacks become "?"; the text ends at its first zero
    // character, as 8-bit clipboard text always has. Another program's text on X11 comes
    // through a bounded read of its own (qt/X11ClipboardReader.h).
    std::optional<std::string> ReadText(std::size_t limit) override;
    // Where the desktop tells who owns the clipboard, its owner at each change decides: a list
    // that a clipboard manager, another screen or a remote desktop puts there while the window
    // has the focus is the player's. Elsewhere a change made while one of the program's
    // windows had the focus came from the program's own copy or cut. Either way the program's
    // text counts as its own as long as it stays on the clipboard.
    bool HoldsOwnText() override;

    // The window systems whose ownership Qt reports (X11, Wayland, Windows); nullopt on others.
    static std::optional<bool> DesktopOwner();

private:
    std::optional<bool> Owner() const;
    void NoteChange();

    OwnerQuery m_fnOwner;
    QMetaObject::Connection m_connection;
    bool m_bOwnChange = false;
    std::string m_strOwnText;
};

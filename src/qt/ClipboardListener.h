#pragma once

#include <QObject>

#include <functional>

// Reports every change of the desktop's clipboard (the X11 selection does not count: marking
// text is no copy). The call comes after the current event, when the program's own clipboard
// has noted who made the change.
//
// Wiring for the clipboard watch: the window holds a CDesktopNotifier (bringing itself to the
// front on a click) and a CClipboardWatch over its CQtClipboard, and a listener whose call
// passes TakeChange's list to the input as an activation paste would, calculates, and hands the
// calculation's summary to AnnounceVerdict. The command is disabled, with Txt_TipWatchUnavailable
// as its tooltip, where HearsInBackground() is false.
class CClipboardListener : public QObject {
public:
    explicit CClipboardListener(std::function<void()> onChange, QObject* parent = nullptr);

    // Whether a program whose window does not have the focus learns of clipboard changes and may
    // read them: Wayland tells only the focused client.
    static bool HearsInBackground();

private:
    std::function<void()> m_fnChanged;
};

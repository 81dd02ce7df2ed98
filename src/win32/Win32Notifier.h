#pragma once

#include "window/Notifier.h"

#include <windows.h>

#include <functional>

// Messages to the player as balloons of a notification-area icon, which appears with the first
// message and goes with the window. A click on the balloon calls back.
class CWin32Notifier : public INotifier {
public:
    // The icon's messages go to owner as callbackMessage; the owner passes them to OnMessage.
    CWin32Notifier(
        std::function<HWND()> owner, UINT callbackMessage, std::function<void()> onClick);
    ~CWin32Notifier() override;
    CWin32Notifier(const CWin32Notifier&) = delete;
    CWin32Notifier& operator=(const CWin32Notifier&) = delete;

    void Notify(const std::string& title, const std::string& text) override;
    void OnMessage(LPARAM lParam);

private:
    NOTIFYICONDATAW Data(UINT flags) const;

    std::function<HWND()> m_fnOwner;
    UINT m_nCallbackMessage;
    std::function<void()> m_fnClicked;
    bool m_bAdded = false;
};

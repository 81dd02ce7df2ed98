#pragma once

#include "platform/UserInterface.h"

#include <windows.h>

#include <functional>

class CTexts;

// What core operations ask of the user, shown over the main window: the language question and
// the new-version notice through their dialog behaviours, messages, the wait cursor.
class CWin32UserInterface : public IUserInterface {
public:
    using Owner = std::function<HWND()>;

    CWin32UserInterface(const CTexts& texts, Owner owner);

    bool ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen) override;
    void ShowUpdateNotice(int major, int minor) override;
    void ShowMessage(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    // The window shows the wait cursor again at every mouse move while this is so: a download
    // leaves the window's thread free, and the system would put the arrow back.
    bool IsWaiting() const { return m_nWaitDepth > 0; }

private:
    const CTexts& m_texts;
    Owner m_owner;
    int m_nWaitDepth = 0;
};

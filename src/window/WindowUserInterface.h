#pragma once

#include "platform/UserInterface.h"

class CTexts;
class IMainWindowView;

// What core operations ask of the player, asked over the main window in every face: the
// language and the new-version notice as the window's dialogs, a message as its warning, and
// the wait cursor drawn by the view.
class CWindowUserInterface : public IUserInterface {
public:
    // The texts are read only when a message or the notice shows, after the configuration has
    // loaded them.
    CWindowUserInterface(const CTexts& texts, IMainWindowView& view);

    bool ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen) override;
    void ShowUpdateNotice(int major, int minor) override;
    void ShowMessage(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    // A dialog that opens under the wait cursor shows the normal cursor while it is up.
    class CNormalCursor;

    const CTexts& m_texts;
    IMainWindowView& m_view;
    int m_nWaitDepth = 0;
};

#pragma once

#include "platform/UserInterface.h"

#include <vector>

class CTexts;
class QWidget;

// The core's way to the user, answered with the program's dialogs.
class CQtUserInterface : public IUserInterface {
public:
    // parent: the main window; the texts are read only when the update notice shows, after the
    // configuration has loaded them.
    CQtUserInterface(const CTexts& texts, QWidget* parent);

    bool ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen) override;
    void ShowUpdateNotice(int major, int minor) override;
    void ShowMessage(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    const CTexts& m_texts;
    QWidget* m_pParent;
    // One entry per BeginWaitCursor not yet ended: whether it set a cursor to restore.
    std::vector<bool> m_abWaitCursors;
};

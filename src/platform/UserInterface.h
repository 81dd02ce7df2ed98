#pragma once

#include <string>
#include <vector>

// What core operations need from the window they run for. The window room implements it once
// over the main window's view, for every face; tests implement it with fakes that preset the
// user's answers.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    // Language choice: offers the names, returns false when the user cancels. On entry chosen
    // names the language to preselect (empty at first start: the first name).
    virtual bool ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen) = 0;
    // The new-version notice; returns when the user has closed it.
    virtual void ShowUpdateNotice(int major, int minor) = 0;
    // A message the user must read (a profile that cannot be read or written), with OK.
    virtual void ShowMessage(const std::string& text) { (void)text; }

    virtual void BeginWaitCursor() { }
    virtual void EndWaitCursor() { }
};

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
public:
    explicit CWaitCursor(IUserInterface* ui)
        : m_ui(ui)
    {
        if (m_ui)
            m_ui->BeginWaitCursor();
    }
    ~CWaitCursor()
    {
        if (m_ui)
            m_ui->EndWaitCursor();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    IUserInterface* m_ui;
};

#pragma once

#include "window/Desktop.h"
#include "window/DialogBehaviour.h"
#include "window/MainWindowView.h"
#include "window/Notifier.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// A face without a toolkit: every control is a record that the behaviour writes and the test
// reads or changes the way a user would. Tasks posted to the window's thread wait until the
// test runs them.
class CFakeWindowView : public IMainWindowView, public IDesktop, private INotifier {
public:
    struct SControl {
        std::string strText;
        std::string strToolTip;
        std::string strUrl;
        bool bChecked = false;
        bool bShown = true;
        std::vector<std::string> items;
        int nCurrent = -1;
        std::vector<bool> selected;
        SRect rect;
        int nUndoSteps = 0; // replacements that Undo takes back
    };

    std::map<int, SControl> m_controls;
    std::map<int, std::string> m_commands;
    std::map<int, bool> m_checkedCommands;
    std::map<int, std::string> m_disabledCommands; // and why
    bool m_bHearsInBackground = true;
    std::vector<std::string> m_notifications; // "title|text"
    std::string m_strTitle;
    std::vector<std::string> m_warnings;
    int m_nFocus = 0;
    std::vector<bool> m_waitCursor; // each change, in order
    SSize m_size { 800, 600 };
    SSize m_available { 1920, 1040 };
    // Answers a modal dialog; by default the dialog is accepted as it opened.
    std::function<bool(IDialogBehaviour&, CFakeWindowView&)> m_fnDialog;
    std::vector<int> m_dialogsRun;

    SControl& operator[](int id) { return m_controls[id]; }
    // The controls of a template where a face with a 6 by 13 pixel font puts them, the
    // window at the template's size.
    void LayOut(int templateId);
    // Runs what was posted, including what those tasks post; returns how many ran.
    int RunPosted();
    // Opens dialog on a fresh fake, lets answer act as the user, then presses answerId.
    static bool Answer(IDialogBehaviour& dialog, CFakeWindowView& view, int answerId);

    void SetTitle(const std::string& text) override { m_strTitle = text; }
    std::string Title() const { return m_strTitle; }
    void SetText(int id, const std::string& text) override { m_controls[id].strText = text; }
    std::string Text(int id) const override;
    void SetToolTip(int id, const std::string& text) override { m_controls[id].strToolTip = text; }
    void SetChecked(int id, bool checked) override { m_controls[id].bChecked = checked; }
    bool IsChecked(int id) const override;
    void Show(int id, bool shown) override { m_controls[id].bShown = shown; }
    bool IsShown(int id) const;
    void SetFocus(int id) override { m_nFocus = id; }
    void SetItems(int id, const std::vector<std::string>& items) override;
    void AddItem(int id, const std::string& item) override;
    std::vector<std::string> Items(int id) const override;
    int CurrentItem(int id) const override;
    void SetCurrentItem(int id, int index) override { m_controls[id].nCurrent = index; }
    std::vector<bool> SelectedItems(int id) const override;
    void SetSelectedItems(int id, const std::vector<bool>& selected) override;
    SRect ControlRect(int id) const override;
    void Place(int id, const SRect& rect) override { m_controls[id].rect = rect; }
    void ShowWarning(const std::string& text, const std::string&) override;
    bool RunDialog(IDialogBehaviour& dialog) override;

    void ReplaceTextUndoably(int id, const std::string& text) override;
    void SetTextKeepingScroll(int id, const std::string& text) override { SetText(id, text); }
    void SetTabStops(int, const std::vector<double>&) override { }
    double DialogUnitsToPixelsX(int units) const override { return units * 1.5; }
    // Every character is 6 pixels wide, a tab 0.
    double TextWidth(int id, std::string_view text) const override;
    void RepaintNow(int) override { }
    void SetLink(int id, const std::string& text, const std::string& url) override;
    void SetCommandText(int command, const std::string& text) override;
    void SetCommandChecked(int command, bool checked) override
    {
        m_checkedCommands[command] = checked;
    }
    void DisableCommand(int command, const std::string& why) override
    {
        m_disabledCommands[command] = why;
    }
    bool HearsClipboardInBackground() const override { return m_bHearsInBackground; }
    INotifier& Notifier() override { return *this; }
    void UseLanguage(const std::string&) override { }
    // The user cancels every file dialog.
    std::string ChooseImportFile(
        const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    std::string ChooseExportFile(
        const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    void ShowWaitCursor(bool waiting) override { m_waitCursor.push_back(waiting); }
    SSize ClientSize() const override { return m_size; }
    void ResizeClient(SSize size) override { m_size = size; }
    void SetMinimumClientSize(SSize) override { }
    SSize AvailableClientSize() const override { return m_available; }
    // Any thread may post, as the transfer worker does; the tasks run on the test's thread.
    void Post(std::function<void()> task) override { m_posted.Push(std::move(task)); }

private:
    const SControl* Find(int id) const;

    // Tasks posted from any thread. A copy of the view copies its controls, not the tasks
    // waiting for the original.
    class CPostQueue {
    public:
        CPostQueue() = default;
        CPostQueue(const CPostQueue&) { }
        CPostQueue& operator=(const CPostQueue&) { return *this; }
        void Push(std::function<void()> task);
        std::vector<std::function<void()>> Take();

    private:
        std::mutex m_mutex;
        std::vector<std::function<void()>> m_tasks;
    };
    void Notify(const std::string& title, const std::string& text) override
    {
        m_notifications.push_back(title + "|" + text);
    }

    CPostQueue m_posted;
};

#pragma once

#include "win32/Win32ControlView.h"
#include "win32/Win32Notifier.h"
#include "window/Desktop.h"
#include "window/MainWindow.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

class CQuotinoApp;
class IClipboard;
class CWin32Clipboard;
class IUserInterface;

// The main window's native face: a modeless dialog made from the main window's template, every
// user action forwarded to CMainWindow, and what it sets drawn.
class CWin32MainWindow : private CWin32Controls<IMainWindowView>, private IDesktop {
public:
    // ui and clipboard default to the system's; tests pass their own. windowClass names the
    // window's own class, by which a later start finds it (empty: the system's dialog class).
    // If the configuration does not load, the window closes as soon as its messages run.
    explicit CWin32MainWindow(CQuotinoApp& app, IUserInterface* ui = nullptr,
        IClipboard* clipboard = nullptr, const std::wstring& windowClass = {});
    ~CWin32MainWindow() override;
    CWin32MainWindow(const CWin32MainWindow&) = delete;
    CWin32MainWindow& operator=(const CWin32MainWindow&) = delete;

    HWND Handle() const { return Window(); }
    CMainWindow& Behaviour() { return *m_pMain; }
    bool IsOpen() const { return Window() != nullptr; }

    // Shows the window and places its frame on the screen's available area.
    void Show();
    // Runs the thread's messages until the window has closed.
    void Run();
    // Runs the messages waiting now; false once the window has closed.
    bool RunPending();
    // Runs task once the window's first paint is done, before the work that waited for it.
    void WhenFirstPainted(std::function<void()> task);

    // A window class like the system's dialog class under another name.
    static bool RegisterWindowClass(const std::wstring& name);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProcedure(
        HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CallEdit(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    void Dispatch(MSG& message);
    void AfterFirstPaint();
    bool FilteredWhileBusy(const MSG& message) const;
    bool IsEscapeForWindow(const MSG& message) const;

    void SetUpControls();
    void SetIcons();
    void TakeTemplateSize(SSize units);
    void OnCommand(int id, int code, HWND control);
    void OnSysCommand(int command);
    void OnContextMenu(POINT point);
    void OnDropFiles(HDROP drop);
    void OnEndSession();
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    bool OnSetCursor(HWND control);
    void OnSize(WPARAM kind);
    void OnTask(LPARAM task);
    void CloseIfAsked(CMainWindow::ECloseBy by);
    void CloseNow();
    void StopPosting();
    void ReleaseMeasureFont();
    void DropPendingTasks();
    void PlaceFrameOnScreen();
    SSize FrameSize() const;
    RECT WorkArea() const;
    void Result(LONG_PTR value);

    // IWindowView, for the texts that wait for the first paint
    void Show(int id, bool shown) override;
    std::string Text(int id) const override;

    // IMainWindowView beyond the controls
    void ReplaceTextUndoably(int id, const std::string& text) override;
    void SetTextKeepingScroll(int id, const std::string& text) override;
    void SetTabStops(int id, const std::vector<double>& stops) override;
    double DialogUnitsToPixelsX(int units) const override;
    double TextWidth(int id, std::string_view text) const override;
    void RepaintNow(int id) override;
    void SetCommandText(int command, const std::string& text) override;
    void SetCommandChecked(int command, bool checked) override;
    void DisableCommand(int command, const std::string& why) override;
    UINT MenuFlags(int command) const;
    void BringToFront();
    void ShowWaitCursor(bool waiting) override;
    SSize ClientSize() const override;
    void ResizeClient(SSize size) override;
    void SetMinimumClientSize(SSize size) override;
    SSize AvailableClientSize() const override;

    // IDesktop
    void Post(std::function<void()> task) override;
    INotifier& Notifier() override { return m_notifier; }
    std::string ChooseImportFile(const std::string& title, const std::string& filterName,
        const std::string& folder) override;
    std::string ChooseExportFile(const std::string& title, const std::string& filterName,
        const std::string& suggestedName) override;
    // The system's dialogs speak the system's language.
    void UseLanguage(const std::string&) override { }
    bool HearsClipboardInBackground() const override { return true; }

    // Closes the window the normal way, after the current message.
    void Close();

    CQuotinoApp& m_app;
    std::unique_ptr<IUserInterface> m_pOwnUi;
    std::unique_ptr<CWin32Clipboard> m_pOwnClipboard;
    IUserInterface* m_pUi;
    IClipboard* m_pClipboard;
    CWin32Notifier m_notifier;
    std::unique_ptr<CMainWindow> m_pMain;
    std::map<int, std::wstring> m_commandTexts; // menu command to its text, shown when not empty
    std::set<int> m_checkedCommands;
    std::set<int> m_disabledCommands;
    SSize m_minSize;
    SSize m_templateSize; // the template's client size in pixels
    int m_nBaseX = 1; // the template font's dialog base units
    HDC m_hMeasureDc = nullptr; // text widths are measured here
    mutable HFONT m_hMeasureFont = nullptr; // selected into m_hMeasureDc while the window lives
    HICON m_hBigIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    std::mutex m_postMutex;
    HWND m_hPostTarget = nullptr; // guarded by m_postMutex: Post runs on any thread
    bool m_bFramePlaced = false;
    bool m_bShown = false;
    bool m_bPaintSettled = false; // the first paint is done, and what waited for it
    std::function<void()> m_fnPainted;
    std::map<int, std::string> m_deferredTexts; // hidden edits' texts, until the first paint
    bool m_bClosing = false;
    // A download leaves the window's thread free, and the system would put the arrow back at
    // the next mouse move: while this is so, the window sets the wait cursor again.
    bool m_bWaitCursor = false;
};

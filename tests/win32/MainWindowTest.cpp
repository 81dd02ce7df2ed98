#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "support/FakeUserInterface.h"
#include "support/FixedTime.h"
#include "support/LoopbackServer.h"
#include "support/ShippedProfile.h"
#include "support/TempDir.h"
#include "win32/Win32ExitSave.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32SingleInstance.h"
#include "win32/Win32Text.h"
#include "window/ControlAnchors.h"
#include "window/ControlIds.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <atomic>
#include <memory>

namespace {

std::string WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Cp1252FromWide(text);
}

// The run's objects around one shown main window with the system's clipboard, empty, over a
// profile in a temporary folder; the user is a preset one unless the system's dialogs are wanted.
struct WindowRun {
    using Profile = std::function<bool(const std::string& path)>;

    explicit WindowRun(const Profile& profile, bool systemUi = false)
    {
        EXPECT_TRUE(profile(Path()));
        EXPECT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
        app = std::make_unique<CQuotinoApp>(Path(), clock);
        app->InitInstance();
        window = std::make_unique<CWin32MainWindow>(*app, systemUi ? nullptr : &ui);
        window->Show();
        window->RunPending();
    }

    std::string Path() const { return dir.file("quotino.ini"); }
    HWND Item(int id) const { return GetDlgItem(window->Handle(), id); }
    std::string Text(int id) const { return WindowText(Item(id)); }
    void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    // Runs the window's messages until done, for at most ten seconds.
    bool RunUntil(const std::function<bool()>& done) const
    {
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (!done() && GetTickCount64() < deadline) {
            window->RunPending();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        return done();
    }

    TempDir dir;
    CFixedClock clock { FixedNow() };
    CFakeUserInterface ui;
    std::unique_ptr<CQuotinoApp> app;
    std::unique_ptr<CWin32MainWindow> window;
};

WindowRun::Profile German()
{
    return [](const std::string& path) { return WriteShippedProfile(path, "Deutsch", {}); };
}

} // namespace

TEST(Win32MainWindow, EscapeStopsDownloadAllAndTheCloseButtonStopsADownloadAndCloses)
{
    LoopbackServer server;
    std::atomic<int> requests = 0;
    server.Server().Get(R"(/(\d))", [&](const httplib::Request&, httplib::Response& response) {
        ++requests;
        server.Stall();
        response.set_content("Karotte\t0,45\n", "text/plain");
    });
    server.Start();
    WindowRun run(
        [&](const std::string& path) {
            return WriteServersProfile(
                path, { { "Server A", server.Url("/1") }, { "Server B", server.Url("/2") } });
        },
        true);

    run.Click(IDC_DOWNLOAD_ALL);
    ASSERT_TRUE(run.RunUntil([&] { return requests > 0; }));
    EXPECT_TRUE(run.window->Behaviour().IsBusy());
    // Input other than Escape waits while the download runs.
    PostMessageW(run.Item(IDC_INPUT), WM_CHAR, L'x', 0);
    PostMessageW(run.Item(IDC_INPUT), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(run.RunUntil([&] { return !run.window->Behaviour().IsBusy(); }));
    EXPECT_TRUE(run.window->IsOpen());
    EXPECT_EQ(run.Text(IDC_INPUT), "");

    // The worker leaves the window's thread free: the window keeps the wait cursor itself.
    run.Click(IDC_DOWNLOAD);
    SendMessageW(run.window->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(run.Item(IDC_INPUT)),
        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    for (const UINT message : { WM_LBUTTONDOWN, WM_LBUTTONUP })
        PostMessageW(run.Item(IDC_CLOSE), message, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(run.RunUntil([&] { return !run.window->IsOpen(); }));
}

TEST(Win32MainWindow, CloseStoresTheEnlargedSizeAndTheExitSaveWritesIt)
{
    WindowRun run(German());
    RECT frame = {};
    GetWindowRect(run.window->Handle(), &frame);
    SetWindowPos(run.window->Handle(), nullptr, 0, 0, frame.right - frame.left + 60,
        frame.bottom - frame.top + 40, SWP_NOMOVE | SWP_NOZORDER);
    RECT client = {};
    GetClientRect(run.window->Handle(), &client);
    SendMessageW(run.window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(run.window->IsOpen());

    EXPECT_TRUE(CWin32ExitSave(*run.app).Run());
    CIniFile saved;
    ASSERT_TRUE(saved.Load(run.Path()));
    EXPECT_EQ(saved.GetString("Settings", "WinSize", ""),
        CControlAnchors::FormatSize({ client.right, client.bottom }));
}

// The hidden pane's lines wait for the first paint; a pane shown before it has them at once.
TEST(Win32MainWindow, PaneShownBeforeTheFirstPaintHasItsLines)
{
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    ASSERT_TRUE(WriteShippedProfile(path, "Deutsch", {}));
    CFixedClock clock { FixedNow() };
    CQuotinoApp app(path, clock);
    app.InitInstance();
    CFakeUserInterface ui;
    CPresetClipboard clipboard;
    CWin32MainWindow window(app, &ui, &clipboard);
    HWND pane = GetDlgItem(window.Handle(), IDC_PRICE_LIST);
    ASSERT_FALSE(GetWindowLongW(pane, GWL_STYLE) & WS_VISIBLE);
    window.Behaviour().OnCommand(IDC_TOGGLE_PANE);
    EXPECT_NE(WindowText(pane).find("\r\nKarotte\t"), std::string::npos);
}

TEST(Win32MainWindow, SecondStartOnTheProfileFindsTheFirstWindow)
{
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    ASSERT_TRUE(WriteShippedProfile(path, "Deutsch", {}));
    CWin32SingleInstance first(path);
    ASSERT_TRUE(first.IsFirst());
    ASSERT_TRUE(CWin32MainWindow::RegisterWindowClass(first.WindowClass()));
    CFixedClock clock { FixedNow() };
    CQuotinoApp app(path, clock);
    app.InitInstance();
    CFakeUserInterface ui;
    CPresetClipboard clipboard;
    CWin32MainWindow window(app, &ui, &clipboard, first.WindowClass());
    window.Show();

    const CWin32SingleInstance second(path);
    EXPECT_FALSE(second.IsFirst());
    EXPECT_EQ(second.HandOver(), 0);
    EXPECT_EQ(GetForegroundWindow(), window.Handle());
}

static std::wstring g_importFolder;

// Reads the folder the import's file dialog shows, then cancels it.
static void CALLBACK CancelImportDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = GetActiveWindow();
    wchar_t folder[MAX_PATH] = {};
    if (!dialog
        || SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) <= 0)
        return;
    KillTimer(nullptr, timer);
    g_importFolder = folder;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(Win32MainWindow, TheImportDialogFirstOpensInTheDocuments)
{
    WindowRun run(German());
    PWSTR documents = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents)));
    const std::wstring expected = documents;
    CoTaskMemFree(documents);
    SetTimer(nullptr, 0, 50, CancelImportDialog);
    SendMessageW(run.window->Handle(), WM_SYSCOMMAND, IDM_IMPORT, 0);
    EXPECT_EQ(g_importFolder, expected);
}

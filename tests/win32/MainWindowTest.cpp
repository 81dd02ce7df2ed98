#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "support/FakeUserInterface.h"
#include "support/FixedTime.h"
#include "support/LoopbackServer.h"
#include "support/ShippedProfile.h"
#include "support/TempDir.h"
#include "win32/Win32ExitSave.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32PriceEditor.h"
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

const std::string kExampleReport
    = "\tArtikel\tHerkunft\tMarkt\tPIrk\tPunkte"
      "\r\n3\tKarotte\t0,06=0,18\t0,10=0,30\t0,05=0,15\t1"
      "\r\n2\tgelbe Teichrose\t13,80=27,60\t12,00=24,00\t11,42=22,83\t1"
      "\r\n\r\nSumme: 25,00 wT\t2 Punkte"
      "\r\n\r\n90,0% vom Bauernhofpreis (27,78 wT)"
      "\r\n102,9% vom Marktpreis (24,30 wT)"
      "\r\n114,3% vom Marktpreis minus 10% Geb\xFChr (21,87 wT)";

std::string WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Cp1252FromWide(text);
}

// Text as another program copies it; empty text leaves the clipboard empty.
void PutOnClipboard(const std::string& cp1252)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::wstring wide = WideFromCp1252(cp1252);
    if (!wide.empty()) {
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
        memcpy(GlobalLock(data), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
    }
    CloseClipboard();
}

// The run's objects around one shown main window with the system's clipboard, over a profile
// in a temporary folder; the user is a preset one unless the system's dialogs are wanted.
struct WindowRun {
    using Profile = std::function<bool(const std::string& path)>;

    explicit WindowRun(
        const Profile& profile, const std::string& clipboard = {}, bool systemUi = false)
    {
        EXPECT_TRUE(profile(Path()));
        PutOnClipboard(clipboard);
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

// Answers the language question of the system's dialog with English once it shows.
void CALLBACK ChooseEnglish(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = GetActiveWindow();
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    if (!list)
        return;
    KillTimer(nullptr, timer);
    const LRESULT english = SendMessageW(
        list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"English"));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(english), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, LBN_SELCHANGE),
        reinterpret_cast<LPARAM>(list));
    SendMessageW(GetDlgItem(dialog, IDC_OK), BM_CLICK, 0, 0);
}

} // namespace

TEST(Win32MainWindow, WorkedExampleFromTheClipboardGivesTheReportByteForByte)
{
    WindowRun run(German(), kExampleList);
    EXPECT_EQ(run.Text(IDC_INPUT),
        "Einkaufsliste\r\n3 x Karotte\r\n2 x gelbe Teichrose\r\nSumme: 25,00 wT\r\n"
        "Produkte jetzt verkaufen?");
    EXPECT_EQ(run.Text(IDC_REPORT), kExampleReport);
    EXPECT_EQ(WindowText(run.window->Handle()), "Pirk Prozent");
    EXPECT_EQ(run.Text(IDC_CLOSE),
        "Schlie\xDF"
        "en");
    EXPECT_GE(SendMessageW(run.Item(IDC_SERVERS), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(run.Text(IDC_SERVERS), "Server 1");
}

TEST(Win32MainWindow, LanguageDialogRelabelsTheWindowAndItsMenu)
{
    WindowRun run(German(), kExampleList, true);
    SetTimer(nullptr, 0, 20, ChooseEnglish);
    SendMessageW(run.window->Handle(), WM_SYSCOMMAND, IDM_LANGUAGE, 0);

    EXPECT_EQ(WindowText(run.window->Handle()), "Pirk Percent Calculator");
    EXPECT_EQ(run.Text(IDC_CALCULATE), "Calculate");
    EXPECT_EQ(run.Text(IDC_DOWNLOAD_ALL), "Download all");
    wchar_t about[64] = {};
    GetMenuStringW(GetSystemMenu(run.window->Handle(), FALSE), IDM_ABOUT, about, 64, MF_BYCOMMAND);
    EXPECT_EQ(Cp1252FromWide(about), "Ab&out Quotino...");
    EXPECT_EQ(run.app->Profile().GetString("Settings", "Lang", ""), "English");
}

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
        {}, true);

    run.Click(IDC_DOWNLOAD_ALL);
    ASSERT_TRUE(run.RunUntil([&] { return requests > 0; }));
    EXPECT_TRUE(run.window->Behaviour().IsBusy());
    // Input other than Escape waits while the download runs.
    PostMessageW(run.Item(IDC_INPUT), WM_CHAR, L'x', 0);
    PostMessageW(run.Item(IDC_INPUT), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(run.RunUntil([&] { return !run.window->Behaviour().IsBusy(); }));
    EXPECT_TRUE(run.window->IsOpen());
    EXPECT_EQ(run.Text(IDC_INPUT), "");
    for (const char* name : { "Server A", "Server B" })
        EXPECT_EQ(run.app->Servers().GetServerValue(name, "Aktualisiert", ""), kOldStamp);

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

TEST(Win32MainWindow, DoubleClickedPriceIsEditedInPlaceAndRecalculates)
{
    WindowRun run(German(), kExampleList);
    run.Click(IDC_LOCKED);
    if (!IsWindowVisible(run.Item(IDC_PRICE_LIST)))
        run.Click(IDC_TOGGLE_PANE);
    HWND pane = run.Item(IDC_PRICE_LIST);
    const size_t line = run.Text(IDC_PRICE_LIST).find("\nKarotte\t");
    ASSERT_NE(line, std::string::npos);
    const LRESULT at = SendMessageW(pane, EM_POSFROMCHAR, line + 1, 0);
    SendMessageW(pane, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(LOWORD(at) + 2, HIWORD(at) + 2));

    HWND editor = GetDlgItem(pane, CWin32PriceEditor::kControlId);
    ASSERT_TRUE(editor);
    EXPECT_EQ(WindowText(editor), "0,10");
    EXPECT_EQ(SendMessageW(editor, EM_GETSEL, 0, 0), MAKELRESULT(4, 4));
    SetWindowTextW(editor, L" 0,20 ");
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_NE(
        run.Text(IDC_REPORT).find("\r\n3\tKarotte\t0,06=0,18\t0,20=0,60\t"), std::string::npos);

    // The header line names no plant.
    const LRESULT header = SendMessageW(pane, EM_POSFROMCHAR, 0, 0);
    SendMessageW(
        pane, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(LOWORD(header) + 30, HIWORD(header) + 2));
    EXPECT_FALSE(GetDlgItem(pane, CWin32PriceEditor::kControlId));
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

// A plain static lets the mouse through to the window, and its tooltip never shows.
TEST(Win32MainWindow, TheDateLabelIsHitByTheMouseForItsTooltip)
{
    WindowRun run(German());
    RECT rect = {};
    GetWindowRect(run.Item(IDC_DATE), &rect);
    EXPECT_EQ(
        SendMessageW(run.Item(IDC_DATE), WM_NCHITTEST, 0, MAKELPARAM(rect.left + 2, rect.top + 2)),
        HTCLIENT);
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

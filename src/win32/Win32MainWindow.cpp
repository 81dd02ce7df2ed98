#include "win32/Win32MainWindow.h"

#include "app/QuotinoApp.h"
#include "calc/ListReader.h"
#include "win32/Win32Clipboard.h"
#include "win32/Win32DialogTemplate.h"
#include "win32/Win32LateLibrary.h"
#include "win32/Win32PriceEditor.h"
#include "win32/Win32SingleInstance.h"
#include "win32/Win32Text.h"
#include "window/ControlIds.h"
#include "window/DialogUnits.h"
#include "window/WindowUserInterface.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {

// A task for the window's thread; its lParam owns a heap-allocated std::function.
constexpr UINT kTaskMessage = WM_APP + 1;
constexpr UINT kCloseMessage = WM_APP + 2;
constexpr UINT kNotifyIconMessage = WM_APP + 3;
// The menu commands in the order the menus show them.
constexpr int kMenuCommands[] = { IDM_ABOUT, IDM_LANGUAGE, IDM_IMPORT, IDM_PASTE_PRICES,
    IDM_EXPORT_PRICES, IDM_WATCH_CLIPBOARD };
// The keys of the commands that have one, shown beside their menu entries as the other face's
// menu shows them: F1 (the help key) opens About, the input's Ctrl+Shift+V pastes a price list.
const wchar_t* CommandKey(int command)
{
    return command == IDM_ABOUT ? L"\tF1" : command == IDM_PASTE_PRICES ? L"\tCtrl+Shift+V" : L"";
}
// The buttons and check boxes whose click is the behaviour's command of the same id.
constexpr int kCommandButtons[] = { IDC_DOWNLOAD, IDC_DOWNLOAD_ALL, IDC_LOAD_SERVER_LIST,
    IDC_TOGGLE_PANE, IDC_SELECT_SERVERS, IDC_DETAILS, IDC_MAX_FARM };

bool IsMenuCommand(int command)
{
    return std::find(std::begin(kMenuCommands), std::end(kMenuCommands), command)
        != std::end(kMenuCommands);
}

bool IsCommandButton(int id)
{
    return std::find(std::begin(kCommandButtons), std::end(kCommandButtons), id)
        != std::end(kCommandButtons);
}

bool IsKeyboardInput(UINT message)
{
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool IsEscape(const MSG& message)
{
    return (message.message == WM_KEYDOWN || message.message == WM_KEYUP)
        ? message.wParam == VK_ESCAPE
        : message.message == WM_CHAR && message.wParam == 0x1B;
}

// Ctrl+Shift+V, and the character the edit would make of it (Ctrl+V's, which pastes).
bool IsPastePricesKey(UINT message, WPARAM key)
{
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) >= 0)
        return false;
    return (message == WM_KEYDOWN && key == 'V') || (message == WM_CHAR && key == 0x16);
}

bool IsMouseClick(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE;
}

// Where a player keeps files; the file dialog would otherwise open in the current folder,
// which is the program's own when it was started from the Start menu.
std::wstring DocumentsFolder()
{
    static const auto known
        = LateFunction<decltype(&SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    static const auto release
        = LateFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (!known || !release)
        return {};
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(known(FOLDERID_Documents, 0, nullptr, &path)))
        folder = path;
    release(path);
    return folder;
}

// The common file dialog, loaded on first use: imported, the common dialogs would pull the
// shell into every start. Empty when the user cancels.
std::string ChooseFile(bool save, HWND owner, const std::string& title, const std::wstring& filter,
    const std::wstring& folder, const std::string& suggestedName, DWORD flags)
{
    static const auto open
        = LateFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    static const auto saveAs
        = LateFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    const std::wstring wideTitle = WideFromCp1252(title);
    std::wstring path = WideFromUtf8(suggestedName);
    path.resize(32768, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.lpstrDefExt = save ? L"tsv" : nullptr;
    dialog.Flags = flags | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const auto run = save ? saveAs : open;
    if (!run || !run(&dialog))
        return {};
    path.resize(wcslen(path.c_str()));
    return Utf8FromWide(path);
}

} // namespace

CWin32MainWindow::CWin32MainWindow(
    CQuotinoApp& app, IUserInterface* ui, IClipboard* clipboard, const std::wstring& windowClass)
    : m_app(app)
    , m_pOwnUi(ui ? nullptr
                  : std::make_unique<CWindowUserInterface>(
                      app.Texts(), static_cast<IMainWindowView&>(*this)))
    , m_pOwnClipboard(clipboard ? nullptr : std::make_unique<CWin32Clipboard>())
    , m_pUi(ui ? ui : m_pOwnUi.get())
    , m_pClipboard(clipboard ? clipboard : m_pOwnClipboard.get())
    , m_notifier([this] { return Window(); }, kNotifyIconMessage, [this] { BringToFront(); })
{
    // The list the window pastes at start comes from another program: it is fetched while
    // the window is being made.
    if (m_pOwnClipboard)
        m_pOwnClipboard->FetchAhead(kMaxListBytes);
    const CDialogTemplate layout = CDialogTemplate::Load(IDD_MAIN);
    const CWin32DialogTemplate dialogTemplate(layout, windowClass);
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), nullptr, Procedure,
        reinterpret_cast<LPARAM>(this));
    if (!Window())
        throw std::runtime_error("The main window could not be made");
    m_hPostTarget = Window();
    DeferToolTips();
    SetUpControls();
    TakeTemplateSize(layout.m_size);
    m_pMain = std::make_unique<CMainWindow>(app, static_cast<IMainWindowView&>(*this),
        static_cast<IDesktop&>(*this), *m_pUi, *m_pClipboard);
    if (!m_pMain->OnInit())
        Close();
}

CWin32MainWindow::~CWin32MainWindow()
{
    if (HWND window = Window()) {
        // Nothing reaches the behaviour while the window goes.
        StopPosting();
        ReleaseMeasureFont();
        SetWindowLongPtrW(window, DWLP_USER, 0);
        DestroyWindow(window);
        Attach(nullptr);
    }
    m_pMain.reset();
    if (m_hMeasureDc)
        DeleteDC(m_hMeasureDc);
    for (HICON icon : { m_hBigIcon, m_hSmallIcon }) {
        if (icon)
            DestroyIcon(icon);
    }
}

bool CWin32MainWindow::RegisterWindowClass(const std::wstring& name)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(nullptr, MAKEINTRESOURCEW(0x8002), &windowClass))
        return false;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name.c_str();
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void CWin32MainWindow::SetUpControls()
{
    HWND window = Window();
    // The window's background is never drawn over its controls.
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_CLIPCHILDREN);
    RECT units = { 0, 0, 4, 8 };
    MapDialogRect(window, &units);
    m_nBaseX = std::max(1, static_cast<int>(units.right));
    MarkLinks();
    SetIcons();
    // The common controls' subclassing would look its chain up in a window property, a round
    // trip to the window system at every message the edit gets; the edit's own procedure is
    // kept in its user data instead.
    for (const int id : { IDC_INPUT, IDC_PRICE_LIST }) {
        HWND control = Control(id);
        SetWindowLongPtrW(control, GWLP_USERDATA,
            SetWindowLongPtrW(
                control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProcedure)));
    }
    m_hMeasureDc = CreateCompatibleDC(nullptr);
    // Clipboard changes reach the window also while another program has the focus.
    AddClipboardFormatListener(window);
}

// The system keeps a window within the screen as it is made, but the controls stand where the
// template put them: the window takes the template's size, also where the screen is smaller,
// so that the behaviour learns where the controls were laid out and then fits the window.
void CWin32MainWindow::TakeTemplateSize(SSize units)
{
    RECT rect = { 0, 0, units.width, units.height };
    MapDialogRect(Window(), &rect);
    m_templateSize = { rect.right, rect.bottom };
    if (ClientSize() != m_templateSize)
        ResizeClient(m_templateSize);
}

// A click on the verdict's balloon, or a later start on the same profile. Where the system
// refuses the foreground, the task bar button flashes instead.
void CWin32MainWindow::BringToFront()
{
    if (IsIconic(Window()))
        ShowWindow(Window(), SW_RESTORE);
    HWND shown = GetLastActivePopup(Window());
    if (SetForegroundWindow(shown) && GetForegroundWindow() == shown)
        return;
    FLASHWINFO flash = { sizeof(flash), Window(), FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0 };
    FlashWindowEx(&flash);
}

void CWin32MainWindow::SetIcons()
{
    const auto load = [](int size) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
            MAKEINTRESOURCEW(CWin32DialogTemplate::kProgramIcon), IMAGE_ICON, size, size, 0));
    };
    m_hBigIcon = load(GetSystemMetrics(SM_CXICON));
    m_hSmallIcon = load(GetSystemMetrics(SM_CXSMICON));
    SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hBigIcon));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
}

void CWin32MainWindow::Show()
{
    if (!IsOpen())
        return;
    ShowWindow(Window(), SW_SHOW);
    m_bShown = true;
    SetForegroundWindow(Window());
    PlaceFrameOnScreen();
}

void CWin32MainWindow::Run()
{
    Show();
    MSG message;
    while (IsOpen()) {
        if (!m_bPaintSettled && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
            AfterFirstPaint();
        if (!IsOpen() || GetMessageW(&message, nullptr, 0, 0) <= 0)
            break;
        Dispatch(message);
    }
}

bool CWin32MainWindow::RunPending()
{
    MSG message;
    while (IsOpen()) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            AfterFirstPaint();
            break;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        Dispatch(message);
    }
    return IsOpen();
}

void CWin32MainWindow::WhenFirstPainted(std::function<void()> task)
{
    m_fnPainted = std::move(task);
}

// Called when the queue is empty: once the window was shown, its first paint is done then, as
// the system makes the paint messages only when nothing else waits.
void CWin32MainWindow::AfterFirstPaint()
{
    if (!m_bShown || m_bPaintSettled)
        return;
    m_bPaintSettled = true;
    if (m_fnPainted)
        std::exchange(m_fnPainted, nullptr)();
    AddDeferredToolTips();
    for (const auto& [id, text] : std::exchange(m_deferredTexts, {}))
        SetTextKeepingScroll(id, text);
}

void CWin32MainWindow::Show(int id, bool shown)
{
    CWin32Controls::Show(id, shown);
    const auto deferred = m_deferredTexts.find(id);
    if (shown && deferred != m_deferredTexts.end()) {
        const std::string text = std::move(deferred->second);
        SetTextKeepingScroll(id, text);
    }
}

std::string CWin32MainWindow::Text(int id) const
{
    const auto deferred = m_deferredTexts.find(id);
    return deferred != m_deferredTexts.end() ? deferred->second : CWin32Controls::Text(id);
}

void CWin32MainWindow::Dispatch(MSG& message)
{
    if (FilteredWhileBusy(message))
        return;
    if (IsEscapeForWindow(message)) {
        CloseIfAsked(CMainWindow::ECloseBy::EscapeKey);
        return;
    }
    if (IsOpen() && IsDialogMessageW(Window(), &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// While a command runs, Escape, the Close button and the window's frame reach the window:
// Escape stops the command, the others stop it and close. Other input waits until it ended.
bool CWin32MainWindow::FilteredWhileBusy(const MSG& message) const
{
    if (!m_pMain || !m_pMain->IsBusy() || !IsOpen())
        return false;
    if (message.hwnd != Window() && !IsChild(Window(), message.hwnd))
        return false;
    if (IsKeyboardInput(message.message))
        return !IsEscape(message);
    const bool click = message.message >= WM_LBUTTONDOWN && message.message <= WM_LBUTTONDBLCLK;
    if (click && CMainWindow::TakesClicksWhileBusy(GetDlgCtrlID(message.hwnd)))
        return false;
    return IsMouseClick(message.message);
}

// The system would make Escape the Close button's command, or, in the input, the frame's close:
// the window takes it first. The price editor and an open drop-down list close themselves.
bool CWin32MainWindow::IsEscapeForWindow(const MSG& message) const
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE || !IsOpen())
        return false;
    if (message.hwnd != Window() && !IsChild(Window(), message.hwnd))
        return false;
    return GetDlgCtrlID(message.hwnd) != CWin32PriceEditor::kControlId
        && !SendMessageW(Control(IDC_SERVERS), CB_GETDROPPEDSTATE, 0, 0);
}

INT_PTR CALLBACK CWin32MainWindow::Procedure(
    HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CWin32MainWindow*>(lParam)->Attach(window);
        return TRUE;
    }
    auto* self = reinterpret_cast<CWin32MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR CWin32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_SYSCOMMAND:
        if (!IsMenuCommand(static_cast<int>(wParam & 0xFFF0)))
            return FALSE;
        OnSysCommand(static_cast<int>(wParam & 0xFFF0));
        return TRUE;
    case WM_HELP:
        // F1, as in the other face, where no system menu carries About.
        OnSysCommand(IDM_ABOUT);
        return TRUE;
    case WM_CONTEXTMENU:
        OnContextMenu({ GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) });
        return TRUE;
    case WM_CLOSE:
    case kCloseMessage:
        CloseIfAsked(CMainWindow::ECloseBy::WindowFrame);
        return TRUE;
    case kTaskMessage:
        OnTask(lParam);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && m_pMain && m_pMain->IsInitialised())
            m_pMain->OnActivate();
        return FALSE;
    case WM_SIZE:
        OnSize(wParam);
        return FALSE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_QUERYENDSESSION:
        Result(TRUE);
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            OnEndSession();
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return LinkColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        if (!OnSetCursor(reinterpret_cast<HWND>(wParam)))
            return FALSE;
        Result(TRUE);
        return TRUE;
    case WM_CLIPBOARDUPDATE:
        if (m_pMain)
            m_pMain->OnClipboardChanged(GetForegroundWindow() == Window());
        return TRUE;
    case kNotifyIconMessage:
        m_notifier.OnMessage(lParam);
        return TRUE;
    case WM_DESTROY:
        RemoveClipboardFormatListener(Window());
        DropPendingTasks();
        return FALSE;
    default:
        if (message != CWin32SingleInstance::BringToFrontMessage())
            return FALSE;
        BringToFront();
        return TRUE;
    }
}

void CWin32MainWindow::Result(LONG_PTR value)
{
    SetWindowLongPtrW(Window(), DWLP_MSGRESULT, value);
}

void CWin32MainWindow::OnCommand(int id, int code, HWND control)
{
    if (!m_pMain)
        return;
    // Return and Escape come without a control.
    if (!control || id == IDC_CALCULATE || id == IDC_CLOSE) {
        if (code != BN_CLICKED && control)
            return;
        if (id == IDOK)
            m_pMain->OnCommand(IDC_CALCULATE);
        else if (id == IDCANCEL)
            CloseIfAsked(CMainWindow::ECloseBy::CloseButton);
        return;
    }
    if (code == STN_CLICKED && OpenLink(id))
        return;
    if (code == BN_CLICKED && IsCommandButton(id))
        m_pMain->OnCommand(id);
    else if (id == IDC_SERVERS && code == CBN_SELCHANGE)
        m_pMain->OnCommand(IDC_SERVERS);
}

void CWin32MainWindow::OnSysCommand(int command)
{
    const auto text = m_commandTexts.find(command);
    if (m_pMain && !m_pMain->IsBusy() && text != m_commandTexts.end() && !text->second.empty())
        m_pMain->OnCommand(command);
}

void CWin32MainWindow::OnContextMenu(POINT point)
{
    if (!m_pMain || m_pMain->IsBusy())
        return;
    HMENU menu = CreatePopupMenu();
    for (const int command : kMenuCommands) {
        const auto text = m_commandTexts.find(command);
        if (text != m_commandTexts.end() && !text->second.empty())
            AppendMenuW(
                menu, MenuFlags(command), static_cast<UINT_PTR>(command), text->second.c_str());
    }
    // From the keyboard the menu opens at the window's corner.
    if (point.x == -1 && point.y == -1) {
        point = { 0, 0 };
        ClientToScreen(Window(), &point);
    }
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x,
        point.y, 0, Window(), nullptr);
    DestroyMenu(menu);
    if (chosen != 0)
        m_pMain->OnCommand(chosen);
}

void CWin32MainWindow::OnDropFiles(HDROP drop)
{
    // A drop comes from the shell, which is loaded by then.
    static const auto query
        = LateFunction<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    static const auto finish = LateFunction<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
    if (!query || !finish)
        return;
    std::wstring path;
    if (query(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        path.resize(query(drop, 0, nullptr, 0) + 1);
        path.resize(query(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    finish(drop);
    if (!path.empty() && m_pMain && !m_pMain->IsBusy())
        m_pMain->OnImport(Utf8FromWide(path));
}

// The session ends with this message: the process will not see another one.
void CWin32MainWindow::OnEndSession()
{
    if (!m_pMain || m_bClosing)
        return;
    m_bClosing = true;
    m_pMain->OnSessionEnd();
}

void CWin32MainWindow::OnGetMinMaxInfo(MINMAXINFO& info) const
{
    const SSize frame = FrameSize();
    info.ptMinTrackSize.x = m_minSize.width + frame.width;
    info.ptMinTrackSize.y = m_minSize.height + frame.height;
    info.ptMaxTrackSize.x
        = std::max<LONG>(info.ptMaxTrackSize.x, m_templateSize.width + frame.width);
    info.ptMaxTrackSize.y
        = std::max<LONG>(info.ptMaxTrackSize.y, m_templateSize.height + frame.height);
}

// Also over the controls: their default handling asks the window first.
bool CWin32MainWindow::OnSetCursor(HWND control)
{
    if (m_bWaitCursor) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    return SetLinkCursor(control);
}

// The moved controls and the window draw again, each over its own place only (the window
// clips its controls), so that no label or button is left half drawn.
void CWin32MainWindow::OnSize(WPARAM kind)
{
    if (kind == SIZE_MINIMIZED || !m_pMain)
        return;
    m_pMain->OnResize(ClientSize());
    RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CWin32MainWindow::OnTask(LPARAM task)
{
    std::unique_ptr<std::function<void()>> owned(reinterpret_cast<std::function<void()>*>(task));
    if (owned && *owned)
        (*owned)();
}

void CWin32MainWindow::DropPendingTasks()
{
    MSG message;
    while (PeekMessageW(&message, Window(), kTaskMessage, kTaskMessage, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(message.lParam);
}

void CWin32MainWindow::CloseIfAsked(CMainWindow::ECloseBy by)
{
    if (!m_bClosing && m_pMain && m_pMain->OnCloseRequest(by))
        CloseNow();
}

void CWin32MainWindow::CloseNow()
{
    if (m_bClosing || !IsOpen())
        return;
    m_bClosing = true;
    HWND window = Window();
    StopPosting();
    ReleaseMeasureFont();
    SetWindowLongPtrW(window, DWLP_USER, 0);
    DestroyWindow(window);
    Attach(nullptr);
}

// The window's fonts go with it, and a font still selected into a device context is not freed.
void CWin32MainWindow::ReleaseMeasureFont()
{
    if (m_hMeasureDc && m_hMeasureFont)
        SelectObject(m_hMeasureDc, GetStockObject(DEFAULT_GUI_FONT));
    m_hMeasureFont = nullptr;
}

// After this no task reaches the window's queue, so the tasks dropped with the window are all.
void CWin32MainWindow::StopPosting()
{
    const std::lock_guard<std::mutex> lock(m_postMutex);
    m_hPostTarget = nullptr;
}

void CWin32MainWindow::PlaceFrameOnScreen()
{
    if (m_bFramePlaced || !m_pMain || !m_pMain->IsInitialised())
        return;
    m_bFramePlaced = true;
    RECT frame = {};
    GetWindowRect(Window(), &frame);
    const RECT work = WorkArea();
    const SPoint place = m_pMain->OnFramed(
        { frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top },
        { work.left, work.top, work.right - work.left, work.bottom - work.top });
    // A move to where the window already stands would still go through the window system.
    if (place.x != frame.left || place.y != frame.top)
        SetWindowPos(
            Window(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SSize CWin32MainWindow::FrameSize() const
{
    RECT rect = {};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(Window(), GWL_STYLE)), FALSE,
        static_cast<DWORD>(GetWindowLongW(Window(), GWL_EXSTYLE)));
    return { rect.right - rect.left, rect.bottom - rect.top };
}

RECT CWin32MainWindow::WorkArea() const
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(Window(), MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// The window's object is gone from its window once the window goes: the edit then only does
// what it does by itself.
LRESULT CALLBACK CWin32MainWindow::ControlProcedure(
    HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self
        = reinterpret_cast<CWin32MainWindow*>(GetWindowLongPtrW(GetParent(control), DWLP_USER));
    if (self && self->HandleControl(control, message, wParam, lParam))
        return 0;
    return CallEdit(control, message, wParam, lParam);
}

LRESULT CWin32MainWindow::CallEdit(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto edit = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA));
    return CallWindowProcW(edit, control, message, wParam, lParam);
}

// The input's paste takes the clipboard's list as a whole; a double click on the pane edits
// the price under it.
bool CWin32MainWindow::HandleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_pMain || !m_pMain->IsInitialised())
        return false;
    const int id = GetDlgCtrlID(control);
    if (id == IDC_INPUT && IsPastePricesKey(message, wParam)) {
        if (message == WM_KEYDOWN && !m_pMain->IsBusy())
            m_pMain->OnCommand(IDM_PASTE_PRICES);
        return true;
    }
    if (id == IDC_INPUT && message == WM_PASTE) {
        m_pMain->OnPaste();
        return true;
    }
    if (id == IDC_PRICE_LIST && message == WM_LBUTTONDBLCLK) {
        CallEdit(control, message, wParam, lParam);
        CWin32PriceEditor::Open(
            control, { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) },
            [this](const std::string& name) { return m_pMain->OpensPriceEditor(name); },
            CMainWindow::kPriceEditorSelectsAll,
            [this](const std::string& name, const std::string& text) {
                m_pMain->OnPriceEdited(name, text);
            });
        return true;
    }
    return false;
}

void CWin32MainWindow::ReplaceTextUndoably(int id, const std::string& text)
{
    HWND edit = Control(id);
    if (!edit)
        return;
    const std::wstring wide = WithCrLf(WideFromCp1252(text));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void CWin32MainWindow::SetTextKeepingScroll(int id, const std::string& text)
{
    HWND edit = Control(id);
    if (!edit)
        return;
    // A hidden pane's lines wait until the first paint is done, or until the pane shows.
    if (!m_bPaintSettled && !(GetWindowLongW(edit, GWL_STYLE) & WS_VISIBLE)) {
        m_deferredTexts[id] = text;
        return;
    }
    m_deferredTexts.erase(id);
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    SetWindowTextW(edit, WithCrLf(WideFromCp1252(text)).c_str());
    SendMessageW(edit, EM_LINESCROLL, 0, firstLine);
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit, nullptr, TRUE);
}

// The edit takes its stops in dialog units; the behaviour measures in pixels.
void CWin32MainWindow::SetTabStops(int id, const std::vector<double>& stops)
{
    HWND edit = Control(id);
    if (!edit)
        return;
    std::vector<int> units;
    for (const double stop : stops)
        units.push_back(static_cast<int>(std::ceil(stop * 4 / m_nBaseX - 0.01)));
    SendMessageW(edit, EM_SETTABSTOPS, units.size(), reinterpret_cast<LPARAM>(units.data()));
    InvalidateRect(edit, nullptr, TRUE);
}

double CWin32MainWindow::DialogUnitsToPixelsX(int units) const
{
    return CDialogUnits(m_nBaseX, 8).ToPixelsX(units);
}

double CWin32MainWindow::TextWidth(int id, std::string_view text) const
{
    HWND control = Control(id);
    if (!control || !m_hMeasureDc || text.empty())
        return 0;
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    // A calculation measures every cell of the report and the pane, in one or two fonts:
    // selecting the font would cost more than measuring.
    if (font != m_hMeasureFont) {
        SelectObject(m_hMeasureDc, font);
        m_hMeasureFont = font;
    }
    const std::wstring wide = WideFromCp1252(text);
    SIZE size = {};
    GetTextExtentPoint32W(m_hMeasureDc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

void CWin32MainWindow::RepaintNow(int id)
{
    if (HWND control = Control(id))
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The commands stand in the system menu, after the system's own, and in the context menu.
void CWin32MainWindow::SetCommandText(int command, const std::string& text)
{
    m_commandTexts[command] = WideFromCp1252(text);
    if (!text.empty())
        m_commandTexts[command] += CommandKey(command);
    GetSystemMenu(Window(), TRUE);
    HMENU menu = GetSystemMenu(Window(), FALSE);
    bool separated = false;
    for (const int each : kMenuCommands) {
        const auto shown = m_commandTexts.find(each);
        if (shown == m_commandTexts.end() || shown->second.empty())
            continue;
        if (!separated)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        separated = true;
        AppendMenuW(menu, MenuFlags(each), static_cast<UINT_PTR>(each), shown->second.c_str());
    }
}

UINT CWin32MainWindow::MenuFlags(int command) const
{
    return MF_STRING | (m_checkedCommands.count(command) ? MF_CHECKED : 0)
        | (m_disabledCommands.count(command) ? MF_GRAYED : 0);
}

void CWin32MainWindow::SetCommandChecked(int command, bool checked)
{
    if (checked)
        m_checkedCommands.insert(command);
    else
        m_checkedCommands.erase(command);
    CheckMenuItem(GetSystemMenu(Window(), FALSE), static_cast<UINT>(command),
        MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// Menus have no tooltips here; the command is greyed, and a background program always hears
// the clipboard on this system, so it does not happen.
void CWin32MainWindow::DisableCommand(int command, const std::string&)
{
    m_disabledCommands.insert(command);
    EnableMenuItem(
        GetSystemMenu(Window(), FALSE), static_cast<UINT>(command), MF_BYCOMMAND | MF_GRAYED);
}

std::string CWin32MainWindow::ChooseImportFile(
    const std::string& title, const std::string& filterName, const std::string& folder)
{
    const std::wstring patterns = L"*.txt;*.tsv;*.csv";
    std::wstring filter = WideFromCp1252(filterName) + L" (" + patterns + L")";
    filter += L'\0' + patterns + L'\0' + L"*.*" + L'\0' + L"*.*" + L'\0';
    const std::wstring start = folder.empty() ? DocumentsFolder() : WideFromUtf8(folder);
    return ChooseFile(false, Window(), title, filter, start, {}, OFN_FILEMUSTEXIST);
}

std::string CWin32MainWindow::ChooseExportFile(
    const std::string& title, const std::string& filterName, const std::string& suggestedName)
{
    const std::wstring patterns = L"*.tsv;*.txt";
    std::wstring filter = WideFromCp1252(filterName) + L" (" + patterns + L")";
    filter += L'\0' + patterns + L'\0' + L'\0';
    return ChooseFile(
        true, Window(), title, filter, DocumentsFolder(), suggestedName, OFN_OVERWRITEPROMPT);
}

// Work on the window's thread keeps the cursor until it ends; for work on the fetch's worker
// the window sets it again at every mouse move.
void CWin32MainWindow::ShowWaitCursor(bool waiting)
{
    m_bWaitCursor = waiting;
    SetCursor(LoadCursorW(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

SSize CWin32MainWindow::ClientSize() const
{
    RECT client = {};
    GetClientRect(Window(), &client);
    return { client.right, client.bottom };
}

void CWin32MainWindow::ResizeClient(SSize size)
{
    const SSize frame = FrameSize();
    SetWindowPos(Window(), nullptr, 0, 0, size.width + frame.width, size.height + frame.height,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWin32MainWindow::SetMinimumClientSize(SSize size)
{
    m_minSize = size;
}

SSize CWin32MainWindow::AvailableClientSize() const
{
    const RECT work = WorkArea();
    const SSize frame = FrameSize();
    return { work.right - work.left - frame.width, work.bottom - work.top - frame.height };
}

// The worker's thread posts while the window's thread may be closing the window: the handle is
// read and posted to under the lock that closing takes to clear it.
void CWin32MainWindow::Post(std::function<void()> task)
{
    auto* owned = new std::function<void()>(std::move(task));
    const std::lock_guard<std::mutex> lock(m_postMutex);
    if (!m_hPostTarget
        || !PostMessageW(m_hPostTarget, kTaskMessage, 0, reinterpret_cast<LPARAM>(owned)))
        delete owned;
}

void CWin32MainWindow::Close()
{
    PostMessageW(Window(), kCloseMessage, 0, 0);
}

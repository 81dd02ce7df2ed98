#include "parity/ParityFace.h"
#include "parity/ParitySession.h"
#include "win32/Win32ControlView.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32Text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <iterator>

namespace {

std::wstring WideWindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

constexpr auto IsOfClass = &CWin32ControlView::IsOfClass;

std::wstring ItemText(HWND control, bool list, int index)
{
    const LRESULT length = SendMessageW(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, index, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT copied = SendMessageW(
        control, list ? LB_GETTEXT : CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

// The visible window of this thread that owner owns and whose class is the given one.
HWND OwnedWindow(HWND owner, const wchar_t* windowClass, bool visible)
{
    struct SSearch {
        HWND owner;
        const wchar_t* windowClass;
        bool visible;
        HWND found;
    } search { owner, windowClass, visible, nullptr };
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            auto& search = *reinterpret_cast<SSearch*>(data);
            if (GetWindow(window, GW_OWNER) == search.owner && IsOfClass(window, search.windowClass)
                && (!search.visible || IsWindowVisible(window)))
                search.found = window;
            return search.found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The Windows main window driven through the messages a player's input makes and read through
// the controls' own messages.
class CWin32ParityFace : public IParityFace {
public:
    explicit CWin32ParityFace(CQuotinoApp& app)
        : m_window(app)
    {
        m_window.Show();
        m_window.RunPending();
    }

    void Click(int id) override
    {
        SendMessageW(Control(id), BM_CLICK, 0, 0);
        Settle();
    }
    void ClickItem(int id, int index) override
    {
        HWND list = Control(id);
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        RECT item = {};
        SendMessageW(
            list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list, WM_LBUTTONUP, 0, at);
        Settle();
    }
    // The keyboard's state holds the modifiers, as the window reads them while the keys come.
    void PressKey(int id, EKey key) override
    {
        static const WPARAM keys[] = { VK_ESCAPE, VK_UP, VK_DOWN, VK_RETURN, 'V', 'V' };
        const WPARAM pressed = keys[static_cast<int>(key)];
        HWND control = Control(id);
        SetFocus(control);
        BYTE before[256] = {};
        GetKeyboardState(before);
        BYTE held[256] = {};
        std::copy(std::begin(before), std::end(before), held);
        held[VK_CONTROL] = pressed == 'V' ? 0x80 : 0;
        held[VK_SHIFT] = key == EKey::PastePrices ? 0x80 : 0;
        SetKeyboardState(held);
        PostMessageW(control, WM_KEYDOWN, pressed, 1);
        if (pressed == 'V')
            PostMessageW(control, WM_CHAR, 0x16, 1); // what the keyboard makes of Ctrl+V
        PostMessageW(control, WM_KEYUP, pressed, 0xC0000001);
        Settle();
        SetKeyboardState(before);
    }
    void DoubleClickAfter(int id, const std::string& utf8) override
    {
        HWND edit = Control(id);
        const std::wstring before = WithCrLf(WideFromUtf8(utf8));
        const size_t at = WideWindowText(edit).find(before) + before.size();
        const LRESULT point = SendMessageW(edit, EM_POSFROMCHAR, at, 0);
        SendMessageW(
            edit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(LOWORD(point) + 2, HIWORD(point) + 2));
        Settle();
    }
    void Copy(const std::string& utf8) override
    {
        const std::wstring text = WideFromUtf8(utf8);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
    }
    void Type(int id, const std::string& utf8) override
    {
        HWND edit = Control(id);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        for (const wchar_t typed : WideFromUtf8(utf8))
            SendMessageW(edit, WM_CHAR, typed, 1);
        Settle();
    }
    // The file name box of either template the system's dialog may use.
    void AnswerFileDialog(const std::string& utf8Path) override
    {
        HWND dialog = Top();
        const std::wstring path = WideFromUtf8(utf8Path);
        for (const WPARAM box : { cmb13, edt1 })
            SendMessageW(dialog, CDM_SETCONTROLTEXT, box, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    void ChooseCommand(int command) override
    {
        SendMessageW(m_window.Handle(), WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
        Settle();
    }
    void WithDialog(
        const std::function<void()>& open, const std::function<void()>& whileShown) override
    {
        s_pFace = this;
        s_hUnder = Top();
        s_pWhileShown = &whileShown;
        SetTimer(nullptr, 0, 10, OnTimer);
        open();
    }
    bool RunUntil(const std::function<bool()>& done) override
    {
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (!done() && GetTickCount64() < deadline) {
            Settle();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        return done();
    }
    CMainWindow& Behaviour() override { return m_window.Behaviour(); }

    bool IsOpen() override { return m_window.IsOpen() && IsWindowVisible(m_window.Handle()); }
    std::string Title() override { return Utf8FromWide(WideWindowText(Top())); }
    SControlSeen Read(int id) override;
    // The system menu, where the commands stand after the system's own.
    SControlSeen ReadCommand(int command) override
    {
        HMENU menu = GetSystemMenu(m_window.Handle(), FALSE);
        const UINT state = GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND);
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(command), text, 256, MF_BYCOMMAND);
        SControlSeen seen;
        seen.text = Utf8FromWide(text);
        seen.shown = state != static_cast<UINT>(-1);
        seen.enabled = seen.shown && !(state & MF_GRAYED);
        seen.checked = seen.shown && (state & MF_CHECKED);
        return seen;
    }
    std::vector<int> TabOrder() override;

private:
    // The last of the modal dialogs over the main window, each owned by the one below.
    HWND Top() const
    {
        HWND top = m_window.Handle();
        for (HWND dialog; (dialog = OwnedWindow(top, L"#32770", true));)
            top = dialog;
        return top;
    }
    // A control of the window on top, or one that a control of it made.
    HWND Control(int id) const
    {
        std::pair<int, HWND> search { id, GetDlgItem(Top(), id) };
        if (!search.second) {
            EnumChildWindows(
                Top(),
                [](HWND child, LPARAM data) {
                    auto& search = *reinterpret_cast<std::pair<int, HWND>*>(data);
                    if (GetDlgCtrlID(child) == search.first)
                        search.second = child;
                    return search.second ? FALSE : TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
        }
        return search.second;
    }
    std::string ToolTip(HWND control) const;
    // The messages waiting now, as the loop of the window on top runs them.
    void Settle()
    {
        HWND top = Top();
        if (top == m_window.Handle()) {
            m_window.RunPending();
            return;
        }
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            if (!IsDialogMessageW(top, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD)
    {
        if (s_pFace->Top() == s_hUnder)
            return;
        KillTimer(nullptr, timer);
        (*s_pWhileShown)();
    }

    CWin32MainWindow m_window;
    static inline CWin32ParityFace* s_pFace = nullptr;
    static inline HWND s_hUnder = nullptr;
    static inline const std::function<void()>* s_pWhileShown = nullptr;
};

SControlSeen CWin32ParityFace::Read(int id)
{
    SControlSeen seen;
    HWND control = Control(id);
    if (!control)
        return seen;
    seen.text = Utf8FromWide(WideWindowText(control));
    seen.tip = ToolTip(control);
    seen.shown = IsWindowVisible(control);
    seen.enabled = IsWindowEnabled(control);
    seen.checked
        = IsOfClass(control, L"Button") && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (IsOfClass(control, L"Edit")) {
        // An edit breaks lines at CR LF only: a bare LF is recorded as the glyph it shows.
        for (size_t at = seen.text.find('\n'); at != std::string::npos;
             at = seen.text.find('\n', at + 1)) {
            if (at == 0 || seen.text[at - 1] != '\r')
                seen.text.replace(at, 1, "<bare LF>");
        }
        DWORD from = 0, to = 0;
        SendMessageW(
            control, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        seen.selected = { static_cast<int>(from), static_cast<int>(to) };
    }
    const bool list = IsOfClass(control, L"ListBox");
    if (!list && !IsOfClass(control, L"ComboBox"))
        return seen;
    const auto count
        = static_cast<int>(SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        seen.items.push_back(Utf8FromWide(ItemText(control, list, index)));
        if (list && SendMessageW(control, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0)
            seen.selected.push_back(index);
    }
    seen.current = list ? -1 : static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    return seen;
}

// What a tooltip of the window says about the control; none where the mouse passes through
// the control to the window, so that the tooltip never sees it.
std::string CWin32ParityFace::ToolTip(HWND control) const
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    const LPARAM middle = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    if (SendMessageW(control, WM_NCHITTEST, 0, middle) == HTTRANSPARENT)
        return {};
    HWND tips = OwnedWindow(GetParent(control), TOOLTIPS_CLASSW, false);
    if (!tips)
        return {};
    std::wstring text(1024, L'\0');
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageW(tips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    return Utf8FromWide(text.c_str());
}

// Tab's way round the window from its first control.
std::vector<int> CWin32ParityFace::TabOrder()
{
    std::vector<int> order;
    HWND top = Top();
    HWND first = GetNextDlgTabItem(top, nullptr, FALSE);
    for (HWND item = first; item && order.size() < 100;) {
        order.push_back(GetDlgCtrlID(item));
        item = GetNextDlgTabItem(top, item, FALSE);
        if (item == first)
            break;
    }
    return order;
}

} // namespace

// The scripted session through the Windows window shows the record that both faces must show.
TEST(Win32Parity, SessionShowsTheExpectedRecord)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    CParitySession session;
    CWin32ParityFace face(session.App());
    session.Run(face);
    for (const std::string& difference : session.Compare("win32"))
        ADD_FAILURE() << difference;
}

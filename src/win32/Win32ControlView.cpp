#include "win32/Win32ControlView.h"

#include "platform/WebAddress.h"
#include "win32/Win32Dialog.h"
#include "win32/Win32LateLibrary.h"
#include "win32/Win32MessageBox.h"
#include "win32/Win32Text.h"
#include "window/SelectionRuns.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 204);

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ItemText(HWND control, bool list, int index)
{
    const LRESULT length = SendMessageW(
        control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT,
        static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

bool IsMultipleSelection(HWND list)
{
    return (GetWindowLongW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

// Redrawing once after many changes instead of after each.
class CRedrawPause {
public:
    explicit CRedrawPause(HWND control)
        : m_hControl(control)
    {
        SendMessageW(m_hControl, WM_SETREDRAW, FALSE, 0);
    }
    ~CRedrawPause()
    {
        SendMessageW(m_hControl, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_hControl, nullptr, TRUE);
    }
    CRedrawPause(const CRedrawPause&) = delete;
    CRedrawPause& operator=(const CRedrawPause&) = delete;

private:
    HWND m_hControl;
};

} // namespace

template <class View>
CWin32Controls<View>::CWin32Controls(HWND window)
    : m_hWnd(window)
{
}

template <class View> CWin32Controls<View>::~CWin32Controls()
{
    if (m_hLinkFont)
        DeleteObject(m_hLinkFont);
}

template <class View> HWND CWin32Controls<View>::Control(int id) const
{
    if (!m_hWnd)
        return nullptr;
    const auto known = m_controls.find(id);
    if (known != m_controls.end())
        return known->second;
    return m_controls[id] = GetDlgItem(m_hWnd, id);
}

template <class View> bool CWin32Controls<View>::IsOfClass(HWND control, const wchar_t* name)
{
    wchar_t className[32] = {};
    return control && GetClassNameW(control, className, 32) > 0 && _wcsicmp(className, name) == 0;
}

template <class View> void CWin32Controls<View>::SetTitle(const std::string& text)
{
    SetWindowTextW(m_hWnd, WideFromCp1252(text).c_str());
}

template <class View> void CWin32Controls<View>::SetText(int id, const std::string& text)
{
    if (HWND control = Control(id))
        SetWindowTextW(control, WithCrLf(WideFromCp1252(text)).c_str());
}

template <class View> std::string CWin32Controls<View>::Text(int id) const
{
    HWND control = Control(id);
    return control ? Cp1252FromWide(WindowText(control)) : std::string();
}

template <class View> void CWin32Controls<View>::SetToolTip(int id, const std::string& text)
{
    HWND control = Control(id);
    if (!control)
        return;
    if (m_bDeferTips)
        m_deferredTips[id] = text;
    else
        AddToolTip(control, text);
}

template <class View> void CWin32Controls<View>::AddDeferredToolTips()
{
    m_bDeferTips = false;
    for (const auto& [id, text] : m_deferredTips) {
        if (HWND control = Control(id))
            AddToolTip(control, text);
    }
    m_deferredTips.clear();
}

template <class View> void CWin32Controls<View>::AddToolTip(HWND control, const std::string& text)
{
    if (!m_hToolTip) {
        m_hToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
            CW_USEDEFAULT, m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        // Without a maximum width a tip ignores its line breaks and runs off as one line.
        SendMessageW(m_hToolTip, TTM_SETMAXTIPWIDTH, 0, 640);
    }
    // A plain static text lets the mouse through to its window, so its tooltip would never
    // see it; made a notifying one it is hit, and still no link (those are marked at start).
    if (IsOfClass(control, L"Static"))
        SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | SS_NOTIFY);
    std::wstring wide = WideFromCp1252(text);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    SendMessageW(m_hToolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!wide.empty())
        SendMessageW(m_hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

template <class View>
void CWin32Controls<View>::SetLink(int id, const std::string& text, const std::string& url)
{
    HWND control = Control(id);
    if (!control)
        return;
    SetText(id, text);
    m_links[id] = url;
    MakeLink(control);
}

template <class View> void CWin32Controls<View>::MarkLinks()
{
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (IsOfClass(child, L"Static") && (style & SS_NOTIFY) != 0) {
            m_links.try_emplace(GetDlgCtrlID(child));
            MakeLink(child);
        }
    }
}

// Underlined in the window's font, as links are drawn.
template <class View> void CWin32Controls<View>::MakeLink(HWND control)
{
    if (!m_hLinkFont) {
        LOGFONTW font = {};
        auto shown = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        GetObjectW(shown ? shown : GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        font.lfUnderline = TRUE;
        m_hLinkFont = CreateFontIndirectW(&font);
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_hLinkFont), TRUE);
}

template <class View> bool CWin32Controls<View>::OpenLink(int id) const
{
    const auto link = m_links.find(id);
    if (link == m_links.end())
        return false;
    static const auto open
        = LateFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (IsWebAddress(link->second) && open)
        open(m_hWnd, L"open", WideFromUtf8(link->second).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

template <class View> bool CWin32Controls<View>::IsLink(HWND control) const
{
    return control && GetParent(control) == m_hWnd && m_links.count(GetDlgCtrlID(control)) != 0;
}

template <class View> INT_PTR CWin32Controls<View>::LinkColour(HDC dc, HWND control) const
{
    if (!IsLink(control))
        return 0;
    SetTextColor(dc, kLinkColour);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

template <class View> bool CWin32Controls<View>::SetLinkCursor(HWND control) const
{
    if (!IsLink(control))
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

template <class View> void CWin32Controls<View>::SetChecked(int id, bool checked)
{
    CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

template <class View> bool CWin32Controls<View>::IsChecked(int id) const
{
    return Control(id) && IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

template <class View> void CWin32Controls<View>::Show(int id, bool shown)
{
    if (HWND control = Control(id))
        ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
}

template <class View> void CWin32Controls<View>::SetFocus(int id)
{
    HWND control = Control(id);
    if (!control)
        return;
    // The dialog's own way keeps its default button right; it selects an edit's whole text,
    // which only a one-line edit keeps.
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    if (IsOfClass(control, L"Edit") && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0)
        SendMessageW(control, EM_SETSEL, 0, 0);
}

template <class View>
void CWin32Controls<View>::SetItems(int id, const std::vector<std::string>& items)
{
    HWND control = Control(id);
    if (!control)
        return;
    const bool list = IsOfClass(control, L"ListBox");
    CRedrawPause pause(control);
    SendMessageW(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        AddItem(id, item);
}

template <class View> void CWin32Controls<View>::AddItem(int id, const std::string& item)
{
    HWND control = Control(id);
    if (!control)
        return;
    const bool list = IsOfClass(control, L"ListBox");
    if (!list && !IsOfClass(control, L"ComboBox"))
        return;
    const std::wstring wide = WideFromCp1252(item);
    SendMessageW(
        control, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

template <class View> std::vector<std::string> CWin32Controls<View>::Items(int id) const
{
    HWND control = Control(id);
    const bool list = IsOfClass(control, L"ListBox");
    if (!list && !IsOfClass(control, L"ComboBox"))
        return {};
    const LRESULT count = SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    std::vector<std::string> items;
    for (int index = 0; index < count; ++index)
        items.push_back(Cp1252FromWide(ItemText(control, list, index)));
    return items;
}

template <class View> int CWin32Controls<View>::CurrentItem(int id) const
{
    HWND control = Control(id);
    if (IsOfClass(control, L"ComboBox"))
        return static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    if (!IsOfClass(control, L"ListBox"))
        return -1;
    if (IsMultipleSelection(control))
        return SendMessageW(control, LB_GETCOUNT, 0, 0) > 0
            ? static_cast<int>(SendMessageW(control, LB_GETCARETINDEX, 0, 0))
            : -1;
    return static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
}

// In a list box that selects one entry the current entry is the selected one; in the others it
// is only the entry with the focus, and the selection stays as it is.
template <class View> void CWin32Controls<View>::SetCurrentItem(int id, int index)
{
    HWND control = Control(id);
    if (IsOfClass(control, L"ComboBox")) {
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else if (IsOfClass(control, L"ListBox")) {
        if (IsMultipleSelection(control))
            SendMessageW(control, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        else
            SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

template <class View> std::vector<bool> CWin32Controls<View>::SelectedItems(int id) const
{
    HWND control = Control(id);
    if (!IsOfClass(control, L"ListBox"))
        return {};
    const auto count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
    std::vector<bool> selected(static_cast<size_t>(std::max(count, 0)), false);
    if (!IsMultipleSelection(control)) {
        const auto current = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
        if (current >= 0 && current < count)
            selected[static_cast<size_t>(current)] = true;
        return selected;
    }
    std::vector<int> indices(selected.size());
    const auto found = static_cast<int>(SendMessageW(control, LB_GETSELITEMS,
        static_cast<WPARAM>(indices.size()), reinterpret_cast<LPARAM>(indices.data())));
    for (int i = 0; i < found; ++i)
        selected[static_cast<size_t>(indices[static_cast<size_t>(i)])] = true;
    return selected;
}

// Whole runs of entries at a time (ForEachSelectedRun).
template <class View>
void CWin32Controls<View>::SetSelectedItems(int id, const std::vector<bool>& selected)
{
    HWND control = Control(id);
    if (!IsOfClass(control, L"ListBox") || !IsMultipleSelection(control))
        return;
    const LRESULT count = SendMessageW(control, LB_GETCOUNT, 0, 0);
    CRedrawPause pause(control);
    SendMessageW(control, LB_SETSEL, FALSE, -1);
    ForEachSelectedRun(
        selected, static_cast<size_t>(std::max<LRESULT>(count, 0)), [&](size_t first, size_t last) {
            SendMessageW(control, LB_SELITEMRANGEEX, first, static_cast<LPARAM>(last));
        });
}

template <class View> SRect CWin32Controls<View>::ControlRect(int id) const
{
    HWND control = Control(id);
    if (!control)
        return {};
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return { rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top };
}

template <class View> void CWin32Controls<View>::Place(int id, const SRect& rect)
{
    HWND control = Control(id);
    if (!control)
        return;
    int height = rect.height;
    // A drop-down list's window is as high as its open list; the closed box keeps its height.
    if (IsOfClass(control, L"ComboBox")) {
        RECT dropped = {};
        SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        height = std::max(height, static_cast<int>(dropped.bottom - dropped.top));
    }
    // A moved control draws itself afresh: its old picture, copied along, would not fit its
    // new size.
    SetWindowPos(control, nullptr, rect.x, rect.y, rect.width, height,
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

template <class View>
void CWin32Controls<View>::ShowWarning(const std::string& text, const std::string& buttonText)
{
    ShowMessageBox(m_hWnd, Cp1252FromWide(WindowText(m_hWnd)), text, MB_OK | MB_ICONWARNING,
        { { IDOK, buttonText } });
}

template <class View> bool CWin32Controls<View>::RunDialog(IDialogBehaviour& dialog)
{
    return CWin32Dialog::Run(dialog, m_hWnd);
}

template class CWin32Controls<IWindowView>;
template class CWin32Controls<IMainWindowView>;

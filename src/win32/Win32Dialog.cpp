#include "win32/Win32Dialog.h"

#include "win32/Win32DialogTemplate.h"
#include "window/ControlIds.h"

namespace {

// A double click is forwarded once it has ended, so that the dialog may close on it.
constexpr UINT kDoubleClickMessage = WM_APP + 1;

bool IsUserChange(int code)
{
    return code == BN_CLICKED || code == EN_CHANGE || code == LBN_SELCHANGE
        || code == CBN_SELCHANGE;
}

} // namespace

CWin32Dialog::CWin32Dialog(IDialogBehaviour& behaviour)
    : m_runner(behaviour, m_view,
        [this](bool accepted) { EndDialog(m_view.Window(), accepted ? IDOK : IDCANCEL); })
{
}

bool CWin32Dialog::Run(IDialogBehaviour& behaviour, HWND owner)
{
    CWin32Dialog dialog(behaviour);
    const CWin32DialogTemplate dialogTemplate(CDialogTemplate::Load(behaviour.TemplateId()));
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(),
        owner, Procedure, reinterpret_cast<LPARAM>(&dialog));
    return result == IDOK;
}

INT_PTR CALLBACK CWin32Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return reinterpret_cast<CWin32Dialog*>(lParam)->OnInit(window);
    }
    auto* dialog = reinterpret_cast<CWin32Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return dialog ? dialog->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR CWin32Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_CLOSE:
        m_runner.Command(IDC_CANCEL);
        return TRUE;
    case kDoubleClickMessage:
        m_runner.DoubleClick(static_cast<int>(wParam), IsWindowVisible(m_view.Window()) != FALSE);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return m_view.LinkColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        if (m_view.SetLinkCursor(reinterpret_cast<HWND>(wParam))) {
            SetWindowLongPtrW(m_view.Window(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CWin32Dialog::OnInit(HWND window)
{
    m_view.Attach(window);
    m_view.MarkLinks();
    m_runner.Init();
    // The behaviour may have put the focus somewhere; otherwise the first control gets it.
    HWND focus = GetFocus();
    return focus && IsChild(window, focus) ? FALSE : TRUE;
}

void CWin32Dialog::OnCommand(int id, int code, HWND control)
{
    // Escape and Return arrive as IDCANCEL and IDOK without a control.
    if (!control) {
        if (id == IDOK || id == IDCANCEL)
            m_runner.Command(id);
        return;
    }
    if (code == LBN_DBLCLK && CWin32ControlView::IsOfClass(control, L"ListBox")) {
        PostMessageW(m_view.Window(), kDoubleClickMessage, static_cast<WPARAM>(id), 0);
        return;
    }
    if (code == STN_CLICKED && m_view.OpenLink(id))
        return;
    if (IsUserChange(code))
        m_runner.Command(id);
}

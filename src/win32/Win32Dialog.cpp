#include "win32/Win32Dialog.h"

#include "win32/Win32DialogTemplate.h"
#include "window/ControlIds.h"

namespace {

// A double click is forwarded once it has ended, so that the dialog may close on it.
constexpr UINT kDoubleClickMessage = WM_APP + 1;

// Sets a flag for the lifetime of the scope and restores it after.
class CFlagScope {
public:
    explicit CFlagScope(bool& flag)
        : m_flag(flag)
        , m_bBefore(flag)
    {
        m_flag = true;
    }
    ~CFlagScope() { m_flag = m_bBefore; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_flag;
    bool m_bBefore;
};

bool IsUserChange(int code)
{
    return code == BN_CLICKED || code == EN_CHANGE || code == LBN_SELCHANGE
        || code == CBN_SELCHANGE;
}

} // namespace

CWin32Dialog::CWin32Dialog(IDialogBehaviour& behaviour)
    : m_behaviour(behaviour)
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
        Forward(IDC_CANCEL);
        return TRUE;
    case kDoubleClickMessage:
        ForwardDoubleClick(static_cast<int>(wParam));
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
    {
        CFlagScope busy(m_bInBehaviour);
        m_behaviour.OnInit(m_view);
    }
    // The behaviour may have put the focus somewhere; otherwise the first control gets it.
    HWND focus = GetFocus();
    return focus && IsChild(window, focus) ? FALSE : TRUE;
}

void CWin32Dialog::OnCommand(int id, int code, HWND control)
{
    // Escape and Return arrive as IDCANCEL and IDOK without a control.
    if (!control) {
        if (id == IDOK || id == IDCANCEL)
            Forward(id);
        return;
    }
    if (code == LBN_DBLCLK && CWin32ControlView::IsOfClass(control, L"ListBox")) {
        PostMessageW(m_view.Window(), kDoubleClickMessage, static_cast<WPARAM>(id), 0);
        return;
    }
    if (code == STN_CLICKED && m_view.OpenLink(id))
        return;
    if (IsUserChange(code))
        Forward(id);
}

void CWin32Dialog::Forward(int id)
{
    if (m_bInBehaviour)
        return;
    IDialogBehaviour::EAfter after = IDialogBehaviour::EAfter::Stay;
    {
        CFlagScope busy(m_bInBehaviour);
        after = m_behaviour.OnCommand(m_view, id);
    }
    Apply(after);
}

void CWin32Dialog::ForwardDoubleClick(int id)
{
    if (m_bInBehaviour)
        return;
    IDialogBehaviour::EAfter after = IDialogBehaviour::EAfter::Stay;
    {
        CFlagScope busy(m_bInBehaviour);
        after = m_behaviour.OnDoubleClick(m_view, id);
    }
    Apply(after);
}

void CWin32Dialog::Apply(IDialogBehaviour::EAfter after)
{
    if (after == IDialogBehaviour::EAfter::Accept)
        EndDialog(m_view.Window(), IDOK);
    else if (after == IDialogBehaviour::EAfter::Cancel)
        EndDialog(m_view.Window(), IDCANCEL);
}

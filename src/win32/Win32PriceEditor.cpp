#include "win32/Win32PriceEditor.h"

#include "win32/Win32Text.h"
#include "window/PriceLine.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr UINT_PTR kSubclassId = 1;
// Room beside the value for typing a longer price.
constexpr int kMinimumWidth = 60;

struct SPaneLine {
    SPriceLine parts;
    int valueStart = 0; // character index of the value in the pane's whole text
};

bool FindLine(HWND pane, POINT point, SPaneLine& found)
{
    const LRESULT hit = SendMessageW(pane, EM_CHARFROMPOS, 0, MAKELPARAM(point.x, point.y));
    const auto line = static_cast<int>(HIWORD(hit));
    const auto lineStart
        = static_cast<int>(SendMessageW(pane, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    const auto length
        = static_cast<int>(SendMessageW(pane, EM_LINELENGTH, static_cast<WPARAM>(lineStart), 0));
    if (lineStart < 0 || length <= 0)
        return false;
    std::wstring text(static_cast<size_t>(std::max(length, 2)) + 1, L'\0');
    text[0] = static_cast<wchar_t>(text.size());
    const LRESULT copied = SendMessageW(
        pane, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    std::optional<SPriceLine> parts = SPriceLine::Parse(Cp1252FromWide(text));
    if (!parts)
        return false;
    found.valueStart = lineStart + static_cast<int>(parts->valueStart);
    found.parts = std::move(*parts);
    return true;
}

int LineHeight(HWND pane, HFONT font)
{
    HDC dc = GetDC(pane);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(pane, dc);
    return metrics.tmHeight;
}

} // namespace

CWin32PriceEditor::CWin32PriceEditor(std::string name, Commit commit)
    : m_strName(std::move(name))
    , m_commit(std::move(commit))
{
}

bool CWin32PriceEditor::Open(
    HWND pane, POINT point, const Opens& opens, bool selectAll, Commit commit)
{
    SPaneLine line;
    if (!FindLine(pane, point, line) || !opens(line.parts.name))
        return false;
    const LRESULT position
        = SendMessageW(pane, EM_POSFROMCHAR, static_cast<WPARAM>(line.valueStart), 0);
    const int left = static_cast<short>(LOWORD(position));
    const int top = static_cast<short>(HIWORD(position));
    auto font = reinterpret_cast<HFONT>(SendMessageW(pane, WM_GETFONT, 0, 0));
    RECT client = {};
    GetClientRect(pane, &client);
    const int width = std::max(static_cast<int>(client.right) - left, kMinimumWidth);

    // The pane draws over its children unless it leaves them out.
    SetWindowLongW(pane, GWL_STYLE, GetWindowLongW(pane, GWL_STYLE) | WS_CLIPCHILDREN);
    auto* self = new CWin32PriceEditor(line.parts.name, std::move(commit));
    self->m_hEdit = CreateWindowExW(0, L"EDIT", WideFromCp1252(line.parts.value).c_str(),
        WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, left - 2, top - 2, width + 2,
        LineHeight(pane, font) + 4, pane, reinterpret_cast<HMENU>(kControlId),
        GetModuleHandleW(nullptr), nullptr);
    if (!self->m_hEdit) {
        delete self;
        return false;
    }
    SendMessageW(self->m_hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowSubclass(self->m_hEdit, Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(self));
    SetFocus(self->m_hEdit);
    const auto end = static_cast<WPARAM>(line.parts.value.size());
    SendMessageW(self->m_hEdit, EM_SETSEL, selectAll ? 0 : end, static_cast<LPARAM>(end));
    return true;
}

LRESULT CALLBACK CWin32PriceEditor::Procedure(
    HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* editor = reinterpret_cast<CWin32PriceEditor*>(self);
    switch (message) {
    case WM_GETDLGCODE:
        // Return and Escape are the box's, not the dialog's default button's.
        return DLGC_WANTALLKEYS | DefSubclassProc(edit, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            editor->Close(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == 0x1B)
            return 0;
        break;
    case WM_KILLFOCUS:
        DefSubclassProc(edit, message, wParam, lParam);
        editor->Close(true);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, Procedure, kSubclassId);
        delete editor;
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

// The box goes first: the commit recalculates and refills the pane under it.
void CWin32PriceEditor::Close(bool commit)
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    const int length = GetWindowTextLengthW(m_hEdit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(m_hEdit, text.data(), length + 1)));
    const std::string name = m_strName;
    const Commit done = commit ? m_commit : Commit();
    HWND edit = m_hEdit;
    HWND pane = GetParent(edit);
    if (GetFocus() == edit)
        SetFocus(pane);
    DestroyWindow(edit); // deletes this
    if (done)
        done(name, SPriceLine::Committed(Cp1252FromWide(text)));
}

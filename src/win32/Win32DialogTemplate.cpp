#include "win32/Win32DialogTemplate.h"

#include "win32/Win32Text.h"

#include <charconv>

namespace {

// The predefined control classes, by the atoms a template names them with.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;
constexpr WORD kComboBoxClass = 0x0085;

DWORD Flag(const CDialogControl& control, CDialogControl::EStyle style, DWORD flag)
{
    return control.Has(style) ? flag : 0;
}

DWORD EditStyle(const CDialogControl& control)
{
    DWORD style = WS_BORDER | WS_TABSTOP | Flag(control, CDialogControl::ReadOnly, ES_READONLY)
        | Flag(control, CDialogControl::AutoHScroll, ES_AUTOHSCROLL)
        | Flag(control, CDialogControl::VScroll, WS_VSCROLL)
        | Flag(control, CDialogControl::HScroll, WS_HSCROLL);
    if (control.Has(CDialogControl::Multiline))
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL
            | Flag(control, CDialogControl::WantReturn, ES_WANTRETURN);
    return style;
}

DWORD ListBoxStyle(const CDialogControl& control)
{
    return WS_BORDER | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS
        | Flag(control, CDialogControl::Sort, LBS_SORT)
        | Flag(control, CDialogControl::FreeSelect, LBS_MULTIPLESEL)
        | Flag(control, CDialogControl::ExtendedSelect, LBS_EXTENDEDSEL)
        | Flag(control, CDialogControl::VScroll, WS_VSCROLL)
        | Flag(control, CDialogControl::HScroll, WS_HSCROLL);
}

// The window class atom and style of a control kind.
std::pair<WORD, DWORD> ClassAndStyle(const CDialogControl& control)
{
    switch (control.kind) {
    case CDialogControl::Label:
        return { kStaticClass, SS_LEFT | Flag(control, CDialogControl::Notify, SS_NOTIFY) };
    case CDialogControl::LabelRight:
        return { kStaticClass, SS_RIGHT | Flag(control, CDialogControl::Notify, SS_NOTIFY) };
    case CDialogControl::Icon:
        return { kStaticClass, SS_ICON };
    case CDialogControl::Button:
        return { kButtonClass, BS_PUSHBUTTON | WS_TABSTOP };
    case CDialogControl::DefaultButton:
        return { kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP };
    case CDialogControl::CheckBox:
        return { kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP };
    case CDialogControl::DropDownList:
        return { kComboBoxClass,
            CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_TABSTOP | WS_VSCROLL
                | Flag(control, CDialogControl::Sort, CBS_SORT) };
    case CDialogControl::ListBox:
        return { kListBoxClass, ListBoxStyle(control) };
    case CDialogControl::Edit:
        return { kEditClass, EditStyle(control) };
    case CDialogControl::GroupBox:
        return { kButtonClass, BS_GROUPBOX };
    }
    return { kStaticClass, SS_LEFT };
}

WORD IconResource(const std::string& text)
{
    int id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && id > 0 && id < 0x10000 ? static_cast<WORD>(id)
                                                          : CWin32DialogTemplate::kProgramIcon;
}

} // namespace

CWin32DialogTemplate::CWin32DialogTemplate(
    const CDialogTemplate& source, const std::wstring& windowClass)
{
    AddDialog(source, windowClass);
    for (const CDialogControl& control : source.m_controls)
        AddControl(control);
}

void CWin32DialogTemplate::AddDialog(const CDialogTemplate& source, const std::wstring& windowClass)
{
    DWORD style = DS_SETFONT | DS_3DLOOK | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    style |= source.m_bResizable ? WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX : DS_MODALFRAME;
    AddWord(1); // version
    AddWord(0xFFFF); // the extended form
    AddDword(0); // help id
    AddDword(source.m_bResizable ? WS_EX_APPWINDOW | WS_EX_ACCEPTFILES : WS_EX_DLGMODALFRAME);
    AddDword(style);
    AddWord(static_cast<WORD>(source.m_controls.size()));
    for (const int value : { 0, 0, source.m_size.width, source.m_size.height })
        AddWord(static_cast<WORD>(value));
    AddWord(0); // no menu
    if (windowClass.empty())
        AddWord(0);
    else
        AddString(windowClass);
    AddString(WideFromCp1252(source.m_strTitle));
    AddWord(static_cast<WORD>(source.m_nPointSize));
    AddWord(FW_NORMAL);
    AddWord(MAKEWORD(FALSE, DEFAULT_CHARSET)); // italic, character set
    AddString(WideFromCp1252(source.m_strFontFamily));
}

void CWin32DialogTemplate::AddControl(const CDialogControl& control)
{
    const auto [atom, style] = ClassAndStyle(control);
    AlignToDword();
    AddDword(0); // help id
    AddDword(control.kind == CDialogControl::Edit || control.kind == CDialogControl::ListBox
            ? WS_EX_CLIENTEDGE
            : 0);
    AddDword(style | WS_CHILD | WS_VISIBLE);
    for (const int value :
        { control.rect.x, control.rect.y, control.rect.width, control.rect.height })
        AddWord(static_cast<WORD>(value));
    AddDword(static_cast<DWORD>(control.nId));
    AddWord(0xFFFF);
    AddWord(atom);
    if (control.kind == CDialogControl::Icon) {
        AddWord(0xFFFF);
        AddWord(IconResource(control.strText));
    } else {
        AddString(WideFromCp1252(control.strText));
    }
    AddWord(0); // no creation data
}

void CWin32DialogTemplate::AddDword(DWORD value)
{
    AddWord(LOWORD(value));
    AddWord(HIWORD(value));
}

void CWin32DialogTemplate::AddString(const std::wstring& text)
{
    for (const wchar_t c : text)
        AddWord(static_cast<WORD>(c));
    AddWord(0);
}

void CWin32DialogTemplate::AlignToDword()
{
    if (m_words.size() % 2 != 0)
        AddWord(0);
}

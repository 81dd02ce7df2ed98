#pragma once

#include "window/Geometry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One control of a dialog template, as written in res/dialogs/<id>.dlg.
struct CDialogControl {
    enum EKind {
        Label,
        LabelRight,
        Button,
        DefaultButton,
        CheckBox,
        DropDownList,
        ListBox,
        Edit,
        GroupBox,
        Icon
    };
    enum EStyle {
        Multiline = 1 << 0,
        WantReturn = 1 << 1,
        ReadOnly = 1 << 2,
        VScroll = 1 << 3,
        HScroll = 1 << 4,
        AutoHScroll = 1 << 5,
        Sort = 1 << 6,
        FreeSelect = 1 << 7, // every click toggles an entry
        ExtendedSelect = 1 << 8, // Shift and Ctrl extend the selection
        Notify = 1 << 9,
    };

    int nId = -1;
    EKind kind = Label;
    SRect rect; // dialog units
    std::string strText; // Windows-1252
    int nStyle = 0;
    int nMaxLength = 0; // 0: no limit

    bool Has(EStyle style) const { return (nStyle & style) != 0; }
};

// A dialog's layout as data: title, client size and font, and its controls in tab order.
// The text form is UTF-8; its texts are kept as Windows-1252, as everywhere in the core.
class CDialogTemplate {
public:
    int m_nId = 0;
    std::string m_strTitle;
    SSize m_size; // client area, dialog units
    int m_nPointSize = 8;
    std::string m_strFontFamily;
    bool m_bResizable = false;
    std::vector<CDialogControl> m_controls;

    const CDialogControl* Find(int id) const;

    // Reads the text form; on a malformed line returns nullopt and, when error is given, a
    // message naming the line.
    static std::optional<CDialogTemplate> Parse(
        std::string_view text, std::string* error = nullptr);
    // The template embedded in the program at build time. The templates are part of the
    // program, so a missing or malformed one is a build fault and ends the program with a message.
    static CDialogTemplate Load(int id);
};

#pragma once

#include "window/DialogTemplate.h"

#include <windows.h>

#include <string>
#include <vector>

// A dialog template as the window system takes it in memory (DLGTEMPLATEEX), made from the
// program's own template data: the same layout, font and texts as every face.
class CWin32DialogTemplate {
public:
    // windowClass: the dialog's own window class, or empty for the system's dialog class.
    explicit CWin32DialogTemplate(
        const CDialogTemplate& source, const std::wstring& windowClass = {});

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

    // The icon resource the template's icon controls name.
    static constexpr WORD kProgramIcon = 128;

private:
    void AddDialog(const CDialogTemplate& source, const std::wstring& windowClass);
    void AddControl(const CDialogControl& control);
    void AddWord(WORD value) { m_words.push_back(value); }
    void AddDword(DWORD value);
    void AddString(const std::wstring& text);
    void AlignToDword();

    std::vector<WORD> m_words;
};

#pragma once

#include "window/DialogBehaviour.h"

#include <string>
#include <vector>

// The language choice, at first start and from the window's menu. No language may be chosen
// yet when it shows, so it keeps the English texts of its template.
class CLanguageChoice : public IDialogBehaviour {
public:
    // languages: the names to offer (Windows-1252), in the order of the profile; preselected:
    // the name to select, or empty (or unknown) for the first name.
    CLanguageChoice(std::vector<std::string> languages, std::string preselected);

    // The chosen name, once the dialog was accepted.
    const std::string& Chosen() const { return m_strChosen; }

    int TemplateId() const override;
    void OnInit(IWindowView& view) override;
    // OK stays open while no entry is selected.
    EAfter OnCommand(IWindowView& view, int id) override;
    // A double click on a name is OK for that name.
    EAfter OnDoubleClick(IWindowView& view, int id) override;

private:
    std::vector<std::string> m_astrLanguages;
    std::string m_strPreselected;
    std::string m_strChosen;
};

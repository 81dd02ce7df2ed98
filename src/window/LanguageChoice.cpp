#include "window/LanguageChoice.h"

#include "window/ControlIds.h"
#include "window/WindowView.h"

#include <algorithm>

CLanguageChoice::CLanguageChoice(std::vector<std::string> languages, std::string preselected)
    : m_astrLanguages(std::move(languages))
    , m_strPreselected(std::move(preselected))
{
}

int CLanguageChoice::TemplateId() const
{
    return IDD_LANGUAGE;
}

// The list may sort the names, so the preselected one is looked up where the list put it.
void CLanguageChoice::OnInit(IWindowView& view)
{
    view.SetItems(IDC_LANGUAGE_LIST, m_astrLanguages);
    if (m_astrLanguages.empty())
        return;
    const bool known = std::find(m_astrLanguages.begin(), m_astrLanguages.end(), m_strPreselected)
        != m_astrLanguages.end();
    const std::string& selected = known ? m_strPreselected : m_astrLanguages.front();
    const std::vector<std::string> shown = view.Items(IDC_LANGUAGE_LIST);
    const auto found = std::find(shown.begin(), shown.end(), selected);
    if (found == shown.end())
        return;
    const auto row = static_cast<size_t>(found - shown.begin());
    std::vector<bool> selection(shown.size(), false);
    selection[row] = true;
    view.SetSelectedItems(IDC_LANGUAGE_LIST, selection);
    view.SetCurrentItem(IDC_LANGUAGE_LIST, static_cast<int>(row));
}

IDialogBehaviour::EAfter CLanguageChoice::OnCommand(IWindowView& view, int id)
{
    if (id == IDC_CANCEL)
        return EAfter::Cancel;
    if (id != IDC_OK)
        return EAfter::Stay;
    const std::vector<bool> selected = view.SelectedItems(IDC_LANGUAGE_LIST);
    const auto first = std::find(selected.begin(), selected.end(), true);
    const std::vector<std::string> shown = view.Items(IDC_LANGUAGE_LIST);
    const auto row = static_cast<size_t>(first - selected.begin());
    if (first == selected.end() || row >= shown.size())
        return EAfter::Stay;
    m_strChosen = shown[row];
    return EAfter::Accept;
}

IDialogBehaviour::EAfter CLanguageChoice::OnDoubleClick(IWindowView& view, int id)
{
    return id == IDC_LANGUAGE_LIST ? OnCommand(view, IDC_OK) : EAfter::Stay;
}

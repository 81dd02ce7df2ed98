#include "window/AboutDialog.h"

#include "app/ConfigurationLoader.h"
#include "config/Texts.h"
#include "window/ControlIds.h"
#include "window/ProfileFormat.h"
#include "window/WindowView.h"

#include <utility>

CAboutDialog::CAboutDialog(const CTexts& texts)
    : CAboutDialog(IDD_ABOUT, texts)
{
}

CAboutDialog::CAboutDialog(int templateId, const CTexts& texts)
    : m_texts(texts)
    , m_nTemplateId(templateId)
{
}

void CAboutDialog::OnInit(IWindowView& view)
{
    ShowTitleVersionAndLink(view);
    // A profile without these lines keeps the template's.
    const std::pair<int, const char*> lines[]
        = { { IDC_ABOUT_SUBTITLE, "Txt_AboutLine" }, { IDC_ABOUT_LICENCE, "Txt_AboutLicence" } };
    for (const auto& [id, key] : lines) {
        const std::string text = m_texts.GetText(key);
        if (!text.empty())
            view.SetText(id, text);
    }
}

IDialogBehaviour::EAfter CAboutDialog::OnCommand(IWindowView&, int id)
{
    if (id == IDC_OK)
        return EAfter::Accept;
    return id == IDC_CANCEL ? EAfter::Cancel : EAfter::Stay;
}

void CAboutDialog::ShowTitleVersionAndLink(IWindowView& view) const
{
    // The menu shows the same text with its access key and the dots of a menu item.
    view.SetTitle(RemoveAll(RemoveAll(m_texts.GetText("Txt_About"), "&"), "..."));
    view.SetText(IDC_ABOUT_VERSION,
        FormatNumbers(view.Text(IDC_ABOUT_VERSION),
            { CConfigurationLoader::kMajorVersion, CConfigurationLoader::kMinorVersion }));
    const std::string link = m_texts.GetText("Txt_Link");
    view.SetLink(IDC_ABOUT_LINK, link, link);
}

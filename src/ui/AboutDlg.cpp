#include "ui/AboutDlg.h"

#include "app/ConfigurationLoader.h"
#include "config/Texts.h"
#include "ui/HyperLink.h"
#include "ui/ProfileFormat.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QLabel>

CAboutDlg::CAboutDlg(const CTexts& texts, QWidget* parent)
    : CAboutDlg(130, texts, parent)
{
}

CAboutDlg::CAboutDlg(int templateId, const CTexts& texts, QWidget* parent)
    : QDialog(parent)
    , m_builder(CDialogTemplate::Load(templateId))
{
    m_builder.SetFactory(1019, [](QWidget* owner) { return new CHyperLink(owner); });
    m_builder.Build(*this);
    connect(
        m_builder.Control<QAbstractButton>(1), &QAbstractButton::clicked, this, &QDialog::accept);

    // The system menu shows the same text with its access key and the dots of a menu item.
    const std::string title = RemoveAll(RemoveAll(texts.GetText("Txt_About"), "&"), "...");
    setWindowTitle(ToQString(title));

    auto* version = m_builder.Control<QLabel>(1023);
    version->setText(ToQString(FormatNumbers(FromQString(version->text()),
        { CConfigurationLoader::kMajorVersion, CConfigurationLoader::kMinorVersion })));

    // The About box's lines under the version; the update notice has none.
    const std::pair<int, const char*> lines[]
        = { { 1024, "Txt_AboutLine" }, { 1027, "Txt_AboutLicence" } };
    for (const auto& [id, key] : lines) {
        auto* line = m_builder.Control<QLabel>(id);
        const std::string text = texts.GetText(key);
        if (line && !text.empty())
            line->setText(ToQString(text));
    }

    m_pLink = m_builder.Control<CHyperLink>(1019);
    const std::string link = texts.GetText("Txt_Link");
    m_pLink->SetLinkText(link);
    m_pLink->SetLinkUrl(link);
}

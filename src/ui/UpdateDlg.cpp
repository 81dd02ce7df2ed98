#include "ui/UpdateDlg.h"

#include "config/Texts.h"
#include "ui/ProfileFormat.h"
#include "ui/QtText.h"

#include <QLabel>

CUpdateDlg::CUpdateDlg(const CTexts& texts, int major, int minor, QWidget* parent)
    : CAboutDlg(136, texts, parent)
    , m_nMajor(major)
    , m_nMinor(minor)
{
    const std::string notice = ExpandLineBreaks(texts.GetText("Txt_UpdateAv"));
    m_builder.Control<QLabel>(1025)->setText(
        ToQString(FormatNumbers(notice, { m_nMajor, m_nMinor })));
}

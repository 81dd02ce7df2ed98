#include "window/UpdateNotice.h"

#include "config/Texts.h"
#include "window/ControlIds.h"
#include "window/ProfileFormat.h"
#include "window/WindowView.h"

CUpdateNotice::CUpdateNotice(const CTexts& texts, int major, int minor)
    : CAboutDialog(IDD_UPDATE, texts)
    , m_nMajor(major)
    , m_nMinor(minor)
{
}

void CUpdateNotice::OnInit(IWindowView& view)
{
    ShowTitleVersionAndLink(view);
    const std::string notice = ExpandLineBreaks(m_texts.GetText("Txt_UpdateAv"));
    view.SetText(IDC_UPDATE_NOTICE, FormatNumbers(notice, { m_nMajor, m_nMinor }));
}

#include "window/AddServerDialog.h"

#include "config/Texts.h"
#include "platform/TextUtil.h"
#include "window/ControlIds.h"
#include "window/ProfileFormat.h"
#include "window/ServerAddressDialog.h"
#include "window/WindowView.h"

CAddServerDialog::CAddServerDialog(const CTexts& texts, WhyRefused whyRefused)
    : m_texts(texts)
    , m_fnWhyRefused(std::move(whyRefused))
{
}

int CAddServerDialog::TemplateId() const
{
    return IDD_ADD_SERVER;
}

void CAddServerDialog::OnInit(IWindowView& view)
{
    view.SetTitle(RemoveAll(m_texts.GetText("Txt_Add"), "..."));
    view.SetText(IDC_ADD_SERVER_LABEL, m_texts.GetText("Txt_ServerAdd"));
    view.SetText(IDC_ADD_SERVER_ADDRESS_LABEL, m_texts.GetText("Txt_ServerAddress"));
    view.SetText(IDC_OK, m_texts.GetText("Txt_OK"));
    view.SetText(IDC_CANCEL, m_texts.GetText("Txt_Cancel"));
}

IDialogBehaviour::EAfter CAddServerDialog::OnCommand(IWindowView& view, int id)
{
    if (id == IDC_CANCEL)
        return EAfter::Cancel;
    if (id != IDC_OK)
        return EAfter::Stay;
    m_strName = view.Text(IDC_ADD_SERVER_NAME);
    const std::string why = m_fnWhyRefused ? m_fnWhyRefused(std::string(Trim(m_strName))) : "";
    if (!why.empty()) {
        view.ShowWarning(why, m_texts.GetText("Txt_OK"));
        view.SetFocus(IDC_ADD_SERVER_NAME);
        return EAfter::Stay;
    }
    if (!CServerAddressDialog::CheckAddress(view, m_texts))
        return EAfter::Stay;
    m_strAddress = CServerAddressDialog::StoredAddress(view.Text(IDC_ADDRESS));
    return EAfter::Accept;
}

#include "window/ServerAddressDialog.h"

#include "config/Texts.h"
#include "platform/TextUtil.h"
#include "platform/WebAddress.h"
#include "window/ControlIds.h"
#include "window/ProfileFormat.h"
#include "window/WindowView.h"

namespace {

constexpr const char* kNoAddress = "-";

} // namespace

CServerAddressDialog::CServerAddressDialog(
    const CTexts& texts, std::string server, const std::string& address)
    : m_texts(texts)
    , m_strServer(std::move(server))
    , m_strAddress(address)
{
}

int CServerAddressDialog::TemplateId() const
{
    return IDD_SERVER_ADDRESS;
}

void CServerAddressDialog::OnInit(IWindowView& view)
{
    view.SetTitle(RemoveAll(m_texts.GetText("Txt_Address"), "...") + ": " + m_strServer);
    view.SetText(IDC_ADDRESS_LABEL, m_texts.GetText("Txt_ServerAddress"));
    view.SetText(IDC_OK, m_texts.GetText("Txt_OK"));
    view.SetText(IDC_CANCEL, m_texts.GetText("Txt_Cancel"));
    view.SetText(IDC_ADDRESS, m_strAddress == kNoAddress ? "" : m_strAddress);
    view.SetFocus(IDC_ADDRESS);
}

IDialogBehaviour::EAfter CServerAddressDialog::OnCommand(IWindowView& view, int id)
{
    if (id == IDC_CANCEL)
        return EAfter::Cancel;
    if (id != IDC_OK || !CheckAddress(view, m_texts))
        return EAfter::Stay;
    m_strAddress = StoredAddress(view.Text(IDC_ADDRESS));
    return EAfter::Accept;
}

std::string CServerAddressDialog::StoredAddress(const std::string& typed)
{
    const std::string address(Trim(typed));
    return address.empty() ? kNoAddress : address;
}

bool CServerAddressDialog::IsTakenAddress(const std::string& typed)
{
    const std::string_view address = Trim(typed);
    return address.empty() || IsWebAddress(address);
}

bool CServerAddressDialog::CheckAddress(IWindowView& view, const CTexts& texts)
{
    if (IsTakenAddress(view.Text(IDC_ADDRESS)))
        return true;
    view.ShowWarning(texts.GetText("Txt_AddressInvalid"), texts.GetText("Txt_OK"));
    view.SetFocus(IDC_ADDRESS);
    return false;
}

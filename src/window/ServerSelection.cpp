#include "window/ServerSelection.h"

#include "config/Texts.h"
#include "platform/TextUtil.h"
#include "servers/ServerCache.h"
#include "window/AddServerDialog.h"
#include "window/ControlIds.h"
#include "window/ServerAddressDialog.h"
#include "window/WindowView.h"

#include <algorithm>
#include <utility>

CServerSelection::CServerSelection(const CTexts& texts, CServerCache& servers, std::string current)
    : m_texts(texts)
    , m_servers(servers)
    , m_strCurrent(std::move(current))
{
}

int CServerSelection::TemplateId() const
{
    return IDD_SERVERS;
}

void CServerSelection::OnInit(IWindowView& view)
{
    view.SetTitle(m_texts.GetText("Txt_Serversel"));
    view.SetText(IDC_OK, m_texts.GetText("Txt_OK"));
    view.SetText(IDC_CANCEL, m_texts.GetText("Txt_Cancel"));
    view.SetText(IDC_SERVER_ADD, m_texts.GetText("Txt_Add"));
    view.SetText(IDC_SERVER_ADDRESS, m_texts.GetText("Txt_Address"));

    m_astrNames = m_servers.Names();
    std::vector<bool> selected;
    selected.reserve(m_astrNames.size());
    for (const std::string& name : m_astrNames)
        selected.push_back(
            name == m_strCurrent || m_servers.GetServerInt(name, "Selected", 0) == 1);
    view.SetItems(IDC_SERVER_LIST, m_astrNames);
    view.SetSelectedItems(IDC_SERVER_LIST, selected);
}

IDialogBehaviour::EAfter CServerSelection::OnCommand(IWindowView& view, int id)
{
    switch (id) {
    case IDC_OK:
        StoreSelection(view);
        return EAfter::Accept;
    case IDC_CANCEL:
        return EAfter::Cancel;
    case IDC_SERVER_ADD:
        AddServer(view);
        return EAfter::Stay;
    case IDC_SERVER_ADDRESS:
        ChangeAddress(view);
        return EAfter::Stay;
    default:
        return EAfter::Stay;
    }
}

void CServerSelection::StoreSelection(IWindowView& view)
{
    std::vector<bool> selected = view.SelectedItems(IDC_SERVER_LIST);
    selected.resize(m_astrNames.size(), false);
    for (size_t row = m_astrNames.size(); row-- > 0;)
        m_servers.SetServerInt(m_astrNames[row], "Selected", selected[row] ? 1 : 0);
    if (std::find(selected.begin(), selected.end(), true) != selected.end())
        return;
    if (!m_strCurrent.empty())
        m_servers.SetServerValue(m_strCurrent, "Selected", "1");
}

void CServerSelection::AddServer(IWindowView& view)
{
    CAddServerDialog dialog(m_texts, [this](const std::string& name) { return WhyRefused(name); });
    if (!view.RunDialog(dialog))
        return;
    const std::string name(Trim(dialog.Name()));
    if (!CanAdd(name))
        return;

    m_servers.LoadServerTable(name, dialog.Address());
    m_servers.SaveServerTable(name);

    const auto known = std::find(m_astrNames.begin(), m_astrNames.end(), name);
    const auto row = static_cast<size_t>(known - m_astrNames.begin());
    if (known == m_astrNames.end()) {
        view.AddItem(IDC_SERVER_LIST, name);
        m_astrNames.push_back(name);
    }
    ShowSelected(view, row);
}

// The list's current entry, else its first selected one; -1 for none.
int CServerSelection::CurrentRow(const IWindowView& view) const
{
    const int current = view.CurrentItem(IDC_SERVER_LIST);
    if (current >= 0 && current < static_cast<int>(m_astrNames.size()))
        return current;
    const std::vector<bool> selected = view.SelectedItems(IDC_SERVER_LIST);
    const auto first = std::find(selected.begin(), selected.end(), true);
    return first == selected.end() ? -1 : static_cast<int>(first - selected.begin());
}

void CServerSelection::ChangeAddress(IWindowView& view)
{
    const int row = CurrentRow(view);
    if (row < 0 || row >= static_cast<int>(m_astrNames.size()))
        return;
    const std::string& name = m_astrNames[static_cast<size_t>(row)];
    const CServerTable* table = m_servers.FindTable(name);
    if (!table)
        return;
    CServerAddressDialog dialog(m_texts, name, table->m_strUrl);
    if (view.RunDialog(dialog))
        m_servers.SetServerAddress(name, dialog.Address());
}

// A name that reaches a section of the program's own would write the server's metadata there,
// as a server list's row would; a server that exists keeps its address.
bool CServerSelection::CanAdd(const std::string& name) const
{
    if (name.empty() || !IsStorableServerName(name) || !m_servers.IsUsableName(name))
        return false;
    return !m_servers.HasListedAddress(name);
}

void CServerSelection::ShowSelected(IWindowView& view, size_t row)
{
    std::vector<bool> selected = view.SelectedItems(IDC_SERVER_LIST);
    selected.resize(m_astrNames.size(), false);
    selected[row] = true;
    view.SetSelectedItems(IDC_SERVER_LIST, selected);
    view.SetCurrentItem(IDC_SERVER_LIST, static_cast<int>(row));
}

bool CServerSelection::IsStorableServerName(const std::string& name)
{
    // "=" would end the key early, a leading "[" makes a section header, a leading ";" a
    // comment; a control character could split the line.
    if (name.empty() || name.front() == '[' || name.front() == ';')
        return false;
    return std::none_of(name.begin(), name.end(),
        [](char c) { return c == '=' || static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; });
}

std::string CServerSelection::WhyRefused(const std::string& name) const
{
    if (name.empty() || (IsStorableServerName(name) && m_servers.IsUsableName(name)))
        return {};
    if (IsStorableServerName(name) && m_servers.NamesProgramSection(name))
        return CTexts::Fill(m_texts.GetText("Txt_ServerNameReserved"), name, {});
    return m_texts.GetText("Txt_ServerNameInvalid");
}

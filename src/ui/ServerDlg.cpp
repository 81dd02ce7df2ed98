#include "ui/ServerDlg.h"

#include "config/Texts.h"
#include "platform/TextUtil.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "servers/ServerName.h"
#include "ui/AddServerDlg.h"
#include "ui/DialogBuilder.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QItemSelectionModel>
#include <QListWidget>

#include <algorithm>

CServerDlg::CServerDlg(
    const CTexts& texts, CIniFile& profile, CServerCache& servers, QWidget* parent)
    : QDialog(parent)
    , m_texts(texts)
    , m_profile(profile)
    , m_servers(servers)
{
    CDialogBuilder builder(CDialogTemplate::Load(134));
    builder.Build(*this);
    m_pList = builder.Control<QListWidget>(1002);
    auto* ok = builder.Control<QAbstractButton>(1);
    auto* cancel = builder.Control<QAbstractButton>(2);
    auto* add = builder.Control<QAbstractButton>(1021);
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(add, &QAbstractButton::clicked, this, &CServerDlg::OnAdd);

    setWindowTitle(ToQString(texts.GetText("Txt_Serversel")));
    ok->setText(ToQString(texts.GetText("Txt_OK")));
    cancel->setText(ToQString(texts.GetText("Txt_Cancel")));
    add->setText(ToQString(texts.GetText("Txt_Add")));

    // A server without a Selected key shows unselected here, though the server box offers it.
    const std::string current = m_profile.GetString("Settings", "Server", "");
    QStringList names;
    std::vector<bool> selected;
    for (const std::string& name : m_servers.m_astrServers) {
        names << ToQString(name);
        m_astrNames.push_back(name);
        selected.push_back(name == current || m_servers.GetServerInt(name, "Selected", 0) == 1);
    }
    m_pList->addItems(names);
    SelectRows(selected);
}

// One selection of whole runs of rows: selecting item by item costs time in the number of
// items already selected, which made a list of 20,000 servers open in tens of seconds.
void CServerDlg::SelectRows(const std::vector<bool>& selected)
{
    QItemSelection selection;
    const QAbstractItemModel* model = m_pList->model();
    for (std::size_t first = 0; first < selected.size();) {
        std::size_t end = first;
        while (end < selected.size() && selected[end] == selected[first])
            ++end;
        if (selected[first])
            selection.select(model->index(static_cast<int>(first), 0),
                model->index(static_cast<int>(end - 1), 0));
        first = end;
    }
    m_pList->selectionModel()->select(selection, QItemSelectionModel::Select);
}

void CServerDlg::accept()
{
    int selected = 0;
    for (int row = m_pList->count() - 1; row >= 0; --row) {
        const bool isSelected = m_pList->item(row)->isSelected();
        m_servers.SetServerInt(
            m_astrNames[static_cast<size_t>(row)], "Selected", isSelected ? 1 : 0);
        selected += isSelected ? 1 : 0;
    }
    if (selected == 0) {
        const std::string current = m_profile.GetString("Settings", "Server", "");
        if (!current.empty())
            m_servers.SetServerValue(current, "Selected", "1");
    }
    QDialog::accept();
}

void CServerDlg::OnAdd()
{
    CAddServerDlg dialog(m_texts, this);
    dialog.m_fnWhyRefused = [this](const std::string& name) { return WhyRefused(name); };
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string name(Trim(dialog.m_strName));
    // A name that reaches a section of the program's own would write the server's metadata
    // there, as a server list's row would.
    if (name.empty() || !IsStorableServerName(name) || !IsUsableServerName(name, m_profile))
        return;
    if (!m_profile.GetString("Preislisten", name, "").empty())
        return;

    m_servers.LoadServerTable(name, "-");
    m_servers.SaveServerTable(name);

    const auto known = std::find(m_astrNames.begin(), m_astrNames.end(), name);
    QListWidgetItem* item = nullptr;
    if (known != m_astrNames.end()) {
        item = m_pList->item(static_cast<int>(known - m_astrNames.begin()));
    } else {
        item = new QListWidgetItem(ToQString(name), m_pList);
        m_astrNames.push_back(name);
    }
    item->setSelected(true);
    m_pList->scrollToItem(item);
}

bool CServerDlg::IsStorableServerName(const std::string& name)
{
    // "=" would end the key early, a leading "[" makes a section header, a leading ";" a
    // comment; a control character could split the line.
    if (name.empty() || name.front() == '[' || name.front() == ';')
        return false;
    return std::none_of(name.begin(), name.end(),
        [](char c) { return c == '=' || static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; });
}

std::string CServerDlg::WhyRefused(const std::string& name)
{
    if (name.empty() || (IsStorableServerName(name) && IsUsableServerName(name, m_profile)))
        return {};
    if (IsStorableServerName(name) && IsProgramSection(name, m_profile))
        return CTexts::Fill(m_texts.GetText("Txt_ServerNameReserved"), name, {});
    return m_texts.GetText("Txt_ServerNameInvalid");
}

#include "ui/ServerDlg.h"

#include "config/Texts.h"
#include "platform/TextUtil.h"
#include "prices/ServerCache.h"
#include "prices/ServerName.h"
#include "profile/IniFile.h"
#include "ui/AddServerDlg.h"
#include "ui/DialogBuilder.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QListWidget>

#include <algorithm>

CServerDlg::CServerDlg(const CTexts& texts, CIniFile& profile, CServerCache& servers, QWidget* parent)
    : QDialog(parent), m_texts(texts), m_profile(profile), m_servers(servers)
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
    for (const std::string& name : m_servers.m_astrServers) {
        auto* item = new QListWidgetItem(ToQString(name), m_pList);
        m_astrNames.push_back(name);
        item->setSelected(name == current || m_servers.GetServerInt(name, "Selected", 0) == 1);
    }
}

void CServerDlg::accept()
{
    int selected = 0;
    for (int row = m_pList->count() - 1; row >= 0; --row) {
        const bool isSelected = m_pList->item(row)->isSelected();
        m_servers.SetServerInt(m_astrNames[static_cast<size_t>(row)], "Selected", isSelected ? 1 : 0);
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
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '=' || static_cast<unsigned char>(c) < 0x20 || c == '\x7f';
    });
}

#pragma once

#include <QDialog>

#include <string>
#include <vector>

class CIniFile;
class CServerCache;
class CTexts;
class QListWidget;

// Which servers the main window's server box offers; also adds servers by hand.
class CServerDlg : public QDialog {
    Q_OBJECT
public:
    CServerDlg(
        const CTexts& texts, CIniFile& profile, CServerCache& servers, QWidget* parent = nullptr);

    // Stores every server's Selected flag; the current server stays on offer when nothing is
    // selected.
    void accept() override;
    // Asks for a name and registers the server at once, without an address.
    void OnAdd();

    // A name the profile can hold as a key and as a section name.
    static bool IsStorableServerName(const std::string& name);
    // Why a server of this name cannot be added, in the user's language; empty when it can
    // (an empty name is no refusal: nothing happens).
    std::string WhyRefused(const std::string& name);

private:
    void SelectRows(const std::vector<bool>& selected);

    const CTexts& m_texts;
    CIniFile& m_profile;
    CServerCache& m_servers;
    QListWidget* m_pList = nullptr;
    std::vector<std::string> m_astrNames; // the list's entries, in list order
};

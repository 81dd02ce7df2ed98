#pragma once

#include "window/DialogBehaviour.h"

#include <string>
#include <vector>

class CServerCache;
class CTexts;

// Which servers the main window's server box offers; also adds servers by hand.
class CServerSelection : public IDialogBehaviour {
public:
    // current: the server the main window shows, which stays on offer.
    CServerSelection(const CTexts& texts, CServerCache& servers, std::string current);

    int TemplateId() const override;
    // A server without a Selected key shows unselected, though the server box offers it.
    void OnInit(IWindowView& view) override;
    // OK stores every server's Selected flag; the current server stays on offer when nothing
    // is selected. Add asks for a name and an address (or none) and registers the server at
    // once; Address shows and changes the address of the list's current server at once.
    EAfter OnCommand(IWindowView& view, int id) override;

    // A name the profile can hold as a key and as a section name.
    static bool IsStorableServerName(const std::string& name);
    // Why a server of this name cannot be added, in the user's language; empty when it can
    // (an empty name is no refusal: nothing happens).
    std::string WhyRefused(const std::string& name) const;

private:
    void StoreSelection(IWindowView& view);
    void AddServer(IWindowView& view);
    void ChangeAddress(IWindowView& view);
    int CurrentRow(const IWindowView& view) const;
    bool CanAdd(const std::string& name) const;
    void ShowSelected(IWindowView& view, size_t row);

    const CTexts& m_texts;
    CServerCache& m_servers;
    const std::string m_strCurrent;
    std::vector<std::string> m_astrNames; // the list's entries, in list order
};

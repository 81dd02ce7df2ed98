#pragma once

#include "prices/PricesFixture.h"
#include "serverlist/ServerListUpdater.h"

#include <string>

// A profile whose server list is fetched from the loopback server's /list, and its updater.
class ServerListFixture : public PricesFixture {
protected:
    explicit ServerListFixture(const std::string& extra = "")
    {
        LoadProfile(extra);
        m_profile.WriteString("Settings", "ServerList", Url("/list"));
    }

    bool UpdateWith(const std::string& body)
    {
        Route("/list", body);
        return Update(&m_ui);
    }

    bool Update(IUserInterface* ui) { return UpdateServerList(m_updater, m_profile, m_fetch, ui); }

    // The profile without the ServerUpd line, to compare what else an update changed.
    std::string ProfileWithoutStamp()
    {
        m_profile.WriteString("Settings", "ServerUpd", std::nullopt);
        return ProfileText();
    }

    CFakeUserInterface m_ui;
    CServerListUpdater m_updater { m_profile, m_cache, m_texts, m_clock };
    int m_nRefills = 0;
    CSubscription m_refills = m_updater.OnServersChanged([this] { ++m_nRefills; });
};

#pragma once

#include "config/PlantCatalog.h"
#include "config/ServerListUpdate.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "net/Fetcher.h"
#include "prices/DownloadOutcome.h"
#include "prices/PriceDownloader.h"
#include "prices/PriceList.h"
#include "profile/IniFile.h"
#include "serverlist/ServerListUpdater.h"
#include "servers/ServerCache.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CDownloadRun;
class COfferCalculator;
class CServerListRun;
class IClock;
class IUserInterface;

// Everything that lives for the whole run: the profile document, the texts of the chosen
// language, the settings, the catalogue's names, the cached prices of every server and the
// internet session. The window holds a reference; nothing reaches it through a global.
class CQuotinoApp : private IServerListUpdate {
public:
    // profilePath: where the profile lives; copies of downloads go to the same folder.
    CQuotinoApp(std::string profilePath, const IClock& clock);
    CQuotinoApp(const CQuotinoApp&) = delete;
    CQuotinoApp& operator=(const CQuotinoApp&) = delete;
    ~CQuotinoApp() override;

    // Before the main window runs: from here on the profile reaches the disk only where the
    // program says so, never behind its back.
    void InitInstance();
    // After the main window has closed (by any means, also at once after a failed load):
    // the exit save. Returns whether it succeeded.
    bool SaveProfile();
    // After every command, and when the desktop session asks: writes the profile when the
    // document changed since it was last saved, so that a crash or a lost display loses at
    // most the command in flight. A failure stays silent here; the exit save reports it.
    bool SaveChanges();
    // Releases the price cache.
    void ExitInstance();

    // Loads the whole configuration into the application and the window's tables.
    bool LoadConfiguration(COfferCalculator& window, IUserInterface& ui);
    // Lets the user pick another language, the current one preselected, and takes it at once:
    // the setting, the texts, the plant names and the report texts. False when the user
    // cancels or picks a language without texts; then nothing changes. The caller relabels
    // the window and recalculates.
    bool ChangeLanguage(COfferCalculator& window, IUserInterface& ui);

    std::string GetText(std::string_view key) const { return m_texts.GetText(key); }
    std::string TranslatePlantName(std::string_view name) const
    {
        return m_catalog.TranslatePlantName(name);
    }

    // The window runs the start-up's server-list update itself, after its first report and
    // without waiting for the network: the load only notes that the list is due.
    bool IsServerListUpdateDue() const { return m_bServerListUpdateDue; }
    void ClearServerListUpdateDue() { m_bServerListUpdateDue = false; }

    // Settings may change the fetch's flags at load; every network command takes them afresh.
    void PrepareFetch();

    // The server the user chose last, and the window size stored as "width,height" text.
    std::string StoredServer();
    void StoreServer(const std::string& name);
    std::string StoredWindowSize();
    void StoreWindowSize(const std::string& text);
    // The servers the server box offers, in the cache's order: every one not switched off
    // in the server dialog.
    std::vector<std::string> OfferedServers() const;
    // Runs whenever a server-list update changed the servers; null stops it.
    void OnServersChanged(std::function<void()> refill);

    // Network runs over the program's own fetch; the caller starts and drives them.
    // maxTransfers as for CDownloadRun.
    std::unique_ptr<CDownloadRun> NewDownloadRun(std::vector<std::string> names);
    std::unique_ptr<CDownloadRun> NewDownloadAllRun(int maxTransfers = 0);
    std::unique_ptr<CServerListRun> NewServerListRun(long totalSeconds);
    void ApplyServerList(std::string_view body, IUserInterface* ui);
    bool ImportPriceList(const std::string& server, const std::string& path);
    bool PastePriceList(const std::string& server, std::string_view text);

    // Whether the profile could not be read and is therefore never saved over.
    bool KeepsProfileFile() const;
    // Set when the start told the user that the profile cannot be read or written.
    bool ProfileProblemShown() const { return m_bProfileProblemShown; }
    // The profile's full file name and the system's error number of its last failed access.
    std::string ProfileFileName() const;
    int LastProfileError() const;
    // Reads the chosen language's texts afresh, as when the window closed before the load.
    void ReloadTexts();

    // The subsystems a caller works with directly.
    CIniFile& Profile() { return m_profile; }
    const CTexts& Texts() const { return m_texts; }
    const CPlantCatalog& Catalog() const { return m_catalog; }
    CServerCache& Servers() { return m_servers; }
    CSettings& Settings() { return m_settings; }
    const CSettings& Settings() const { return m_settings; }
    CFetcher& Fetch() { return m_fetch; }
    CDownloadOutcomes& Outcomes() { return m_outcomes; }

private:
    void NoteServerListDue() override;

    const std::string m_strProfilePath;
    CIniFile m_profile;
    CTexts m_texts;
    CPlantCatalog m_catalog;
    CSettings m_settings;
    CServerCache m_servers;
    CFetcher m_fetch;
    CPriceList m_priceList;
    CServerListUpdater m_serverList;
    CDownloadOutcomes m_outcomes;
    CPriceDownloader m_downloader;
    bool m_bProfileProblemShown = false;
    const IClock& m_clock;
    // Of the document as loaded or last saved by SaveChanges.
    std::uint64_t m_nSavedFingerprint = 0;
    bool m_bServerListUpdateDue = false;
};

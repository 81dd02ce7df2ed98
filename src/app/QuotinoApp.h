#pragma once

#include "calc/OfferCalculator.h"
#include "config/PlantCatalog.h"
#include "config/ServerListUpdate.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "net/Fetcher.h"
#include "platform/Subscription.h"
#include "prices/DownloadOutcome.h"
#include "prices/DownloadRun.h"
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

class CServerListRun;
class IClock;
class IUserInterface;

// Everything that lives for the whole run: the profile document, the texts of the chosen
// language, the settings, the catalogue's names, the cached prices of every server and the
// internet session. The window holds a reference; nothing reaches it through a global.
class CQuotinoApp : private IServerListUpdate {
public:
    // profilePath: where the profile lives; copies of downloads go to the same folder.
    // limits: the fetch's bounds against servers that stall, loop or flood.
    CQuotinoApp(std::string profilePath, const IClock& clock, const SFetchLimits& limits = {});
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

    // The window's tables and computations over this run's catalogue, texts, prices and
    // settings.
    COfferCalculator NewOfferCalculator();
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
    // A failed server-list update is news only until the next command, so it is forgotten.
    void BeginNetworkCommand();

    // The server the user chose last, and the window size stored as "width,height" text.
    std::string StoredServer();
    void StoreServer(const std::string& name);
    std::string StoredWindowSize();
    void StoreWindowSize(const std::string& text);
    // The servers the server box offers, in the cache's order: every one not switched off
    // in the server dialog.
    std::vector<std::string> OfferedServers() const;
    // listener runs whenever a server-list update changed the servers, for as long as the
    // subscription lives.
    [[nodiscard]] CSubscription OnServersChanged(std::function<void()> listener);

    // Network runs over the program's own fetch; the caller starts and drives them, taking
    // the finished transfers whenever the listener heard of them (on the fetch's worker: it
    // may only hand the news over to the caller's thread). progress and maxTransfers as for
    // CDownloadRun.
    std::unique_ptr<CDownloadRun> NewDownloadRun(std::vector<std::string> names);
    std::unique_ptr<CDownloadRun> NewDownloadAllRun(
        CDownloadRun::Progress progress = {}, int maxTransfers = 0);
    std::unique_ptr<CServerListRun> NewServerListRun(long totalSeconds);
    [[nodiscard]] CSubscription SubscribeFinished(std::function<void()> listener);
    std::vector<STransferResponse> TakeFinished();
    void CancelTransfers();
    // A Download all that ended, also by a stop: its counts join the tooltips.
    void RecordDownloadAll(const CDownloadRun& run);
    // A server-list run that ended: its outcome joins the tooltips, and a list that came is
    // applied (ui shows the update notice; the listeners of OnServersChanged hear of it).
    void TakeServerList(const CServerListRun& run, IUserInterface* ui);
    // Like a download into the server, and like any command they end the news of a failed
    // server-list update.
    bool ImportPriceList(const std::string& server, const std::string& path);
    bool PastePriceList(const std::string& server, std::string_view text);
    // The date label's tooltip for a server: why its last download failed, the counts of the
    // last Download all, a failed server-list update; where the server has no address to
    // download from, what the player can do instead.
    std::string OutcomeTooltip(const std::string& server) const;
    // The server's prices as a price list file holds them, headed by the two column names.
    std::string PriceListText(
        const std::string& server, const std::string& article, const std::string& market) const;

    // Whether the profile could not be read and is therefore never saved over.
    bool KeepsProfileFile() const;
    // Set when the start told the user that the profile cannot be read or written.
    bool ProfileProblemShown() const { return m_bProfileProblemShown; }
    // The profile's full file name and the system's error number of its last failed access.
    std::string ProfileFileName() const;
    int LastProfileError() const;
    // Reads the chosen language's texts afresh, as when the window closed before the load.
    void ReloadTexts();

    // The subsystems a caller works with directly: the texts and the catalogue to read, the
    // settings' setters, and the server cache that the server dialog edits.
    const CTexts& Texts() const { return m_texts; }
    const CPlantCatalog& Catalog() const { return m_catalog; }
    CServerCache& Servers() { return m_servers; }
    CSettings& Settings() { return m_settings; }
    const CSettings& Settings() const { return m_settings; }
    // The document itself, which no window touches: tests and the fuzzer read and edit it.
    CIniFile& Profile() { return m_profile; }

private:
    void NoteServerListDue() override;
    bool HasNoUsableAddress(const std::string& server) const;

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

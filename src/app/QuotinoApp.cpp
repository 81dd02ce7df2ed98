#include "app/QuotinoApp.h"

#include "app/ConfigurationLoader.h"
#include "calc/OfferCalculator.h"
#include "config/CatalogLoader.h"
#include "config/SettingKeys.h"
#include "platform/ByteSink.h"
#include "platform/UserInterface.h"
#include "platform/Utf8Path.h"
#include "platform/WebAddress.h"
#include "prices/DownloadRun.h"
#include "prices/PriceListFile.h"
#include "serverlist/ServerListRun.h"

#include <cstring>

namespace {

// Hashes the text the document would write, without holding a copy of it. The whole profile
// passes through here at every start, so it takes eight bytes a step; each step is one-to-one
// in the state and in the bytes, so a change confined to one step always changes the hash.
class CFingerprintSink : public CByteSink {
public:
    bool Write(const char* data, std::size_t size) override
    {
        std::size_t i = 0;
        for (; i + sizeof(std::uint64_t) <= size; i += sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, data + i, sizeof(word));
            Mix(word);
        }
        std::uint64_t tail = 0;
        std::memcpy(&tail, data + i, size - i);
        Mix(tail ^ (static_cast<std::uint64_t>(size - i) << 59));
        return true;
    }

    std::uint64_t m_nHash = 0xcbf29ce484222325ULL;

private:
    void Mix(std::uint64_t word)
    {
        m_nHash = (m_nHash ^ word) * 0x9e3779b97f4a7c15ULL;
        m_nHash ^= m_nHash >> 32;
    }
};

std::uint64_t Fingerprint(const CIniFile& profile)
{
    CFingerprintSink sink;
    profile.WriteTo(sink);
    return sink.m_nHash;
}

} // namespace

using namespace SettingKeys;

CQuotinoApp::CQuotinoApp(std::string profilePath, const IClock& clock, const SFetchLimits& limits)
    : m_strProfilePath(std::move(profilePath))
    , m_settings(m_profile)
    , m_servers(m_profile, m_texts, m_catalog)
    , m_fetch(limits)
    , m_priceList(m_profile, m_catalog)
    , m_serverList(m_profile, m_servers, m_texts, clock)
    , m_downloader(m_profile, m_servers, m_priceList, m_fetch, clock, m_outcomes)
    , m_clock(clock)
{
}

CQuotinoApp::~CQuotinoApp() = default;

void CQuotinoApp::InitInstance()
{
    m_profile.SetAutoReload(false);
    m_profile.SetAutoSave(false);
    m_fetch.SetCopyFolder(Utf8FromPath(PathFromUtf8(m_strProfilePath).parent_path()));
}

bool CQuotinoApp::SaveProfile()
{
    return m_profile.Save();
}

bool CQuotinoApp::SaveChanges()
{
    // A profile that could not be read is never saved over.
    if (m_profile.KeepsFile())
        return false;
    const std::uint64_t fingerprint = Fingerprint(m_profile);
    if (fingerprint == m_nSavedFingerprint)
        return true;
    if (!m_profile.Save())
        return false;
    m_nSavedFingerprint = fingerprint;
    return true;
}

void CQuotinoApp::ExitInstance()
{
    m_servers.RemoveServerTables();
}

COfferCalculator CQuotinoApp::NewOfferCalculator()
{
    return COfferCalculator(m_catalog, m_texts, m_servers, m_settings);
}

bool CQuotinoApp::LoadConfiguration(COfferCalculator& window, IUserInterface& ui)
{
    CConfigurationLoader loader(
        m_profile, m_settings, m_texts, m_catalog, m_servers, m_clock, *this, m_strProfilePath);
    std::string server = window.Server();
    const bool loaded
        = loader.LoadConfiguration(window.TablesToLoad(), window.TemplatesToLoad(), server, ui);
    window.SelectServer(std::move(server));
    m_bProfileProblemShown = loader.ProfileProblemShown();
    // What the load itself changed follows from the file again at the next start.
    m_nSavedFingerprint = Fingerprint(m_profile);
    return loaded;
}

bool CQuotinoApp::ChangeLanguage(COfferCalculator& window, IUserInterface& ui)
{
    const CIniSection* languages = m_profile.FindSection("Lang");
    if (!languages)
        return false;
    std::vector<std::string> names;
    languages->GetKeys(names);
    const std::string previous = m_profile.GetString(kSection, kLanguage, "");
    std::string chosen = previous;
    if (!ui.ChooseLanguage(names, chosen) || chosen.empty())
        return false;

    m_profile.WriteString(kSection, kLanguage, chosen);
    m_texts.LoadTexts(m_profile);
    // A language listed without texts would blank the window and force a rebuild at the next
    // start; the previous language stays.
    if (m_texts.GetText("Txt_Currency").empty()) {
        m_profile.WriteString(kSection, kLanguage, previous);
        m_texts.LoadTexts(m_profile);
        return false;
    }
    LoadDisplayNames(m_catalog, m_texts, window.TablesToLoad());
    window.ReadTexts();
    return true;
}

void CQuotinoApp::NoteServerListDue()
{
    m_bServerListUpdateDue = true;
}

void CQuotinoApp::BeginNetworkCommand()
{
    m_outcomes.ForgetServerList();
    m_fetch.SetLoadFlag(m_settings.LoadFlag());
}

std::string CQuotinoApp::StoredServer()
{
    return m_profile.GetString(kSection, kServer, "");
}

void CQuotinoApp::StoreServer(const std::string& name)
{
    m_profile.WriteString(kSection, kServer, name);
}

std::string CQuotinoApp::StoredWindowSize()
{
    return m_profile.GetString(kSection, kWindowSize, "");
}

void CQuotinoApp::StoreWindowSize(const std::string& text)
{
    m_profile.WriteString(kSection, kWindowSize, text);
}

std::vector<std::string> CQuotinoApp::OfferedServers() const
{
    std::vector<std::string> offered;
    for (const std::string& name : m_servers.Names())
        if (m_servers.GetServerInt(name, "Selected", 1) != 0)
            offered.push_back(name);
    return offered;
}

CSubscription CQuotinoApp::OnServersChanged(std::function<void()> listener)
{
    return m_serverList.OnServersChanged(std::move(listener));
}

std::unique_ptr<CDownloadRun> CQuotinoApp::NewDownloadRun(std::vector<std::string> names)
{
    return std::make_unique<CDownloadRun>(m_downloader, m_fetch, std::move(names));
}

std::unique_ptr<CDownloadRun> CQuotinoApp::NewDownloadAllRun(
    CDownloadRun::Progress progress, int maxTransfers)
{
    return std::make_unique<CDownloadRun>(
        m_downloader, m_fetch, m_downloader.OfferedServers(), maxTransfers, std::move(progress));
}

std::unique_ptr<CServerListRun> CQuotinoApp::NewServerListRun(long totalSeconds)
{
    return std::make_unique<CServerListRun>(m_profile, m_fetch, totalSeconds);
}

CSubscription CQuotinoApp::SubscribeFinished(std::function<void()> listener)
{
    return m_fetch.SubscribeFinished(std::move(listener));
}

std::vector<STransferResponse> CQuotinoApp::TakeFinished()
{
    return m_fetch.TakeFinished();
}

void CQuotinoApp::CancelTransfers()
{
    m_fetch.CancelAll();
}

void CQuotinoApp::RecordDownloadAll(const CDownloadRun& run)
{
    m_outcomes.RecordDownloadAll(run.Failed(), run.Count(), run.Applied());
}

void CQuotinoApp::TakeServerList(const CServerListRun& run, IUserInterface* ui)
{
    m_outcomes.RecordServerList(run.Outcome());
    if (run.Succeeded())
        m_serverList.ApplyServerList(run.Body(), ui);
}

bool CQuotinoApp::ImportPriceList(const std::string& server, const std::string& path)
{
    m_outcomes.ForgetServerList();
    return m_downloader.ImportPriceList(server, path);
}

bool CQuotinoApp::PastePriceList(const std::string& server, std::string_view text)
{
    m_outcomes.ForgetServerList();
    return m_downloader.PastePriceList(server, text);
}

// No web address, or one that its last download showed to lead nowhere.
bool CQuotinoApp::HasNoUsableAddress(const std::string& server) const
{
    const CServerTable* table = m_servers.FindTable(server);
    if (!table)
        return false;
    using EKind = SDownloadOutcome::EKind;
    const EKind last = m_outcomes.Find(server).kind;
    return !IsWebAddress(table->m_strUrl) || last == EKind::HostNotFound
        || last == EKind::AddressMissing || last == EKind::NotAllowed;
}

std::string CQuotinoApp::OutcomeTooltip(const std::string& server) const
{
    std::string tooltip = m_outcomes.Tooltip(server, m_texts);
    if (HasNoUsableAddress(server))
        tooltip += (tooltip.empty() ? "" : "\n") + CTexts::Fill(GetText("Txt_TipNoAddress"), {});
    return tooltip;
}

std::string CQuotinoApp::PriceListText(
    const std::string& server, const std::string& article, const std::string& market) const
{
    return CPriceListFile::Text(m_servers, server, m_catalog, article, market);
}

bool CQuotinoApp::KeepsProfileFile() const
{
    return m_profile.KeepsFile();
}

std::string CQuotinoApp::ProfileFileName() const
{
    return m_profile.Status().m_szFullName;
}

int CQuotinoApp::LastProfileError() const
{
    return m_profile.LastFileError();
}

void CQuotinoApp::ReloadTexts()
{
    m_texts.LoadTexts(m_profile);
}

#include "app/QuotinoApp.h"

#include "app/ConfigurationLoader.h"
#include "calc/OfferCalculator.h"
#include "config/CatalogLoader.h"
#include "config/SettingKeys.h"
#include "platform/ByteSink.h"
#include "platform/UserInterface.h"
#include "platform/Utf8Path.h"
#include "prices/DownloadRun.h"
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

CQuotinoApp::CQuotinoApp(std::string profilePath, const IClock& clock)
    : m_strProfilePath(std::move(profilePath))
    , m_settings(m_profile)
    , m_servers(m_profile, m_texts, m_catalog)
    , m_priceList(m_profile, m_catalog)
    , m_serverList(m_profile, m_servers, m_texts, clock)
    , m_downloader(m_profile, m_servers, m_priceList, m_fetch, clock, m_outcomes)
    , m_clock(clock)
{
}

CQuotinoApp::~CQuotinoApp() = default;

void CQuotinoApp::InitInstance()
{
    m_profile.m_bAutoReload = false;
    m_profile.m_bAutoSave = false;
    m_fetch.m_strCopyFolder = Utf8FromPath(PathFromUtf8(m_strProfilePath).parent_path());
    m_fetch.m_nLastError = 0;
}

bool CQuotinoApp::SaveProfile()
{
    return m_profile.Save();
}

bool CQuotinoApp::SaveChanges()
{
    // A profile that could not be read is never saved over.
    if (m_profile.m_bKeepFile)
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

void CQuotinoApp::PrepareFetch()
{
    m_fetch.m_nLoadFlag = m_settings.LoadFlag();
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
    for (const std::string& name : m_servers.m_astrServers)
        if (m_servers.GetServerInt(name, "Selected", 1) != 0)
            offered.push_back(name);
    return offered;
}

void CQuotinoApp::OnServersChanged(std::function<void()> refill)
{
    m_serverList.m_fnRefillServers = std::move(refill);
}

std::unique_ptr<CDownloadRun> CQuotinoApp::NewDownloadRun(std::vector<std::string> names)
{
    return std::make_unique<CDownloadRun>(m_downloader, m_fetch, std::move(names));
}

std::unique_ptr<CDownloadRun> CQuotinoApp::NewDownloadAllRun(int maxTransfers)
{
    return std::make_unique<CDownloadRun>(
        m_downloader, m_fetch, m_downloader.OfferedServers(), maxTransfers);
}

std::unique_ptr<CServerListRun> CQuotinoApp::NewServerListRun(long totalSeconds)
{
    return std::make_unique<CServerListRun>(m_profile, m_fetch, totalSeconds);
}

void CQuotinoApp::ApplyServerList(std::string_view body, IUserInterface* ui)
{
    m_serverList.ApplyServerList(body, ui);
}

bool CQuotinoApp::ImportPriceList(const std::string& server, const std::string& path)
{
    return m_downloader.ImportPriceList(server, path);
}

bool CQuotinoApp::PastePriceList(const std::string& server, std::string_view text)
{
    return m_downloader.PastePriceList(server, text);
}

bool CQuotinoApp::KeepsProfileFile() const
{
    return m_profile.m_bKeepFile;
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

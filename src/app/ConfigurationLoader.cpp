#include "app/ConfigurationLoader.h"

#include "config/CatalogLoader.h"
#include "config/ListTemplates.h"
#include "config/PlantCatalog.h"
#include "config/PlantTables.h"
#include "config/Resource.h"
#include "config/ServerListUpdate.h"
#include "config/SettingKeys.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "platform/AtomicFile.h"
#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/IntegerScan.h"
#include "platform/SystemError.h"
#include "platform/TextCase.h"
#include "platform/UserInterface.h"
#include "platform/Utf8Path.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "servers/ServerName.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <optional>

namespace {

constexpr int kSecondsPerDay = 86400;
// Backups of rebuilt profiles kept beside it: "<profile>.bak" is the newest, ".bak.2" the oldest.
constexpr int kBackupCount = 3;

// Bring a 64-bit intermediate back into the range of a struct tm field.
int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Local midnight at the start of a "%d-%d-%d" day; an unreadable date counts as 1980-01-01.
std::time_t LocalMidnight(const std::string& date)
{
    int parts[3] = {};
    if (ScanSeparatedIntegers(date, '-', parts) < 3) {
        parts[0] = 1980;
        parts[1] = 1;
        parts[2] = 1;
    }
    std::tm day {};
    day.tm_year = ClampToInt(static_cast<long long>(parts[0]) - 1900);
    day.tm_mon = ClampToInt(static_cast<long long>(parts[1]) - 1);
    day.tm_mday = parts[2];
    day.tm_isdst = -1;
    return std::mktime(&day);
}

std::string DocumentText(const CIniFile& document)
{
    CMemorySink sink;
    document.WriteTo(sink);
    return std::move(sink.m_data);
}

std::string BackupName(const std::string& profilePath, int age)
{
    return profilePath + ".bak" + (age == 0 ? std::string() : "." + std::to_string(age));
}

// Drops the oldest backup and moves each other one a place older, freeing "<profile>.bak".
void RotateBackups(const std::string& profilePath)
{
    std::error_code error;
    std::filesystem::remove(PathFromUtf8(BackupName(profilePath, kBackupCount - 1)), error);
    for (int age = kBackupCount - 2; age >= 0; --age)
        std::filesystem::rename(PathFromUtf8(BackupName(profilePath, age)),
            PathFromUtf8(BackupName(profilePath, age + 1)), error);
}

bool CopyBytes(CByteSource& source, CByteSink& sink)
{
    char buffer[65536];
    for (;;) {
        const std::ptrdiff_t count = source.Read(buffer, sizeof buffer);
        if (count <= 0)
            return count == 0;
        if (!sink.Write(buffer, static_cast<std::size_t>(count)))
            return false;
    }
}

} // namespace

using namespace SettingKeys;

CConfigurationLoader::CConfigurationLoader(CIniFile& profile, CSettings& settings, CTexts& texts,
    CPlantCatalog& catalog, CServerCache& servers, const IClock& clock,
    IServerListUpdate& serverList, std::string profilePath)
    : m_profile(profile)
    , m_settings(settings)
    , m_texts(texts)
    , m_catalog(catalog)
    , m_servers(servers)
    , m_clock(clock)
    , m_serverList(serverList)
    , m_strProfilePath(std::move(profilePath))
{
}

bool CConfigurationLoader::LoadConfiguration(
    CPlantTables& tables, CListTemplates& templates, std::string& strServer, IUserInterface& ui)
{
    CWaitCursor wait(&ui);
    const bool fileRead = m_profile.Load(m_strProfilePath);
    // Only a profile that does not exist may be created; one that exists but cannot be read
    // holds the user's settings and prices, so the run goes on without ever saving over it.
    if (!fileRead && m_profile.LastFileError() != ENOENT) {
        m_profile.KeepFile();
        m_strProblemKey = "Txt_ProfileUnreadable";
        m_nProblemError = m_profile.LastFileError();
    }
    if (NeedsRebuild(fileRead))
        Rebuild(fileRead, strServer);
    m_settings.ReadMirrors();
    if (m_profile.GetString(kSection, kLanguage, "").empty() && !ChooseLanguage(ui))
        return false;
    m_texts.LoadTexts(m_profile);
    ShowProfileProblem(ui);
    LoadPlantCatalog(m_profile, m_texts, m_catalog, tables);
    templates.Load(m_profile);
    m_servers.LoadServerTables();
    m_catalog.LoadTranslations(m_profile);
    CheckServerList();
    return true;
}

bool CConfigurationLoader::IsCurrentVersion(bool fileRead)
{
    int version[2] = {};
    const std::string text = m_profile.GetString(kSection, kVersion, "0.0");
    return fileRead && ScanSeparatedIntegers(text, '.', version) == 2 && version[0] == kMajorVersion
        && version[1] == kMinorVersion;
}

bool CConfigurationLoader::NeedsRebuild(bool fileRead)
{
    const std::string language = m_profile.GetString(kSection, kLanguage, "-");
    const std::string textSection = m_profile.GetString("Lang", language, "-");
    const std::string currency = m_profile.GetString(textSection, "Txt_Currency", "");
    return !IsCurrentVersion(fileRead) || language == "-" || textSection == "-" || currency.empty();
}

// Replaces the document by the embedded default, carrying over the user's settings and every
// server's address, metadata and prices.
void CConfigurationLoader::Rebuild(bool fileRead, std::string& strServer)
{
    // The date of the last server-list update is the program's own and not carried over.
    m_profile.WriteString(kSection, kServerUpdate, std::nullopt);
    const std::string replaced = DocumentText(m_profile);

    const std::string language = m_profile.GetString(kSection, kLanguage, "");
    strServer = m_profile.GetString(kSection, kServer, "");
    const int serverInterval = m_profile.GetInt(kSection, kServerInterval, kDefaultServerInterval);
    const std::string windowSize = m_profile.GetString(kSection, kWindowSize, "");
    m_settings.ReadMirrors();

    m_catalog.ReadPlantNames(m_profile);
    m_servers.LoadServerTables();
    const PriceLines prices = CollectPriceLines();

    CResource resource;
    resource.Load(kDefaultProfileId, kDefaultProfileType);
    CMemorySource source(resource.Data(), resource.Size());
    m_profile.ReadFrom(source);

    if (!fileRead) {
        m_catalog.ReadPlantNames(m_profile);
        m_servers.LoadServerTables();
    }
    m_servers.SaveServerTables();
    RestorePriceLines(prices);

    m_profile.WriteString(kSection, kServer, strServer);
    m_profile.WriteString(kSection, kLanguage, language);
    m_profile.WriteInt(kSection, kShowPriceList, m_settings.ShowsPriceList() ? 1 : 0);
    m_profile.WriteInt(kSection, kMaxFarm, m_settings.CapsAtFarmPrice() ? 1 : 0);
    if (!windowSize.empty())
        m_profile.WriteString(kSection, kWindowSize, windowSize);
    m_profile.WriteInt(kSection, kServerInterval, serverInterval);
    m_profile.WriteInt(kSection, kMaxLevel, m_settings.MaxLevel());
    m_profile.WriteInt(kSection, kOriginMask, m_settings.OriginMask());
    m_profile.WriteInt(kSection, kWatchClipboard, m_settings.WatchesClipboard() ? 1 : 0);
    if (m_settings.LoadFlag() != kDefaultLoadFlag)
        m_profile.WriteInt(kSection, kLoadFlag, m_settings.LoadFlag());

    // A file that the rebuild gives back line for line holds nothing that a backup must keep:
    // one that an earlier rebuild wrote, say, which must not push the user's own file out of
    // the backups. Where there is no backup yet, it costs nothing to keep one.
    std::error_code error;
    if (fileRead
        && (DocumentText(m_profile) != replaced
            || !std::filesystem::exists(PathFromUtf8(BackupName(m_strProfilePath, 0)), error)))
        BackUpProfileFile();

    // A new profile that cannot be created (no folder can be written) is said once, instead
    // of failing silently at every start.
    if (!m_profile.Save() && !m_profile.KeepsFile() && !fileRead) {
        m_strProblemKey = "Txt_ProfileNotWritable";
        m_nProblemError = m_profile.LastFileError();
    }
}

CConfigurationLoader::PriceLines CConfigurationLoader::CollectPriceLines() const
{
    static constexpr std::string_view kMetadata[]
        = { "Aktualisiert", "Stand", "Selected", "Werte", "Sortierung", "ListType" };
    PriceLines collected;
    std::vector<std::string> keyLines;
    for (const std::string& server : m_servers.Names()) {
        // Lines of a program section are no prices, whatever a server was called.
        const CIniSection* section
            = IsProgramSection(server, m_profile) ? nullptr : m_profile.FindSection(server);
        if (!section)
            continue;
        section->GetKeys(keyLines, true);
        auto& prices
            = collected.emplace_back(server, PriceLines::value_type::second_type {}).second;
        for (const std::string& line : keyLines) {
            std::string_view key, value;
            if (!CIniSection::ParseKeyLine(line, key, value)
                || std::any_of(std::begin(kMetadata), std::end(kMetadata),
                    [key](std::string_view meta) { return EqualNoCase(key, meta); }))
                continue;
            prices.emplace_back(key, value);
        }
    }
    return collected;
}

void CConfigurationLoader::RestorePriceLines(const PriceLines& lines)
{
    for (const auto& [server, prices] : lines) {
        CIniSection* section = m_profile.GetSection(server);
        if (!section)
            continue;
        for (const auto& [key, value] : prices)
            section->SetValue(key, value);
    }
}

void CConfigurationLoader::ShowProfileProblem(IUserInterface& ui)
{
    if (m_strProblemKey.empty())
        return;
    ui.ShowMessage(CTexts::Fill(m_texts.GetText(m_strProblemKey), Utf8ToCp1252(m_strProfilePath),
        SystemErrorText(m_nProblemError)));
    m_bProblemShown = true;
}

// A rebuild throws away hand edits of texts, catalogue and lists; the replaced file stays
// beside the new one as "<profile>.bak", the earlier backups one place older, so nothing the
// user wrote is lost for good.
void CConfigurationLoader::BackUpProfileFile()
{
    // What cannot be read cannot be copied either; an older backup is worth more than a part.
    if (m_profile.KeepsFile())
        return;
    CFileSource source(m_strProfilePath);
    if (!source.IsOpen())
        return;
    RotateBackups(m_strProfilePath);
    ReplaceFileAtomically(BackupName(m_strProfilePath, 0),
        [&source](CByteSink& sink) { return CopyBytes(source, sink); });
}

bool CConfigurationLoader::ChooseLanguage(IUserInterface& ui)
{
    const CIniSection* languages = m_profile.FindSection("Lang");
    if (!languages)
        return false;
    std::vector<std::string> names;
    languages->GetKeys(names);
    std::string chosen;
    if (!ui.ChooseLanguage(names, chosen))
        return false;
    m_profile.WriteString(kSection, kLanguage, chosen);
    m_profile.Save();
    return true;
}

// The server list is due when its last update lies more days back (or ahead) than the
// interval; an interval of 0 switches the automatic update off.
void CConfigurationLoader::CheckServerList()
{
    const std::time_t now = m_clock.Now();
    const std::time_t lastUpdate
        = LocalMidnight(m_profile.GetString(kSection, kServerUpdate, kDefaultServerUpdate));
    int interval = m_profile.GetInt(kSection, kServerInterval, kDefaultServerInterval);
    if (interval == 0)
        return;
    interval = std::clamp(interval, 3, 365);

    const double days = std::fabs(std::trunc(std::difftime(now, lastUpdate) / kSecondsPerDay));
    if (days <= interval)
        return;
    m_profile.WriteInt(kSection, kServerInterval, interval);
    m_serverList.NoteServerListDue();
}

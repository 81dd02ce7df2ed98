#include "app/ConfigurationLoader.h"
#include "config/ListTemplates.h"
#include "config/PlantCatalog.h"
#include "config/PlantTables.h"
#include "config/ServerListUpdate.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "platform/ByteSink.h"
#include "platform/Clock.h"
#include "platform/TextCase.h"
#include "platform/Utf8Path.h"
#include "servers/ServerCache.h"
#include "support/FakeUserInterface.h"

#include "config/ProfileTestText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace {

using Lines = std::vector<std::string>;
using KeyValues = std::map<std::string, std::string>;

// Local noon, so that a daylight-saving change in between never moves a whole day.
std::time_t LocalNoon(int year, int month, int day)
{
    std::tm noon {};
    noon.tm_year = year - 1900;
    noon.tm_mon = month - 1;
    noon.tm_mday = day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    return std::mktime(&noon);
}

const std::time_t kToday = LocalNoon(2026, 3, 10);

// "%Y-%m-%d" of the day that lies the given number of days from today.
std::string DayFromToday(int days)
{
    std::tm date = LocalTime(kToday + days * 86400);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &date);
    return text;
}

class FakeServerListUpdate : public IServerListUpdate {
public:
    explicit FakeServerListUpdate(CIniFile& profile)
        : m_profile(profile)
    {
    }
    void NoteServerListDue() override
    {
        ++m_nCalls;
        m_strIntervalSeen = m_profile.GetString("Settings", "ServerInt", "<none>");
    }

    CIniFile& m_profile;
    int m_nCalls = 0;
    std::string m_strIntervalSeen;
};

// Everything one start of the program creates, wired as the application wires it.
struct ProgramStart {
    explicit ProgramStart(const std::string& path)
        : loader(profile, settings, texts, catalog, servers, clock, serverList, path)
    {
        profile.SetAutoReload(false);
        profile.SetAutoSave(false);
    }

    bool Load() { return loader.LoadConfiguration(tables, templates, strServer, ui); }

    CIniFile profile;
    CSettings settings { profile };
    CTexts texts;
    CPlantCatalog catalog;
    CServerCache servers { profile, texts, catalog };
    CFixedClock clock { kToday };
    FakeServerListUpdate serverList { profile };
    CFakeUserInterface ui { "English" };
    CConfigurationLoader loader;
    CPlantTables tables;
    CListTemplates templates;
    std::string strServer;
};

// The default profile with the user's edits, as bytes of a profile file.
std::string DefaultProfileWith(const std::function<void(CIniFile&)>& edit)
{
    CIniFile profile;
    profile.SetAutoSave(false);
    ReadDefaultProfile(profile);
    edit(profile);
    CMemorySink sink;
    profile.WriteTo(sink);
    return sink.m_data;
}

KeyValues SectionOf(const std::string& profileBytes, const std::string& section)
{
    CIniFile profile;
    ReadProfileText(profile, profileBytes);
    KeyValues values;
    if (const CIniSection* found = profile.FindSection(section)) {
        Lines keys;
        found->GetKeys(keys);
        for (const std::string& key : keys)
            values[MakeUpper(key)] = found->GetValue(key);
    }
    return values;
}

std::string ValueIn(
    const std::string& profileBytes, const std::string& section, const std::string& key)
{
    CIniFile profile;
    ReadProfileText(profile, profileBytes);
    return profile.GetString(section, key, "<none>");
}

// Profiles are 47 KB: on a mismatch report where they part instead of printing both.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    const auto [first, ignored]
        = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    const auto offset = first - expected.begin();
    return ::testing::AssertionFailure()
        << "sizes " << expected.size() << " and " << actual.size() << ", first difference at "
        << offset << ": \"" << expected.substr(offset, 40) << "\" vs \""
        << actual.substr(offset, 40) << "\"";
}

class ConfigurationLoaderTest : public ::testing::Test {
protected:
    bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    TempDir m_dir;
    std::string m_path = m_dir.file("quotino.ini");
    std::string m_backup = m_path + ".bak";
};

} // namespace

TEST_F(ConfigurationLoaderTest, FirstStartCreatesTheProfileThenSavesTheChosenLanguage)
{
    ProgramStart start(m_path);
    std::string fileAtChoice;
    start.ui.m_fnOnChoose = [&] { fileAtChoice = ReadWholeFile(m_path); };

    ASSERT_TRUE(start.Load());

    EXPECT_EQ("", ValueIn(fileAtChoice, "Settings", "Lang"));
    EXPECT_EQ("1.39", ValueIn(fileAtChoice, "Settings", "Version"));
    EXPECT_EQ("English", ValueIn(ReadWholeFile(m_path), "Settings", "Lang"));
    ASSERT_EQ(1u, start.ui.m_offers.size());
    EXPECT_EQ((Lines { "Deutsch", "English", "Nederlands",
                  "Fran\xE7"
                  "ais" }),
        start.ui.m_offers[0]);
    EXPECT_FALSE(Exists(m_backup));

    EXPECT_EQ("Calculate", start.texts.GetText("Txt_Calc"));
    EXPECT_EQ(64u, start.tables.m_astrPlantNames.size());
    EXPECT_EQ(8u, start.templates.m_astrTitel.size());
    EXPECT_EQ(55u, start.servers.Names().size());
    EXPECT_EQ("Apfel", start.catalog.TranslatePlantName("Apples"));
    EXPECT_EQ(1, start.serverList.m_nCalls); // a rebuilt profile has no ServerUpd
    EXPECT_EQ(1, start.ui.m_nWaitDepthAtChoice);
    EXPECT_EQ(0, start.ui.m_nWaitDepth);
}

TEST_F(ConfigurationLoaderTest, CancelledLanguageChoiceFailsAndIsAskedAgainNextStart)
{
    ProgramStart first(m_path);
    first.ui.m_bAccept = false;
    EXPECT_FALSE(first.Load());
    EXPECT_EQ(0, first.ui.m_nWaitDepth);
    const std::string saved = ReadWholeFile(m_path);
    EXPECT_EQ("", ValueIn(saved, "Settings", "Lang"));

    ProgramStart second(m_path);
    second.ui.m_strLanguage = "Deutsch";
    EXPECT_TRUE(second.Load());
    EXPECT_EQ(1u, second.ui.m_offers.size());
    EXPECT_TRUE(SameBytes(saved, ReadWholeFile(m_backup)));
    EXPECT_EQ("Berechnen", second.texts.GetText("Txt_Calc"));
}

// User folders (a home or application-data folder) may hold any letters. The profile and the
// copy a rebuild keeps of it must land in that very folder, under their own names.
TEST_F(ConfigurationLoaderTest, ProfileAndItsBackupLiveInAFolderWithNonAsciiLetters)
{
    for (const std::string folderName :
        { "J\u00FCrgen", "Zo\u00EB \u00D8rsted", "\u30E6\u30FC\u30B6\u30FC" }) {
        SCOPED_TRACE(folderName);
        ASSERT_TRUE(std::filesystem::create_directory(m_dir.path() / PathFromUtf8(folderName)));
        const std::string path = m_dir.file(folderName + "/quotino.ini");

        ProgramStart first(path);
        ASSERT_TRUE(first.Load());
        std::string older = ReadWholeFile(path);
        older.replace(older.find("Version=1.39"), 12, "Version=1.38");
        WriteWholeFile(path, older);
        ProgramStart second(path);
        ASSERT_TRUE(second.Load());

        std::set<std::string> names;
        for (const auto& entry :
            std::filesystem::directory_iterator(m_dir.path() / PathFromUtf8(folderName)))
            names.insert(Utf8FromPath(entry.path().filename()));
        EXPECT_EQ(names, (std::set<std::string> { "quotino.ini", "quotino.ini.bak" }));
        EXPECT_TRUE(SameBytes(older, ReadWholeFile(path + ".bak")));
        EXPECT_EQ("1.39", ValueIn(ReadWholeFile(path), "Settings", "Version"));
        EXPECT_EQ(PathFromUtf8(second.profile.Status().m_szFullName), PathFromUtf8(path));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}), 3);
}

TEST_F(ConfigurationLoaderTest, RebuildOfAnOlderVersionKeepsExactlyTheSettingsAndPrices)
{
    const std::string oldProfile = DefaultProfileWith([](CIniFile& profile) {
        const KeyValues settings = { { "Version", "1.38" }, { "Lang", "English" },
            { "Server", "Server 3" }, { "PreisListe", "1" }, { "MaxFarm", "1" },
            { "WinSize", "812,604" }, { "ServerInt", "7" }, { "MaxLevel", "30" },
            { "OriginMask", "5" }, { "LoadFlag", "12345" }, { "ServerUpd", "2026-03-01" },
            { "ServerList", "http://changed.example/list" }, { "Extra", "1" },
            { "WatchClipboard", "1" } };
        for (const auto& [key, value] : settings)
            profile.WriteString("Settings", key, value);
        profile.WriteString("Texts English", "Txt_Title", "Changed");
        profile.WriteString("Plants", "Karotte", "9;9;9;9;9;9;9");
        profile.WriteString("Server 3", "Aktualisiert", "1.3.26 10:00");
        profile.WriteString("Server 3", "Stand", "28.02.2026");
        profile.WriteString("Server 3", "Werte", "3,5");
        profile.WriteString("Server 3", "Karotte", "0,12");
        profile.WriteString("Server 3", "Salat", "0,15");
        profile.WriteString("Preislisten", "My Server", "-");
        profile.WriteString("My Server", "Karotte", "1,50");
        profile.WriteString("Server 47", "Karotte", "9,99"); // no address: not a server
    });
    WriteWholeFile(m_path, oldProfile);
    WriteWholeFile(m_backup, "an older backup");

    ProgramStart start(m_path);
    ASSERT_TRUE(start.Load());
    const std::string rebuilt = ReadWholeFile(m_path);
    const std::string defaults = DefaultProfileBytes();

    KeyValues expected = SectionOf(defaults, "Settings");
    for (const auto& [key, value] : KeyValues { { "LANG", "English" }, { "SERVER", "Server 3" },
             { "PREISLISTE", "1" }, { "MAXFARM", "1" }, { "WINSIZE", "812,604" },
             { "SERVERINT", "7" }, { "MAXLEVEL", "30" }, { "ORIGINMASK", "5" },
             { "LOADFLAG", "12345" }, { "WATCHCLIPBOARD", "1" } })
        expected[key] = value;
    EXPECT_EQ(expected, SectionOf(rebuilt, "Settings"));
    EXPECT_EQ(SectionOf(defaults, "Texts English"), SectionOf(rebuilt, "Texts English"));
    EXPECT_EQ(SectionOf(defaults, "Plants"), SectionOf(rebuilt, "Plants"));

    const KeyValues server3 = SectionOf(rebuilt, "Server 3");
    EXPECT_EQ("1.3.26 10:00", server3.at("AKTUALISIERT"));
    EXPECT_EQ("28.02.2026", server3.at("STAND"));
    EXPECT_EQ("1", server3.at("SELECTED"));
    EXPECT_EQ("3,5", server3.at("WERTE"));
    EXPECT_EQ("0,12", server3.at("KAROTTE"));
    EXPECT_EQ("0,15", server3.at("SALAT"));
    // A plant without a price stays out of the section; it reads "0,0" all the same.
    EXPECT_EQ(0u, server3.count("GURKE"));
    EXPECT_EQ("-", ValueIn(rebuilt, "Preislisten", "My Server"));
    EXPECT_EQ("1,50", ValueIn(rebuilt, "My Server", "Karotte"));
    EXPECT_EQ(KeyValues {}, SectionOf(rebuilt, "Server 47"));

    EXPECT_TRUE(SameBytes(oldProfile, ReadWholeFile(m_backup)));
    EXPECT_TRUE(start.ui.m_offers.empty());
    EXPECT_EQ("Server 3", start.strServer);
    EXPECT_TRUE(start.settings.CapsAtFarmPrice());
    EXPECT_EQ(30, start.settings.MaxLevel());
    EXPECT_EQ(12345, start.settings.LoadFlag());
    EXPECT_EQ("Pirk Percent Calculator", start.texts.GetText("Txt_Title"));
    EXPECT_EQ("0,12", start.servers.GetServerValue("Server 3", "Karotte", ""));
}

TEST_F(ConfigurationLoaderTest, DefaultLoadFlagAndEmptyWindowSizeVanishInARebuild)
{
    WriteWholeFile(m_path, DefaultProfileWith([](CIniFile& profile) {
        profile.WriteString("Settings", "Version", "1.38");
        profile.WriteString("Settings", "Lang", "Deutsch");
        profile.WriteString("Settings", "LoadFlag", "49153");
        profile.WriteString("Settings", "WinSize", "");
    }));
    ProgramStart start(m_path);
    ASSERT_TRUE(start.Load());
    const KeyValues settings = SectionOf(ReadWholeFile(m_path), "Settings");
    EXPECT_EQ(0u, settings.count("LOADFLAG"));
    EXPECT_EQ(0u, settings.count("WINSIZE"));
    EXPECT_EQ("Deutsch", settings.at("LANG"));
}

TEST_F(ConfigurationLoaderTest, RebuildHappensExactlyWhenVersionOrLanguageIsNotUsable)
{
    struct Case {
        const char* name;
        std::function<void(CIniFile&)> edit;
        bool rebuilt;
    } const cases[] = {
        { "current", [](CIniFile&) {}, false },
        { "version with leading zeros and more behind",
            [](CIniFile& p) { p.WriteString("Settings", "Version", "01.039.5beta"); }, false },
        { "version 1.38", [](CIniFile& p) { p.WriteString("Settings", "Version", "1.38"); }, true },
        { "version 1.4", [](CIniFile& p) { p.WriteString("Settings", "Version", "1.4"); }, true },
        { "version 2.39", [](CIniFile& p) { p.WriteString("Settings", "Version", "2.39"); }, true },
        { "version 1", [](CIniFile& p) { p.WriteString("Settings", "Version", "1"); }, true },
        { "no version", [](CIniFile& p) { p.WriteString("Settings", "Version", std::nullopt); },
            true },
        { "no language", [](CIniFile& p) { p.WriteString("Settings", "Lang", std::nullopt); },
            true },
        { "unlisted language", [](CIniFile& p) { p.WriteString("Settings", "Lang", "Klingon"); },
            true },
        { "no currency",
            [](CIniFile& p) { p.WriteString("Texts English", "Txt_Currency", std::nullopt); },
            true },
        { "empty currency", [](CIniFile& p) { p.WriteString("Texts English", "Txt_Currency", ""); },
            true },
        { "no text section", [](CIniFile& p) { p.WriteString("Texts English", std::nullopt, {}); },
            true },
        { "language without section name",
            [](CIniFile& p) { p.WriteString("Lang", "English", ""); }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(m_backup);
        const std::string before = DefaultProfileWith([&](CIniFile& profile) {
            profile.WriteString("Settings", "Lang", "English");
            profile.WriteString("Settings", "Marker", "hand edit");
            c.edit(profile);
        });
        WriteWholeFile(m_path, before);

        ProgramStart start(m_path);
        ASSERT_TRUE(start.Load());
        const std::string after = ReadWholeFile(m_path);
        EXPECT_EQ(c.rebuilt, ValueIn(after, "Settings", "Marker") == "<none>");
        EXPECT_EQ(c.rebuilt, Exists(m_backup));
        EXPECT_TRUE(SameBytes(before, ReadWholeFile(c.rebuilt ? m_backup : m_path)));
        EXPECT_NE("", start.texts.GetText("Txt_Currency"));
    }
}

TEST_F(ConfigurationLoaderTest, UnlistedLanguageIsRebuiltAtEveryStartWithGermanTexts)
{
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const std::string before = run == 0 ? DefaultProfileBytes() : ReadWholeFile(m_path);
        CIniFile edited;
        edited.SetAutoSave(false);
        ReadProfileText(edited, before);
        edited.WriteString("Settings", "Lang", "Klingon");
        edited.WriteString("Texts Deutsch", "Txt_Calc", "Rechnen");
        ASSERT_TRUE(edited.Save(m_path));

        ProgramStart start(m_path);
        ASSERT_TRUE(start.Load());
        EXPECT_TRUE(start.ui.m_offers.empty());
        EXPECT_EQ("Berechnen", start.texts.GetText("Txt_Calc"));
        EXPECT_EQ("Klingon", ValueIn(ReadWholeFile(m_path), "Settings", "Lang"));
        EXPECT_TRUE(Exists(m_backup));
    }
}

TEST_F(ConfigurationLoaderTest, ServerListIsUpdatedWhenMoreDaysThanTheIntervalHavePassed)
{
    struct Case {
        const char* name;
        std::optional<std::string> interval;
        std::optional<std::string> lastUpdate;
        bool updated;
        std::string intervalAfter;
    } const cases[] = {
        { "default interval, 5 days", {}, DayFromToday(-5), false, "<none>" },
        { "default interval, 6 days", {}, DayFromToday(-6), true, "5" },
        { "never updated", {}, {}, true, "5" },
        { "switched off", "0", {}, false, "0" },
        { "empty is off", "", {}, false, "" },
        { "at least 3: 3 days", "1", DayFromToday(-3), false, "1" },
        { "at least 3: 4 days", "1", DayFromToday(-4), true, "3" },
        { "negative", "-7", DayFromToday(-4), true, "3" },
        { "at most 365: 365 days", "1000", DayFromToday(-365), false, "1000" },
        { "at most 365: 366 days", "1000", DayFromToday(-366), true, "365" },
        { "future, 6 days", {}, DayFromToday(6), false, "<none>" },
        { "future, 7 days", {}, DayFromToday(7), true, "5" },
        { "unreadable date", "10", "gestern", true, "10" },
        { "two numbers only", {}, "2026-03", true, "5" },
        { "absurd numbers", {}, "99999999999-99999999999-99999999999", true, "5" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string settings = "[Settings]\r\nVersion=1.39\r\nLang=Deutsch\r\n";
        if (c.interval)
            settings += "ServerInt=" + *c.interval + "\r\n";
        if (c.lastUpdate)
            settings += "ServerUpd=" + *c.lastUpdate + "\r\n";
        WriteWholeFile(m_path,
            settings
                + "[Lang]\r\nDeutsch=Texts Deutsch\r\n"
                  "[Texts Deutsch]\r\nTxt_Currency=wT\r\n");

        ProgramStart start(m_path);
        ASSERT_TRUE(start.Load());
        EXPECT_EQ(c.updated ? 1 : 0, start.serverList.m_nCalls);
        EXPECT_EQ(c.intervalAfter, start.profile.GetString("Settings", "ServerInt", "<none>"));
        if (c.updated) {
            EXPECT_EQ(c.intervalAfter, start.serverList.m_strIntervalSeen);
        }
        EXPECT_FALSE(Exists(m_backup));
    }
}

// Files a rebuild wrote (language question closed, unknown language set by a server list)
// never push the user's own file out of the backups; of those the last three are kept.
TEST_F(ConfigurationLoaderTest, BackupsKeepTheUsersLastOwnFile)
{
    const auto own = [](const std::string& language, const std::string& title) {
        return DefaultProfileWith([&](CIniFile& profile) {
            profile.WriteString("Settings", "Lang", language);
            profile.WriteString("Texts English", "Txt_Title", title);
        });
    };
    for (const auto& [files, listLanguage, backups] : std::vector<std::tuple<Lines, bool, Lines>> {
             { { own("", "Mine") }, false, { own("", "Mine") } },
             { { own("Klingon", "Mine") }, true, { own("Klingon", "Mine") } },
             { { own("", "1"), own("", "2"), own("", "3"), own("", "4") }, false,
                 { own("", "4"), own("", "3"), own("", "2") } } }) {
        std::filesystem::remove(m_backup), std::filesystem::remove(m_backup + ".1"),
            std::filesystem::remove(m_backup + ".2");
        for (const std::string& file : files) {
            WriteWholeFile(m_path, file);
            for (int start = 0; start < 4; ++start) {
                ProgramStart program(m_path);
                program.ui.m_bAccept = false; // the language question is closed
                if (program.Load() && listLanguage) {
                    program.profile.WriteString("Settings", "Lang", "Klingon");
                    program.profile.WriteString("Settings", "ServerUpd", DayFromToday(0));
                }
                program.profile.Save();
            }
        }
        for (std::size_t age = 0; age < 3; ++age) {
            const std::string backup = m_backup + (age == 0 ? "" : "." + std::to_string(age));
            EXPECT_TRUE(age < backups.size() ? SameBytes(backups[age], ReadWholeFile(backup))
                                             : !Exists(backup))
                << backup;
        }
    }
}

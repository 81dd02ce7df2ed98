#include "app/ConfigurationLoader.h"
#include "config/ListTemplates.h"
#include "config/PlantCatalog.h"
#include "config/PlantTables.h"
#include "config/ProfileTestText.h"
#include "config/ServerListUpdate.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "support/FakeUserInterface.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class OfflineServerList : public IServerListUpdate {
public:
    void NoteServerListDue() override { }
};

// One start of the program's configuration load on the profile at path.
class ProgramStart {
public:
    explicit ProgramStart(const std::string& path)
        : m_loader(
            m_profile, m_settings, m_texts, m_catalog, m_servers, m_clock, m_serverList, path)
    {
        m_profile.SetAutoReload(false);
        m_profile.SetAutoSave(false);
        // The first-start language choice is answered with German, as a user would.
        m_ui.m_fnOnChoose = [this] {
            const std::vector<std::string>& offered = m_ui.m_offers.back();
            const bool german
                = std::find(offered.begin(), offered.end(), "Deutsch") != offered.end();
            m_ui.m_strLanguage = german ? "Deutsch" : offered.empty() ? "" : offered.front();
        };
    }

    bool Load() { return m_loader.LoadConfiguration(m_tables, m_templates, m_strServer, m_ui); }

    CIniFile m_profile;
    CTexts m_texts;
    CPlantCatalog m_catalog;
    CSettings m_settings { m_profile };
    CServerCache m_servers { m_profile, m_texts, m_catalog };
    CFixedClock m_clock { std::time(nullptr) };
    OfflineServerList m_serverList;
    CPlantTables m_tables;
    CListTemplates m_templates;
    std::string m_strServer;
    CFakeUserInterface m_ui;

private:
    CConfigurationLoader m_loader;
};

// The profile of a user who has started the program once, chosen German and fetched prices.
std::string UsersProfile(const std::string& path)
{
    ProgramStart first(path);
    EXPECT_TRUE(first.Load());
    first.m_profile.WriteString("Settings", "Server", "Server 1");
    first.m_profile.WriteString("Settings", "ServerUpd", "2026-12-06");
    first.m_profile.WriteString("Settings", "ServerInt", "0");
    first.m_servers.SetServerValue("Server 1", "Karotte", "0,45");
    first.m_servers.SetServerValue("Server 1", "Aktualisiert", "6.12.26 09:05");
    EXPECT_TRUE(first.m_profile.Save());
    return ReadWholeFile(path);
}

struct Damage {
    std::string what;
    std::string bytes;
};

std::vector<Damage> CutsOf(const std::string& good, std::size_t step)
{
    std::vector<Damage> cuts;
    for (std::size_t length = 0; length < good.size(); length += step)
        cuts.push_back({ "cut at " + std::to_string(length), good.substr(0, length) });
    return cuts;
}

// Whether the damage left the user's cached price readable: the server's address and the
// price itself, whatever the damage did to the catalogue.
bool PriceSurvived(const std::string& bytes)
{
    CIniFile profile;
    profile.SetAutoReload(false);
    profile.SetAutoSave(false);
    CMemorySource source(bytes.data(), bytes.size());
    profile.ReadFrom(source);
    return !profile.GetString("Preislisten", "Server 1").empty()
        && profile.GetString("Server 1", "Karotte") == "0,45";
}

std::vector<Damage> BitFlipsOf(const std::string& good, int copies)
{
    std::vector<Damage> damaged;
    std::mt19937 random(8);
    for (int copy = 0; copy < copies; ++copy) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int flip = 0; flip < flips; ++flip)
            bytes[random() % bytes.size()] ^= static_cast<char>(1u << (random() % 8));
        damaged.push_back({ "bit flips " + std::to_string(copy), bytes });
    }
    return damaged;
}

struct LoadCount {
    int loads = 0;
    int rebuilt = 0;
    int pricesCarried = 0;
};

// Every damaged profile loads; where the loader rebuilt it, the damaged file is the backup
// byte for byte and a whole cached price is carried over; where it did not, the file on disk
// is untouched.
LoadCount LoadEach(const std::vector<Damage>& copies)
{
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    const std::string backup = path + ".bak";
    LoadCount count;
    for (const Damage& damage : copies) {
        SCOPED_TRACE(damage.what);
        fs::remove(backup);
        WriteWholeFile(path, damage.bytes);

        ProgramStart start(path);
        EXPECT_TRUE(start.Load());
        EXPECT_FALSE(start.m_texts.GetText("Txt_Currency").empty());
        ++count.loads;
        if (fs::exists(backup)) {
            ++count.rebuilt;
            EXPECT_EQ(ReadWholeFile(backup), damage.bytes);
            EXPECT_EQ(start.m_profile.GetString("Settings", "Version"), "1.39");
            if (PriceSurvived(damage.bytes)) {
                EXPECT_EQ(start.m_profile.GetString("Server 1", "Karotte"), "0,45");
                ++count.pricesCarried;
            }
        } else if (start.m_ui.m_offers.empty()) {
            EXPECT_EQ(ReadWholeFile(path), damage.bytes) << "changed without a rebuild";
        }
        if (::testing::Test::HasFailure())
            break;
    }
    return count;
}

void Report(const char* what, const LoadCount& count, std::chrono::steady_clock::time_point start)
{
    const auto seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ damaged  ] " << what << ": " << count.loads << " loads, " << count.rebuilt
              << " rebuilt (" << count.pricesCarried << " with a cached price carried over), "
              << seconds << " s\n";
}

// Every load that rebuilds writes three files to the disk, so the whole set (a cut at every
// 97th byte and 1,000 bit-flipped copies, about 1,500 loads) takes a minute; the normal run
// takes every tenth cut and the first 100 copies. QUOTINO_DAMAGE_ALL=1 runs them all.
bool AllDamage()
{
    const char* all = std::getenv("QUOTINO_DAMAGE_ALL");
    return all && std::string(all) == "1";
}

TEST(DamagedProfile, DamagedDefaultProfilesAreRebuiltWithTheDamagedFileAsBackup)
{
    const auto start = std::chrono::steady_clock::now();
    const std::string shipped = DefaultProfileBytes();
    std::vector<Damage> copies
        = { { "empty file", "" }, { "NUL bytes", std::string(shipped.size(), '\0') } };
    const bool all = AllDamage();
    for (auto&& part : { CutsOf(shipped, all ? 97 : 970), BitFlipsOf(shipped, all ? 1000 : 100) })
        copies.insert(copies.end(), part.begin(), part.end());

    const LoadCount count = LoadEach(copies);
    Report("shipped profile", count, start);
    EXPECT_EQ(count.loads, static_cast<int>(copies.size()));
    EXPECT_GT(count.rebuilt, count.loads * 9 / 10);
}

// A user's profile cut short or with flipped bits: rebuilt where the version, the language or
// its texts are hit, and then the cached price, where it is still readable, is carried over.
TEST(DamagedProfile, DamagedUsersProfileLoadsAndARebuildKeepsItsPrices)
{
    const auto start = std::chrono::steady_clock::now();
    TempDir dir;
    const std::string users = UsersProfile(dir.file("quotino.ini"));
    ASSERT_TRUE(PriceSurvived(users));
    std::vector<Damage> copies = CutsOf(users, AllDamage() ? 97 : 1997);
    const auto flips = BitFlipsOf(users, AllDamage() ? 1000 : 50);
    copies.insert(copies.end(), flips.begin(), flips.end());
    // Random flips need not hit the few bytes that force a rebuild; this one always does.
    std::string language = users;
    const std::size_t lang = language.find("Lang=Deutsch");
    ASSERT_NE(lang, std::string::npos);
    language[lang + 9] ^= 0x02;
    copies.push_back({ "language name hit", language });

    const LoadCount count = LoadEach(copies);
    Report("user's profile", count, start);
    EXPECT_EQ(count.loads, static_cast<int>(copies.size()));
    // Older versions with a damaged catalogue are the file-safety test's rebuilds.
    EXPECT_GE(count.pricesCarried, 1);
}

} // namespace

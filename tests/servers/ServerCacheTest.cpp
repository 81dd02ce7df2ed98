#include "servers/ServerCache.h"

#include "config/PlantCatalog.h"
#include "config/Texts.h"
#include "platform/ByteSource.h"
#include "profile/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// A profile file on disk with two catalogue plants, read the way the program reads it.
class ServerCacheTest : public ::testing::Test {
protected:
    void LoadProfile(const std::string& text)
    {
        WriteWholeFile(m_path, text);
        m_profile.SetAutoReload(false);
        m_profile.SetAutoSave(false);
        ASSERT_TRUE(m_profile.Load(m_path));
        m_catalog.m_astrPlants = { "Karotte", "Salat" };
        m_texts.m_mapTexts["TXT_DEFAULTDATE"] = "(noch nicht geladen)";
        m_cache.LoadServerTables();
    }

    // The saved file's lines of one section, header excluded.
    Lines SavedSection(const std::string& name)
    {
        EXPECT_TRUE(m_profile.Save());
        CIniFile saved(m_path);
        const CIniSection* section = saved.FindSection(name);
        return section ? section->Lines() : Lines { "<no section>" };
    }

    Lines Entries(const std::string& server)
    {
        Lines entries;
        for (const char* key :
            { "Aktualisiert", "Stand", "Selected", "Werte", "ListType", "Karotte", "Salat" })
            entries.push_back(m_cache.GetServerValue(server, key, "<none>"));
        return entries;
    }

    TempDir m_dir;
    std::string m_path = m_dir.file("quotino.ini");
    CIniFile m_profile;
    CTexts m_texts;
    CPlantCatalog m_catalog;
    CServerCache m_cache { m_profile, m_texts, m_catalog };
};

} // namespace

TEST_F(ServerCacheTest, ServersWithAnAddressAreLoadedInListOrder)
{
    LoadProfile("[Preislisten]\r\n"
                "Server 2=http://example.org/2\r\n"
                "Server 1=\r\n"
                "; comment\r\n"
                "Mine=-\r\n"
                "Server 3=http://example.org/3\r\n"
                "[Server 1]\r\nKarotte=5,00\r\n");

    EXPECT_EQ((Lines { "Server 2", "Mine", "Server 3" }), m_cache.Names());
    EXPECT_EQ(nullptr, m_cache.FindTable("Server 1"));
    // The profile does not tell "server 2" from "Server 2", so the cache does not either.
    EXPECT_EQ(m_cache.FindTable("Server 2"), m_cache.FindTable("server 2"));
    EXPECT_EQ("-", m_cache.FindTable("Mine")->m_strUrl);
    EXPECT_EQ("Server 3", m_cache.FindTable("Server 3")->m_strServerName);
}

TEST_F(ServerCacheTest, MissingKeysGetTheirDefaults)
{
    LoadProfile("[Preislisten]\r\nA=http://a\r\nB=http://b\r\nC=x\r\nD=x\r\n"
                "[B]\r\naktualisiert=6.12.26 09:05\r\nStand=05.12.2026\r\nSelected=0\r\n"
                "Werte=2,4-5\r\nListType=csv\r\nkarotte=0,07\r\n"
                "[C]\r\nSelected=-7\r\n[D]\r\nSelected=ja\r\n");

    EXPECT_EQ(
        (Lines { "(noch nicht geladen)", "", "1", "1,2", "txt", "0,0", "0,0" }), Entries("A"));
    EXPECT_EQ((Lines { "6.12.26 09:05", "05.12.2026", "0", "2,4-5", "csv", "0,07", "0,0" }),
        Entries("B"));
    // The plants read "0,0" without an entry each: a server without prices costs five entries.
    EXPECT_EQ(5u, m_cache.FindTable("A")->GetCount());
    EXPECT_EQ("1", m_cache.GetServerValue("C", "Selected", ""));
    EXPECT_EQ("0", m_cache.GetServerValue("D", "Selected", "")); // not a number
}

TEST_F(ServerCacheTest, SortierungMovesToWerteAndWinsOverIt)
{
    LoadProfile("[Preislisten]\r\nOld=x\r\nBoth=x\r\n"
                "[Old]\r\nSortierung=3,5\r\nKarotte=1,00\r\n"
                "[Both]\r\nWerte=1,2\r\nSortierung=4,6\r\n");

    EXPECT_EQ("3,5", m_cache.GetServerValue("Old", "Werte", ""));
    EXPECT_EQ("4,6", m_cache.GetServerValue("Both", "Werte", ""));
    EXPECT_EQ((Lines { "Karotte=1,00", "Werte=3,5" }), SavedSection("Old"));
    EXPECT_EQ((Lines { "Werte=4,6" }), SavedSection("Both"));
}

TEST_F(ServerCacheTest, SavingLeavesDefaultColumnsAndListTypeOutOfTheSection)
{
    LoadProfile("[Preislisten]\r\nA=http://a\r\n"
                "[A]\r\nWerte=1,2\r\nListType=txt\r\n; prices\r\n");
    m_cache.SaveServerTable("A");
    EXPECT_EQ((Lines { "Aktualisiert=", "Stand=", "Selected=1", "; prices" }), SavedSection("A"));

    CServerTable* table = m_cache.FindTable("A");
    table->SetAt("Werte", "2,3");
    table->SetAt("ListType", "csv");
    table->SetAt("Karotte", "0,09");
    table->RemoveKey("Salat");
    m_cache.SaveServerTable("A", table);
    EXPECT_EQ((Lines { "Aktualisiert=", "Stand=", "Selected=1", "Werte=2,3", "ListType=csv",
                  "Karotte=0,09", "; prices" }),
        SavedSection("A"));
}

// A server that was never loaded shows "not loaded yet" in whatever language is chosen, so
// the profile keeps an empty stamp instead of one language's text.
TEST_F(ServerCacheTest, SavingStoresNoNotLoadedTextOfAnyLanguage)
{
    LoadProfile("[Preislisten]\r\nA=http://a\r\n"
                "[Lang]\r\nMine=Meine Texte\r\n[Meine Texte]\r\nTxt_DefaultDate=(leer)\r\n");
    m_profile.WriteString("Settings", "Lang", "Mine");
    m_texts.LoadTexts(m_profile);
    const std::pair<std::string, std::string> cases[] = {
        { "(noch nicht geladen)", "" },
        { "(not loaded yet)", "" },
        { "(pas encore t\xE9l\xE9"
          "charg\xE9)",
            "" },
        { "(leer)", "" }, // the profile's own language
        { "", "" },
        { "6.12.26 09:05", "6.12.26 09:05" },
        { "(not loaded)", "(not loaded)" },
    };
    for (const auto& [stamp, stored] : cases) {
        m_cache.FindTable("A")->SetAt("Aktualisiert", stamp);
        m_cache.SaveServerTable("A");
        EXPECT_EQ(stored, m_profile.GetString("A", "Aktualisiert", "<none>")) << stamp;
    }
}

TEST_F(ServerCacheTest, SavingAllAppendsUnknownServersInServerOrder)
{
    LoadProfile("[Preislisten]\r\nZ=http://z\r\nA=http://a\r\n[A]\r\nSalat=2,00\r\n");
    CIniFile target;
    target.SetAutoSave(false);
    CServerCache copy(target, m_texts, m_catalog);
    for (const std::string& name : m_cache.Names())
        copy.AddTable(name) = *m_cache.FindTable(name);
    copy.SaveServerTables();

    ASSERT_EQ(3u, target.GetSize());
    EXPECT_EQ("Preislisten", target.GetAt(0)->GetName());
    EXPECT_EQ("Z", target.GetAt(1)->GetName());
    EXPECT_EQ("A", target.GetAt(2)->GetName());
    EXPECT_EQ((Lines { "Z=http://z", "A=http://a" }), target.GetAt(0)->Lines());
    EXPECT_EQ("2,00", target.GetString("A", "Salat"));
}

TEST_F(ServerCacheTest, ServerIntegersReadTheLeadingNumberOrTheDefault)
{
    LoadProfile("[Preislisten]\r\nA=http://a\r\n");
    struct Case {
        const char* stored;
        int expected;
    } const cases[]
        = { { "?", 42 }, { "12abc", 12 }, { "abc", 0 }, { "", 0 }, { " -3", -3 }, { "? ", 0 } };
    for (const Case& c : cases) {
        m_cache.SetServerValue("A", "Selected", c.stored);
        EXPECT_EQ(c.expected, m_cache.GetServerInt("A", "Selected", 42)) << c.stored;
    }
    EXPECT_EQ(42, m_cache.GetServerInt("A", "Missing", 42));
    EXPECT_EQ(42, m_cache.GetServerInt("Unknown", "Selected", 42));
}

TEST_F(ServerCacheTest, WritesGoThroughToTheProfileAndFailForUnknownServers)
{
    LoadProfile("[Preislisten]\r\nA=http://a\r\n");

    EXPECT_TRUE(m_cache.SetServerValue("A", "Karotte", "0,11"));
    EXPECT_TRUE(m_cache.SetServerInt("A", "Selected", 0));
    EXPECT_EQ("0,11", m_cache.GetServerValue("A", "Karotte", ""));
    EXPECT_EQ((Lines { "Karotte=0,11", "Selected=0" }), SavedSection("A"));

    // Letter case makes no other server: "a" is A, in the cache as in the profile.
    EXPECT_TRUE(m_cache.SetServerValue("a", "Karotte", "0,12"));
    EXPECT_EQ("0,12", m_cache.GetServerValue("A", "Karotte", ""));
    EXPECT_FALSE(m_cache.SetServerInt("Nobody", "Selected", 1));
    EXPECT_EQ(nullptr, m_profile.FindSection("Nobody"));
    EXPECT_EQ(nullptr, m_cache.FindTable("Nobody"));
    EXPECT_EQ("fallback", m_cache.GetServerValue("Nobody", "Karotte", "fallback"));
}

TEST_F(ServerCacheTest, DuplicateServerKeysMakeOneTableFromTheFirstValue)
{
    LoadProfile("[Preislisten]\r\nA=http://first\r\nB=http://b\r\nA=http://second\r\n");
    EXPECT_EQ((Lines { "A", "B" }), m_cache.Names());
    EXPECT_EQ("http://first", m_cache.FindTable("A")->m_strUrl);

    CServerTable* before = m_cache.FindTable("B");
    m_cache.LoadServerTable("B", "http://b2");
    EXPECT_EQ(before, m_cache.FindTable("B")); // refreshed in place
    EXPECT_EQ("http://b2", before->m_strUrl);
    EXPECT_EQ(2u, m_cache.Names().size());

    m_cache.RemoveServerTables();
    EXPECT_TRUE(m_cache.Names().empty());
    EXPECT_EQ(nullptr, m_cache.FindTable("A"));
}

TEST_F(ServerCacheTest, WithoutAServerListTheCacheIsEmpty)
{
    LoadProfile("[Settings]\r\n[A]\r\nKarotte=1\r\n");
    EXPECT_TRUE(m_cache.Names().empty());
    m_cache.SaveServerTables();
    EXPECT_EQ(nullptr, m_profile.FindSection("Preislisten"));
}

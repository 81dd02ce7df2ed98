#include "serverlist/ServerListUpdater.h"

#include "serverlist/ServerListFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseProfileAssignmentTest, SplitsSectionKeyAndValue)
{
    struct Case {
        const char* text;
        bool usable;
        const char* section;
        const char* key;
        const char* value;
    };
    const std::vector<Case> cases = {
        { "[Umsetzen]Carrot=Karotte", true, "Umsetzen", "Carrot", "Karotte" },
        { "[ Settings ] ServerInt = 7 ", true, "Settings", "ServerInt", "7" },
        { "[Umsetzen]Carrot=", true, "Umsetzen", "Carrot", "" },
        { "[Texts Deutsch] =", true, "Texts Deutsch", "", "" },
        { "[S]k=a=b", true, "S", "k", "a=b" },
        { "[S]k]=v", true, "S", "k]", "v" },
        { "", false, "", "", "" },
        { "Umsetzen]Carrot=Karotte", false, "", "", "" },
        { " [Umsetzen]Carrot=Karotte", false, "", "", "" },
        { "[Umsetzen Carrot=Karotte", false, "", "", "" },
        { "[]Carrot=Karotte", false, "", "", "" },
        { "[  ]Carrot=Karotte", false, "", "", "" },
        { "[Umsetzen]=Karotte", false, "", "", "" },
        { "[Ums=etzen]Carrot", false, "", "", "" },
        { "[Umsetzen]Carrot", false, "", "", "" },
        { "-", false, "", "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string section, key, value;
        ASSERT_EQ(ParseProfileAssignment(c.text, section, key, value), c.usable);
        if (c.usable) {
            EXPECT_EQ(section, c.section);
            EXPECT_EQ(key, c.key);
            EXPECT_EQ(value, c.value);
        }
    }
}

using ServerListUpdaterTest = ServerListFixture;

TEST_F(ServerListUpdaterTest, HeadingOnlyStampsTodayAndChangesNothingElse)
{
    const std::string before = ProfileText();

    EXPECT_TRUE(UpdateWith("Name\tAdresse\tWerte\tTyp\n"));
    EXPECT_EQ(m_profile.GetString("Settings", "ServerUpd"), "2026-12-06");
    EXPECT_EQ(ProfileWithoutStamp(), before);
    EXPECT_EQ(m_nRefills, 1);
    EXPECT_EQ(ReadWholeFile(m_dir.file("ServerList.txt")).substr(0, 5), "URL: ");
}

TEST_F(ServerListUpdaterTest, NewServerIsAppendedWithAnEmptyStampInItsSection)
{
    const std::string address = "https://example.invalid/51.tsv";
    EXPECT_TRUE(UpdateWith("heading\nServer 51\t" + address + "\t\n"));

    EXPECT_EQ(m_cache.Names(),
        (std::vector<std::string> { "Server 1", "Server 2", "Server 3", "Server 51" }));
    const CServerTable& table = *m_cache.FindTable("Server 51");
    EXPECT_EQ(table.m_strServerName, "Server 51");
    EXPECT_EQ(table.m_strUrl, address);
    EXPECT_EQ(table.Entries(),
        (CServerTable::Map { { "Aktualisiert", "(noch nicht geladen)" }, { "Werte", "1,2" },
            { "ListType", "txt" } }));
    EXPECT_EQ(
        m_profile.FindSection("Server 51")->Lines(), std::vector<std::string> { "Aktualisiert=" });
    std::vector<std::string> keys;
    m_profile.FindSection("Preislisten")->GetKeys(keys, true);
    EXPECT_EQ(keys.back(), "Server 51=" + address);
}

TEST_F(ServerListUpdaterTest, KnownServerGetsNewAddressColumnsAndListTypeOnly)
{
    m_cache.SetServerValue("Server 1", "Karotte", "0,45");
    m_cache.SetServerValue("Server 1", "Aktualisiert", "1.1.26 10:00");
    m_cache.SetServerValue("Server 1", "Stand", "31.12.2025");
    m_cache.SetServerValue("Server 1", "Selected", "0");

    EXPECT_TRUE(UpdateWith("heading\nServer 1\thttp://example.invalid/new\t2,3\tCSV\n"));
    EXPECT_EQ(m_cache.FindTable("Server 1")->m_strUrl, "http://example.invalid/new");
    EXPECT_EQ(m_profile.GetString("Preislisten", "Server 1"), "http://example.invalid/new");
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>> {
             { "Werte", "2,3" }, { "ListType", "csv" }, { "Karotte", "0,45" },
             { "Aktualisiert", "1.1.26 10:00" }, { "Stand", "31.12.2025" }, { "Selected", "0" } }) {
        EXPECT_EQ(Value("Server 1", key), value) << key;
        EXPECT_EQ(m_profile.GetString("Server 1", key, "<missing>"), value) << key;
    }
    EXPECT_EQ(m_cache.Names().size(), 3u);

    // Back to the defaults: the keys leave the section.
    EXPECT_TRUE(UpdateWith("heading\nServer 1\thttp://example.invalid/new\t\tods\n"));
    EXPECT_EQ(Value("Server 1", "Werte"), "1,2");
    EXPECT_EQ(Value("Server 1", "ListType"), "txt");
    EXPECT_EQ(m_profile.GetString("Server 1", "Werte", "<missing>"), "<missing>");
    EXPECT_EQ(m_profile.GetString("Server 1", "ListType", "<missing>"), "<missing>");
}

TEST_F(ServerListUpdaterTest, MalformedRowsAreSkippedAndTheRestApplied)
{
    const std::string before = ProfileText();
    EXPECT_TRUE(UpdateWith("heading\n"
                           "Server 9\thttp://example.invalid/9\n" // two fields
                           "\t\tServer 9\n" // no name, no address
                           "Server 9\t\t1,2\n" // no address
                           "\t[Umsetzen]Salad=Salat\t\n" // directive without field 3
                           "\n"));
    EXPECT_EQ(ProfileWithoutStamp(), before);
    EXPECT_EQ(m_cache.Names().size(), 3u);

    EXPECT_TRUE(UpdateWith("heading\nbroken\nServer 9\thttp://example.invalid/9\t1,3\n"));
    EXPECT_EQ(Value("Server 9", "Werte"), "1,3");
}

TEST_F(ServerListUpdaterTest, NewerVersionRowsShowTheNotice)
{
    EXPECT_TRUE(UpdateWith("heading\n"
                           "\tVersion\t1.40\n"
                           "\tversion\t1.39\n"
                           "\tVERSION\t1.4\n"
                           "\tVersion\t0.99\n"
                           "\tVersion\t2.0\n"
                           "\tVersion\tneu\n"
                           "\tVersion\t2\n"
                           "\tVersion\t1.40\n"));
    EXPECT_EQ(m_ui.m_notices, (std::vector<std::pair<int, int>> { { 2, 0 } }));
}

// Version rows are directive rows: a flood of them shows one notice and uses up the bound.
TEST_F(ServerListUpdaterTest, AFloodOfVersionRowsShowsOneNoticeWithinTheDirectiveBound)
{
    std::string body = "heading\n";
    for (int i = 0; i < 100'000; ++i)
        body += "\tVersion\t1." + std::to_string(40 + i % 7) + "\n";
    body += "\t[Umsetzen]Carrot=Karotte\t-\n";
    EXPECT_TRUE(UpdateWith(body));
    EXPECT_EQ(m_ui.m_notices, (std::vector<std::pair<int, int>> { { 1, 46 } }));
    EXPECT_EQ(m_profile.GetString("Umsetzen", "Carrot", "<none>"), "<none>");
}

TEST_F(ServerListUpdaterTest, AssignmentsChangeTheProfileWhereTheirConditionHolds)
{
    struct Case {
        const char* what;
        std::string setup; // profile text after the base profile
        std::string row;
        const char* section;
        const char* key;
        const char* expected;
    };
    const std::vector<Case> cases = {
        { "no condition", "", "\t[Umsetzen]Carrot=Karotte\t-", "Umsetzen", "Carrot", "Karotte" },
        { "new section", "", "\t[Neu]Key=Wert\tx", "Neu", "Key", "Wert" },
        { "condition holds", "[Settings]\nServerInt=5\n",
            "\t[Settings]ServerInt=7\t[Settings]ServerInt=5", "Settings", "ServerInt", "7" },
        { "condition fails", "[Settings]\nServerInt=4\n",
            "\t[Settings]ServerInt=7\t[Settings]ServerInt=5", "Settings", "ServerInt", "4" },
        { "condition on a missing key", "", "\t[Settings]ServerInt=7\t[Settings]ServerInt=5",
            "Settings", "ServerInt", "<missing>" },
        { "condition ignores case", "", "\t[Umsetzen]Carrot=Karotte\t[Settings]Lang=DEUTSCH",
            "Umsetzen", "Carrot", "Karotte" },
        { "empty value deletes the key", "", "\t[Umsetzen]Carrots=\t-", "Umsetzen", "Carrots",
            "<missing>" },
        { "blank key deletes the section", "", "\t[Umsetzen] =\t-", "Umsetzen", "Datum/Uhrzeit",
            "<missing>" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_profile.RemoveAll();
        LoadProfile(c.setup);
        m_profile.WriteString("Settings", "ServerList", Url("/list"));

        EXPECT_TRUE(UpdateWith("heading\n" + c.row + "\n"));
        EXPECT_EQ(m_profile.GetString(c.section, c.key, "<missing>"), c.expected);
    }
    EXPECT_EQ(m_profile.FindSection("Umsetzen"), nullptr);
}

TEST_F(ServerListUpdaterTest, UnusableAssignmentsHaveNoEffect)
{
    const std::string before = ProfileText();
    EXPECT_TRUE(UpdateWith("heading\n"
                           "\tUmsetzen]Carrot=Karotte\t-\n"
                           "\t[]Carrot=Karotte\t-\n"
                           "\t[Umsetzen]=Karotte\t-\n"
                           "\t[Umsetzen Carrot=Karotte\t-\n"
                           "\t[Ums=etzen]Carrot\t-\n"));
    EXPECT_EQ(ProfileWithoutStamp(), before);
}

TEST_F(ServerListUpdaterTest, FallbackDocumentNamesTheCurrentAddress)
{
    m_profile.WriteString("Settings", "ServerList", Url("/moved-away"));
    m_profile.WriteString("Settings", "ServerListFallback", Url("/fallback"));
    Route("/fallback", Url("/list2") + "\tthe current list\nignored\n");
    Route("/list2", "heading\nServer 60\thttp://example.invalid/60\t\n");

    EXPECT_TRUE(Update(&m_ui));
    EXPECT_NE(m_cache.FindTable("Server 60"), nullptr);
    // The copy shows the list, not the fallback document.
    EXPECT_NE(ReadWholeFile(m_dir.file("ServerList.txt")).find("Server 60"), std::string::npos);
}

TEST_F(ServerListUpdaterTest, FailedUpdateChangesNothing)
{
    struct Case {
        const char* what;
        std::string fallback;
        std::string fallbackBody;
        int fallbackStatus;
    };
    const std::vector<Case> cases = {
        { "no fallback", "", "", 200 },
        { "fallback fails", Url("/fallback"), "x", 404 },
        { "fallback is empty", Url("/fallback"), "", 200 },
        { "fallback names no address", Url("/fallback"), "\t" + Url("/list2") + "\n", 200 },
        { "named address fails", Url("/fallback"), Url("/also-missing") + "\n", 200 },
        { "named address is no http", Url("/fallback"), "file:///etc/passwd\n", 200 },
    };
    Route("/list2", "heading\nServer 60\thttp://example.invalid/60\t\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_profile.WriteString("Settings", "ServerList", Url("/missing"));
        m_profile.WriteString("Settings", "ServerListFallback", c.fallback);
        m_profile.WriteString("Settings", "ServerUpd", "2020-01-01");
        Route("/fallback", c.fallbackBody, c.fallbackStatus);
        const std::string before = ProfileText();

        EXPECT_FALSE(Update(&m_ui));
        EXPECT_EQ(ProfileText(), before);
    }
    EXPECT_EQ(m_nRefills, 0);
    EXPECT_EQ(m_cache.FindTable("Server 60"), nullptr);
}

// A list saved as UTF-16, or one with NUL bytes, is no list: nothing of it reaches the profile.
TEST_F(ServerListUpdaterTest, AListThatIsNoUtf8TextIsAFailure)
{
    const std::string list = "heading\nServer 60\thttp://example.invalid/60\t\n";
    std::string littleEndian = "\xFF\xFE";
    std::string bigEndian = "\xFE\xFF";
    for (const char c : list) {
        littleEndian += { c, '\0' };
        bigEndian += { '\0', c };
    }
    std::string withNul = list;
    withNul[12] = '\0';
    const std::size_t servers = m_cache.Names().size();
    for (const std::string& body : { littleEndian, bigEndian, withNul }) {
        Route("/list", body);
        const std::string before = ProfileText();
        CServerListRun run(m_profile, m_fetch);
        RunToEnd(run, m_fetch);
        EXPECT_FALSE(run.Succeeded());
        EXPECT_EQ(run.Outcome().kind, SDownloadOutcome::EKind::NotServerList);
        EXPECT_EQ(run.Outcome().Describe(m_texts), "Das ist keine Serverliste: kein UTF-8-Text");
        EXPECT_EQ(ProfileText(), before);
    }
    m_updater.ApplyServerList(withNul, nullptr);
    EXPECT_EQ(m_cache.Names().size(), servers);
}

TEST_F(ServerListUpdaterTest, NoAddressMeansNoFetch)
{
    m_profile.WriteString("Settings", "ServerList", std::nullopt);
    m_profile.WriteString("Settings", "ServerListFallback", Url("/fallback"));
    EXPECT_FALSE(Update(&m_ui));
    EXPECT_EQ(Requests("/fallback"), 0);
}

TEST_F(ServerListUpdaterTest, WithoutWindowNothingIsShownOrRefilled)
{
    Route("/list", "heading\n\tVersion\t9.9\nServer 51\thttp://example.invalid/51\t\n");
    EXPECT_TRUE(Update(nullptr));
    EXPECT_TRUE(m_ui.m_notices.empty());
    EXPECT_EQ(m_nRefills, 0);
    EXPECT_NE(m_cache.FindTable("Server 51"), nullptr);
}

} // namespace

#include "prices/PriceList.h"

#include "prices/PricesFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitFieldsTest, TrimsAndUnquotesEachField)
{
    struct Case {
        std::string line;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases = {
        { "Karotte\t0,45", { "Karotte", "0,45" } },
        { "", { "" } },
        { "no separator", { "no separator" } },
        { "  Karotte \t \"0,45\" \t\"\"", { "Karotte", "0,45", "\"\"" } },
        { "\"x\"y\"\t\"a", { "x\"y", "\"a" } },
        { "a\t", { "a", "" } },
        { "\ta\t\t", { "", "a", "", "" } },
        { "last\r\n", { "last" } },
        { "\"  spaced  \"", { "  spaced  " } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> fields = { "stale" };
        EXPECT_EQ(SplitFields(c.line, fields, '\t'), static_cast<int>(c.fields.size()));
        EXPECT_EQ(fields, c.fields);
    }
}

TEST(PriceColumnsTest, WerteReadsAsNameColumnAndPriceRange)
{
    struct Case {
        const char* werte;
        bool usable;
        int name, first, last;
    };
    const std::vector<Case> cases = {
        { "1,2", true, 0, 1, -1 },
        { "1,3-6", true, 0, 2, 5 },
        { "1,6-3", true, 0, 5, 2 },
        { "2,1", true, 1, 0, -1 },
        { "1, 2", true, 0, 1, -1 },
        { "1,3-", true, 0, 2, -1 },
        { "1,2 extra", true, 0, 1, -1 },
        { "0,2", false, 0, 0, 0 },
        { "2", false, 0, 0, 0 },
        { "1,0", false, 0, 0, 0 },
        { "1,3-0", false, 0, 0, 0 },
        { "-1,2", false, 0, 0, 0 },
        { "1 ,2", false, 0, 0, 0 },
        { "", false, 0, 0, 0 },
        { "a,b", false, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.werte);
        int name = -9, first = -9, last = -9;
        ASSERT_EQ(CPriceList::ReadColumns(c.werte, name, first, last), c.usable);
        if (c.usable) {
            EXPECT_EQ(std::vector<int>({ name, first, last }),
                std::vector<int>({ c.name, c.first, c.last }));
        }
    }
}

class PriceListTest : public PricesFixture {
protected:
    PriceListTest() { LoadProfile(); }

    // Sets Werte, fetches body as Server 1's list and reports the result.
    bool Download(const std::string& werte, const std::string& body)
    {
        m_cache.SetServerValue("Server 1", "Werte", werte);
        Route("/server1", body);
        return DownloadServers({ "Server 1" }) == 0;
    }
};

TEST_F(PriceListTest, ListLinesBecomePricesInTableAndProfile)
{
    struct Case {
        const char* what;
        const char* werte;
        std::string body;
        std::vector<std::pair<std::string, std::string>> expected;
        bool prices = true; // whether a price row was read: a list without one is a failure
    };
    const std::vector<Case> cases = {
        { "plain row", "1,2", "Karotte\t0,45\n", { { "Karotte", "0,45" } } },
        { "case and blanks", "1,2", "  kAROTTE \t 0,45 \n", { { "Karotte", "0,45" } } },
        { "mapped name", "1,2", "Carrots\t0,45\n", { { "Karotte", "0,45" } } },
        { "quoted cells", "1,2", "\"Karotte\"\t\"0,45\"\n", { { "Karotte", "0,45" } } },
        { "umlaut folding", "1,2", "K\xC3\x9CRBIS\t3,00\n", { { "K\xFCrbis", "3,00" } } },
        { "full stop", "1,2", "Salat\t1.25\n", { { "Salat", "1,25" } } },
        { "no decimal part", "1,2", "Salat\t3\n", { { "Salat", "9,99" } }, false },
        { "trailing text kept", "1,2", "Tomate\t2,5 Taler\n", { { "Tomate", "2,5 Taler" } } },
        { "name in column 2", "2,1", "0,45\tKarotte\n", { { "Karotte", "0,45" } } },
        { "last positive in range", "1,3-6", "Karotte\tx\t2,10\t2,05\t0,00\t1,95\n",
            { { "Karotte", "1,95" } } },
        { "range stops at a dash", "1,3-6", "Karotte\tx\t2,10\t-\t1,95\t1,90\n",
            { { "Karotte", "2,10" } } },
        { "range backwards", "1,6-3", "Karotte\tx\t1,95\t0,00\t-\t2,10\n",
            { { "Karotte", "2,10" } } },
        { "no positive price in range", "1,2-3", "Karotte\t0,00\t0,0\nSalat\t1,00\t0,00\n",
            { { "Karotte", "0,00" } } },
        { "only zero prices", "1,2-3", "Karotte\t0,00\t0,0\nSalat\t0,00\t0\n",
            { { "Karotte", "9,99" } }, false },
        { "negative prices", "1,2", "Karotte\t-1,50\nSalat\t-0,50\n", { { "Karotte", "9,99" } },
            false },
        { "absurd prices", "1,2", "Karotte\t99999999999999999999,00\nSalat\t5,0e20\n",
            { { "Karotte", "9,99" } }, false },
        { "an insane row beside a sane one", "1,2", "Karotte\t-1,50\nSalat\t1,00\n",
            { { "Karotte", "9,99" }, { "Salat", "1,00" } } },
        { "row too short for the range", "1,2-4", "Karotte\t1,00\t2,00\n",
            { { "Karotte", "9,99" } }, false },
        { "later row wins", "1,2", "Karotte\t1,00\nKarotte\t2,00\n", { { "Karotte", "2,00" } } },
        { "headers and unknown names", "1,2", "Pflanze\tPreis\n\nUnbekannt\t1,00\nSalat\t0,80",
            { { "Salat", "0,80" }, { "Unbekannt", "<missing>" } } },
        { "date row", "1,2", "Datum/Uhrzeit\t12.03.2017\t08:00\nSalat\t1,00\n",
            { { "Stand", "12.03.2017 08:00" } } },
        { "two-field Stand row", "1,2", "Stand\t12.03.2017\nSalat\t1,00\n",
            { { "Stand", "12.03.2017" } } },
        { "date row without a date", "1,1", "Stand\nDatum/Uhrzeit\n", { { "Stand", "old" } },
            false },
        { "date row must reach the price column", "1,3",
            "Datum/Uhrzeit\t12.03.2017\nKarotte\t0,45\t0,50\n",
            { { "Stand", "old" }, { "Karotte", "0,50" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* plant : { "Karotte", "Salat", "Tomate", "K\xFCrbis" })
            m_cache.SetServerValue("Server 1", plant, "9,99");
        m_cache.SetServerValue("Server 1", "Stand", "old");

        EXPECT_EQ(Download(c.werte, c.body), c.prices);
        for (const auto& [key, value] : c.expected) {
            EXPECT_EQ(Value("Server 1", key), value) << key;
            EXPECT_EQ(m_profile.GetString("Server 1", key, "<missing>"), value) << key;
        }
    }
}

TEST_F(PriceListTest, UnusableWerteFailsWithoutFetching)
{
    for (const char* werte : { "0,2", "2", "1,0", "1,3-0", "", "x" }) {
        SCOPED_TRACE(werte);
        EXPECT_FALSE(Download(werte, "Karotte\t0,45\n"));
    }
    EXPECT_EQ(Requests("/server1"), 0);
    EXPECT_EQ(Value("Server 1", "Karotte"), "0,0");
}

TEST_F(PriceListTest, FailedFetchChangesNothingButLeavesTheCopy)
{
    m_cache.SetServerValue("Server 1", "Karotte", "0,45");
    Route("/server1", "Karotte\t5,00\n", 500);

    EXPECT_EQ(DownloadServers({ "Server 1" }), 1);
    EXPECT_EQ(Value("Server 1", "Karotte"), "0,45");
    EXPECT_EQ(m_profile.GetString("Server 1", "Karotte"), "0,45");
    const std::string copy = ReadWholeFile(m_dir.file("Server 1.txt"));
    EXPECT_NE(copy.find("Status Code: 500"), std::string::npos);
}

} // namespace

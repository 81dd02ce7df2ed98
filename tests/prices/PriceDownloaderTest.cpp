#include "prices/PriceDownloader.h"

#include "prices/PricesFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(StampTest, FailureStampShowsTheErrorAsUnsigned32BitHex)
{
    EXPECT_EQ(CPriceDownloader::FormatFailureStamp(28), "** 0x0000001c");
    EXPECT_EQ(CPriceDownloader::FormatFailureStamp(-1), "** 0xffffffff");
}

class PriceDownloaderTest : public PricesFixture {
protected:
    PriceDownloaderTest()
    {
        LoadProfile("[Server 1]\nAktualisiert=1.1.26 10:00\n"
                    "[Server 2]\nSelected=0\n"
                    "[Server 3]\nAktualisiert=2.1.26 11:00\n");
        Route("/server1", "Karotte\t0,45\n");
        Route("/server2", "Karotte\t0,55\n");
    }
};

TEST_F(PriceDownloaderTest, SuccessStampsTableAndProfile)
{
    DownloadServers({ "Server 1" });
    EXPECT_EQ(Value("Server 1", "Karotte"), "0,45");
    EXPECT_EQ(Value("Server 1", "Aktualisiert"), "6.12.26 09:05");
    EXPECT_EQ(m_profile.GetString("Server 1", "Aktualisiert"), "6.12.26 09:05");
}

TEST_F(PriceDownloaderTest, FailureStampsTheTableOnly)
{
    DownloadServers({ "Server 3" }); // added by hand: address "-"
    EXPECT_NE(m_fetch.LastError(), 0);
    EXPECT_EQ(Value("Server 3", "Aktualisiert"),
        CPriceDownloader::FormatFailureStamp(m_fetch.LastError()));
    EXPECT_NE(Value("Server 3", "Aktualisiert"), "** 0x00000000");
    EXPECT_EQ(m_profile.GetString("Server 3", "Aktualisiert"), "2.1.26 11:00");

    Route("/server1", "Karotte\t9,99\n", 404);
    DownloadServers({ "Server 1" });
    EXPECT_EQ(Value("Server 1", "Aktualisiert"), "** 0x00000000");
    EXPECT_EQ(m_profile.GetString("Server 1", "Aktualisiert"), "1.1.26 10:00");
    EXPECT_EQ(Value("Server 1", "Karotte"), "0,0");
}

// No fetch ran, so the stamp names the server's own failure, not the previous fetch's error.
TEST_F(PriceDownloaderTest, UnusableWerteStampsItsOwnError)
{
    DownloadServers({ "Server 3" });
    m_cache.SetServerValue("Server 1", "Werte", "0,2");

    DownloadServers({ "Server 1" });
    EXPECT_EQ(Value("Server 1", "Aktualisiert"),
        CPriceDownloader::FormatFailureStamp(SDownloadOutcome::kErrorColumns));
    EXPECT_EQ(Requests("/server1"), 0);
}

TEST_F(PriceDownloaderTest, UnknownServerIsLeftAlone)
{
    const std::string before = ProfileText();
    DownloadServers({ "Server 99", "" });
    EXPECT_EQ(m_cache.FindTable("Server 99"), nullptr);
    EXPECT_EQ(ProfileText(), before);
}

TEST_F(PriceDownloaderTest, DownloadAllTakesOfferedServersIncludingNewOnes)
{
    // A server that a list update created has no Selected entry yet.
    CServerListUpdater updater(m_profile, m_cache, m_texts, m_clock);
    m_profile.WriteString("Settings", "ServerList", Url("/list"));
    Route("/list", "heading\nServer 4\t" + Url("/server4") + "\t\n");
    ASSERT_TRUE(UpdateServerList(updater, m_profile, m_fetch, nullptr));
    Route("/server4", "Karotte\t0,65\n");

    const std::vector<std::string> offered = { "Server 1", "Server 3", "Server 4" };
    EXPECT_EQ(m_downloader.OfferedServers(), offered);
    DownloadServers(offered);
    EXPECT_EQ(Requests("/server2"), 0);
    EXPECT_EQ(Value("Server 1", "Aktualisiert"), "6.12.26 09:05");
    EXPECT_EQ(Value("Server 2", "Karotte"), "0,0");
    EXPECT_EQ(Value("Server 4", "Karotte"), "0,65");
    EXPECT_EQ(Value("Server 4", "Aktualisiert"), "6.12.26 09:05");
}

TEST_F(PriceDownloaderTest, DownloadAllWithoutOfferedServerDoesNothing)
{
    for (const std::string& name : m_cache.Names())
        m_cache.SetServerInt(name, "Selected", 0);
    EXPECT_TRUE(m_downloader.OfferedServers().empty());
}

} // namespace

#include "prices/PriceListFile.h"

#include "calc/Amount.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "prices/DownloadRun.h"
#include "prices/PriceDownloader.h"
#include "support/FixedTime.h"
#include "support/LoopbackServer.h"
#include "support/RunToEnd.h"
#include "support/ShippedWorld.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// Every plant's price, stored as a player of each language types it, comes back from the
// exported file by import, by paste and by download.
TEST(PriceListFile, ExportedPricesComeBackByImportPasteAndDownload)
{
    for (const char* language : { "Deutsch", "English", "Nederlands",
             "Fran\xE7"
             "ais" }) {
        CShippedWorld world(language);
        CServerCache& servers = world.m_servers;
        TempDir dir;
        LoopbackServer server; // outlives the fetch, which would keep its connection open
        CFetcher fetch;
        fetch.SetCopyFolder(dir.path().string());
        CFixedClock clock { FixedNow() };
        CPriceList list { world.m_profile, world.m_catalog };
        CDownloadOutcomes outcomes;
        CPriceDownloader downloader { world.m_profile, servers, list, fetch, clock, outcomes };
        const std::string decimal = world.m_texts.GetText("Txt_Decimal");
        servers.SetServerValue("Server 1", "Stand", "5.12.26 20:15");
        double price = 0.0;
        for (const std::string& plant : world.m_catalog.m_astrPlants)
            servers.SetServerValue(
                "Server 1", plant, ReplaceDecimal(FormatFixed(price += 0.37, 2), decimal));

        const std::string text
            = CPriceListFile::Text(servers, "Server 1", world.m_catalog, "Artikel", "Markt");
        int error = 0;
        ASSERT_TRUE(CPriceListFile::Write(dir.file("Server 1.tsv"), text, error));
        server.Server().Get("/s1.tsv", [&text](const httplib::Request&, httplib::Response& res) {
            res.set_content(text, "text/plain");
        });
        server.Start();
        servers.SetServerAddress("Server 4", server.Url("/s1.tsv"));
        EXPECT_TRUE(downloader.ImportPriceList("Server 2", dir.file("Server 1.tsv")));
        EXPECT_TRUE(downloader.PastePriceList("Server 3", Utf8ToCp1252(text)));
        CDownloadRun run(downloader, fetch, { "Server 4" });
        RunToEnd(run, fetch);

        for (const char* copy : { "Server 2", "Server 3", "Server 4" }) {
            EXPECT_EQ(servers.GetServerValue(copy, "Stand", ""), "5.12.26 20:15") << copy;
            for (const std::string& plant : world.m_catalog.m_astrPlants)
                EXPECT_EQ(ParseAmount(servers.GetServerValue(copy, plant, "")),
                    ParseAmount(servers.GetServerValue("Server 1", plant, "")))
                    << language << " " << copy << " " << plant;
        }
    }
}

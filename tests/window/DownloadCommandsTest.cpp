#include "window/DownloadCommands.h"
#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "support/FakeUserInterface.h"
#include "support/FakeWindowView.h"
#include "support/FixedTime.h"
#include "support/HeadlessWindow.h"
#include "support/LoopbackServer.h"
#include "support/ShippedProfile.h"
#include "support/TempDir.h"
#include "window/ControlIds.h"
#include "window/MainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <tuple>

namespace {

using namespace std::chrono_literals;
using Servers = std::vector<std::pair<std::string, std::string>>;

const std::string kNewStamp = "6.12.26 09:05";

// The main window over a profile offering the given servers, which the loopback server answers
// by path: /stall never (until the test ends), /gone with 404, /reset with half a list and a
// broken connection, /servers with a server list, /utf8 with invalid UTF-8, /long with 50,000
// lines, any other with a list.
class DownloadCommandsTest : public HeadlessWindow {
protected:
    DownloadCommandsTest()
    {
        m_http.Server().Get(
            "/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
                const std::string path = request.matches[1];
                if (path == "stall")
                    m_http.Stall();
                if (path == "gone")
                    response.status = 404;
                if (path == "reset") {
                    response.set_content_provider(100000, "text/plain",
                        [](std::size_t, std::size_t, httplib::DataSink& sink) {
                            const std::string head = "Karotte\t9,99\nSalat\t8,";
                            sink.write(head.data(), head.size());
                            return false;
                        });
                    return;
                }
                std::string body = "Karotte\t0,45\nDatum/Uhrzeit\t06.12.2026\t08:00\n";
                if (path == "servers")
                    body = "Server\tAdresse\nNeuer Server\t-\t\n";
                if (path == "utf8")
                    body = "K\xFCrbis\t3,00\nKarotte\t0,\xFF"
                           "45\nSalat\t1,25\xC3\nTomate\t2,50\n";
                if (path == "long") {
                    body.clear();
                    for (int line = 0; line < 50000; ++line)
                        body += line == 25000 ? "Tomate\t7,77\n" : "Unbekannt\t1,00\n";
                }
                response.set_content(body, "text/plain");
            });
        m_http.Start();
    }

    void Open(const Servers& servers, const std::function<void(CIniFile&)>& edit = {})
    {
        ASSERT_TRUE(WriteServersProfile(ProfilePath(), servers, edit));
        m_limits.connectTimeoutMs = 2000;
        Start();
    }

    void Select(const std::string& server)
    {
        const std::vector<std::string> items = m_view.Items(IDC_SERVERS);
        const auto found = std::find(items.begin(), items.end(), server);
        m_view.SetCurrentItem(IDC_SERVERS, static_cast<int>(found - items.begin()));
        m_window->OnCommand(IDC_SERVERS);
    }

    std::string Value(const std::string& server, const std::string& key)
    {
        return m_app->Servers().GetServerValue(server, key, "<none>");
    }

    std::string Url(const std::string& path) const { return m_http.Url("/" + path); }

    LoopbackServer m_http;
};

TEST_F(DownloadCommandsTest, DownloadTakesTheListAndEscapeStopsAStalledOneKeepingTheOldPrices)
{
    Open({ { "Server 1", Url("list") }, { "Server 2", Url("stall") } });
    m_window->OnCommand(IDC_DOWNLOAD);
    EXPECT_EQ(m_ui.m_nWaitDepth, 1);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(m_ui.m_nWaitDepth, 0);
    EXPECT_EQ(Value("Server 1", "Karotte"), "0,45");
    EXPECT_EQ(m_view.Text(IDC_DATE), "Daten von: " + kNewStamp);
    EXPECT_EQ(m_view.Text(IDC_MARKET_DATE), "Marktpreise von: 06.12.2026 08:00");

    Select("Server 2");
    m_window->OnCommand(IDC_DOWNLOAD);
    m_view.RunPosted();
    ASSERT_TRUE(m_window->IsBusy());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_window->OnCloseRequest(CMainWindow::ECloseBy::EscapeKey));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_FALSE(m_window->IsBusy());
    EXPECT_EQ(Value("Server 2", "Karotte"), "0,10");
    EXPECT_EQ(Value("Server 2", "Aktualisiert"), kOldStamp);
    EXPECT_EQ(m_view.Text(IDC_DATE), "Daten von: " + kOldStamp);
    EXPECT_TRUE(m_window->OnCloseRequest(CMainWindow::ECloseBy::EscapeKey));
}

// 55 servers, the fifth stalled: the 54 lists that came in are applied when the run stops,
// by Escape, the Close button or the session's end (which saves them), and the date label
// counts the stalled one as stopped.
TEST_F(DownloadCommandsTest, StoppingDownloadAllKeepsEveryListThatArrived)
{
    constexpr int kServers = 55;
    constexpr int kStalled = 5;
    const auto name = [](int i) { return "S" + std::to_string(100 + i); };
    using By = CMainWindow::ECloseBy;
    for (const std::optional<By> by :
        { std::optional(By::EscapeKey), std::optional(By::CloseButton), std::optional<By>() }) {
        SCOPED_TRACE(by ? static_cast<int>(*by) : -1);
        Servers servers;
        for (int i = 1; i <= kServers; ++i) {
            servers.emplace_back(name(i), Url(i == kStalled ? "stall" : "list"));
            std::filesystem::remove(m_dir.file(name(i) + ".txt"));
        }
        Open(servers);
        m_window->OnCommand(IDC_DOWNLOAD_ALL);
        // Each list leaves its copy when it arrives, just before the window hears of it.
        const auto arrived = [&] {
            for (int i = 1; i <= kServers; ++i)
                if (i != kStalled && !std::filesystem::exists(m_dir.file(name(i) + ".txt")))
                    return false;
            return true;
        };
        const auto limit = std::chrono::steady_clock::now() + 20s;
        while (!arrived() && std::chrono::steady_clock::now() < limit) {
            m_view.RunPosted();
            std::this_thread::sleep_for(5ms);
        }
        std::this_thread::sleep_for(200ms);
        m_view.RunPosted();
        ASSERT_TRUE(m_window->IsBusy());
        EXPECT_EQ(m_view.Text(IDC_MARKET_DATE), name(kStalled));

        if (by)
            EXPECT_EQ(m_window->OnCloseRequest(*by), by != By::EscapeKey);
        else
            m_window->OnSessionEnd();
        EXPECT_FALSE(m_window->IsBusy());
        CIniFile saved(m_dir.file("quotino.ini"));
        CIniFile& stamps = by ? m_app->Profile() : saved;
        int kept = 0;
        for (int i = 1; i <= kServers; ++i)
            kept += stamps.GetString(name(i), "Aktualisiert") == kNewStamp ? 1 : 0;
        std::printf("servers kept after the stop: %d of %d\n", kept, kServers);
        EXPECT_EQ(kept, kServers - 1);
        EXPECT_EQ(Value(name(kStalled), "Aktualisiert"), kOldStamp);
        EXPECT_EQ(m_view[IDC_DATE].strToolTip,
            "Alle herunterladen abgebrochen, \xFC"
            "bernommene Server: 54 / 55\n"
            "Fehlgeschlagene Server: 0 / 54");
        m_window.reset();
    }
}

// Every server of Download all ends stamped, each failure says why on its own date label with
// the count of failures below, and no price is lost or half written. A failed server-list
// update adds its line until the next command.
TEST_F(DownloadCommandsTest, DownloadAllStampsEveryServerAndTheTooltipSaysWhatWentWrong)
{
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        { "Good", "list", "" },
        { "Gone", "gone", "Der Server antwortete mit HTTP-Status 404" },
        { "Reset", "reset", "Download fehlgeschlagen, Fehler 0x00000012" },
        { "Invalid UTF-8", "utf8", "" },
        { "Long", "long", "" },
        { "Stalled", "stall",
            "Zeit\xFC"
            "berschreitung: der Server antwortet nicht" },
        { "Missing", "", "Adresse fehlt oder ist ung\xFCltig" },
    };
    Servers servers;
    for (const auto& [name, path, reason] : cases)
        servers.emplace_back(name, path.empty() ? "-" : Url(path));
    m_limits.stallSeconds = 1;
    Open(servers);
    m_window->OnCommand(IDC_DOWNLOAD_ALL);
    EXPECT_EQ(m_view.Text(IDC_DATE), "Alle herunterladen...");
    ASSERT_TRUE(RunUntilIdle());

    const std::string count = "Fehlgeschlagene Server: 4 / 7";
    for (const auto& [name, path, reason] : cases) {
        SCOPED_TRACE(name);
        Select(name);
        // A server without an address is told what to do instead.
        const std::string advice = path.empty()
            ? "\n" + CTexts::Fill(m_app->GetText("Txt_TipNoAddress"), {})
            : std::string();
        EXPECT_EQ(
            m_view[IDC_DATE].strToolTip, (reason.empty() ? count : reason + "\n" + count) + advice);
        EXPECT_EQ(Value(name, "Aktualisiert").rfind("** 0x", 0) == 0, !reason.empty());
        EXPECT_EQ(m_app->Profile().GetString(name, "Aktualisiert"),
            reason.empty() ? kNewStamp : kOldStamp);
    }
    const std::map<std::string, std::vector<std::string>> prices = {
        { "Reset", { "0,10", "0,0", "0,0" } },
        { "Invalid UTF-8", { "0,10", "1,25?", "2,50" } },
        { "Long", { "0,10", "0,0", "7,77" } },
    };
    for (const auto& [name, values] : prices)
        EXPECT_EQ(std::vector<std::string>(
                      { Value(name, "Karotte"), Value(name, "Salat"), Value(name, "Tomate") }),
            values)
            << name;

    m_app->Profile().WriteString("Settings", "ServerList", Url("gone"));
    Select("Good");
    m_window->OnCommand(IDC_LOAD_SERVER_LIST);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(m_view[IDC_DATE].strToolTip,
        count + "\nServerliste nicht geladen: Der Server antwortete mit HTTP-Status 404");
    m_window->OnCommand(IDC_DOWNLOAD);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(m_view[IDC_DATE].strToolTip, count);
}

// Download all leaves a server that is not offered alone; the server list's new entries join the
// box, which keeps its choice.
TEST_F(DownloadCommandsTest, DownloadAllSkipsServersNotOfferedAndTheServerListRefillsTheBox)
{
    Open({ { "Server 1", Url("list") }, { "Off", Url("list") } },
        [](CIniFile& profile) { profile.WriteString("Off", "Selected", "0"); });
    m_window->OnCommand(IDC_DOWNLOAD_ALL);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(Value("Server 1", "Aktualisiert"), kNewStamp);
    EXPECT_EQ(Value("Off", "Aktualisiert"), kOldStamp);

    m_app->Profile().WriteString("Settings", "ServerList", Url("servers"));
    m_window->OnCommand(IDC_LOAD_SERVER_LIST);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(m_view.Items(IDC_SERVERS), (std::vector<std::string> { "Server 1", "Neuer Server" }));
    EXPECT_EQ(m_window->SelectedServer(), "Server 1");
}

// The update due at start waits for no server: the first report is there at once.
TEST_F(DownloadCommandsTest, StartupUpdateDoesNotDelayTheFirstReport)
{
    m_clipboard.m_strText = kExampleList;
    const auto start = std::chrono::steady_clock::now();
    Open({ { "Server 1", "-" } }, [this](CIniFile& profile) {
        profile.WriteString("Settings", "ServerInt", "1");
        profile.WriteString("Settings", "ServerUpd", "2020-01-01");
        profile.WriteString("Settings", "ServerList", Url("stall"));
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_NE(m_view.Text(IDC_REPORT).find("Summe: 25,00 wT"), std::string::npos);
    EXPECT_TRUE(m_window->IsBusy());
}

// An imported file goes into the selected server like a download (whose stamp and profile
// writes are the price run's tests), its names mapped from any game language; a file that is
// no list changes nothing and says why first.
TEST_F(DownloadCommandsTest, ImportTakesAFileInAnyGameLanguage)
{
    Open({ { "Server 1", "-" }, { "Server 2", "-" } });
    const std::string path = m_dir.file("prices.txt");
    WriteWholeFile(path,
        "Name\tPrice\r\nCow lily\t12,50\r\nAardappelen\t0,75\r\nAil\t1.05\r\n"
        "Datum/Uhrzeit\t06.12.2026\t08:00\r\n");
    ASSERT_TRUE(m_window->OnImport(path));
    for (const auto& [plant, price] : { std::pair("gelbe Teichrose", "12,50"),
             { "Kartoffel", "0,75" }, { "Knoblauch", "1,05" } }) {
        EXPECT_EQ(Value("Server 1", plant), price);
        EXPECT_EQ(Value("Server 2", plant), "0,0"); // untouched
    }
    EXPECT_EQ(m_view.Text(IDC_MARKET_DATE), "Marktpreise von: 06.12.2026 08:00");
    EXPECT_NE(m_view.Text(IDC_PRICE_LIST).find("12,50"), std::string::npos);

    Select("Server 2");
    EXPECT_FALSE(m_window->OnImport(m_dir.file("none.txt")));
    EXPECT_EQ(Value("Server 2", "Aktualisiert"), kOldStamp);
    EXPECT_EQ(m_view[IDC_DATE].strToolTip.rfind("Die Datei kann nicht gelesen werden\n", 0), 0u)
        << m_view[IDC_DATE].strToolTip;
}

} // namespace

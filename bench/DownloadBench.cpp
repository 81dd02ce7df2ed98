// Download all of the 55 servers that the default profile gives an address, each served by a
// loopback server that answers its 70-line list after 20 ms.
#include "app/QuotinoApp.h"
#include "calc/OfferCalculator.h"
#include "platform/Clock.h"
#include "platform/UserInterface.h"
#include "prices/ServerTable.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr auto kServerDelay = std::chrono::milliseconds(20);

class GermanUi : public IUserInterface {
public:
    bool ChooseLanguage(const std::vector<std::string>&, std::string& chosen) override
    {
        chosen = "Deutsch";
        return true;
    }
    void ShowUpdateNotice(int, int) override {}
};

// 64 plant rows, a heading, the date row and a few notes: 70 lines.
std::string PriceListBody(const std::vector<std::string>& plants)
{
    std::string body = "Pflanze\tPreis\n";
    for (size_t i = 0; i < plants.size(); ++i)
        body += plants[i] + "\t" + std::to_string(i + 1) + "," + std::to_string(10 + i % 90) + "\n";
    body += "Datum/Uhrzeit\t07.12.2026\t08:00\n";
    for (int i = 0; i < 3; ++i)
        body += "Hinweis\t-\n";
    return body;
}

void DownloadAllServers(benchmark::State& state)
{
    setenv("no_proxy", "127.0.0.1", 1);
    const auto folder = std::filesystem::temp_directory_path() / "quotino-download-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string profilePath = (folder / "quotino.ini").string();
    // No automatic server-list update during the load: it would go to the network.
    std::ofstream(profilePath) << "[Settings]\r\nServerInt=0\r\n";

    CSystemClock clock;
    CQuotinoApp app(profilePath, clock);
    app.InitInstance();
    COfferCalculator window(app.m_catalog, app.m_texts, app.m_servers, app.m_settings);
    GermanUi ui;
    if (!app.LoadConfiguration(window, ui)) {
        state.SkipWithError("the configuration did not load");
        return;
    }

    httplib::Server server;
    const std::string body = PriceListBody(app.m_catalog.m_astrPlants);
    server.Get(R"(/.*)", [&](const httplib::Request&, httplib::Response& response) {
        std::this_thread::sleep_for(kServerDelay);
        response.set_content(body, "text/tab-separated-values; charset=utf-8");
    });
    server.set_tcp_nodelay(true);
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread listener([&] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    int servers = 0;
    for (const std::string& name : app.m_servers.m_astrServers) {
        CServerTable* table = app.m_servers.FindTable(name);
        table->m_strUrl = "http://127.0.0.1:" + std::to_string(port) + "/" + std::to_string(servers++);
    }

    for (auto _ : state) {
        const bool stopped = app.DownloadAll([] { return false; }, [](const std::string&) {});
        benchmark::DoNotOptimize(stopped);
    }
    state.counters["servers"] = servers;
    state.counters["waits_ms"] = servers * std::chrono::duration<double, std::milli>(kServerDelay).count();
    state.counters["stamped"] = app.m_servers.GetServerValue("Server 1", "Stand", "") == "07.12.2026 08:00";

    server.stop();
    listener.join();
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(DownloadAllServers)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

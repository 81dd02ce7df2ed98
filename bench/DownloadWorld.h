#pragma once

// The loaded default profile with every server that has an address on one loopback server
// that answers each with its 70-line list after 20 ms; shared by the download benchmark and
// its Windows timing program.
#include "app/QuotinoApp.h"
#include "calc/OfferCalculator.h"
#include "platform/Clock.h"
#include "platform/UserInterface.h"
#include "servers/ServerTable.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

constexpr auto kServerDelay = std::chrono::milliseconds(20);
constexpr long kStallLimitSeconds = 1;

class GermanUi : public IUserInterface {
public:
    bool ChooseLanguage(const std::vector<std::string>&, std::string& chosen) override
    {
        chosen = "Deutsch";
        return true;
    }
    void ShowUpdateNotice(int, int) override { }
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

// The loaded default profile with every server's address on one loopback server; the path
// /stall holds its request until the world ends.
class World {
public:
    World()
    {
        putenv(const_cast<char*>("no_proxy=127.0.0.1"));
        m_folder = std::filesystem::temp_directory_path() / "quotino-download-bench";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        const std::string profilePath = (m_folder / "quotino.ini").string();
        // No automatic server-list update during the load: it would go to the network.
        std::ofstream(profilePath) << "[Settings]\r\nServerInt=0\r\n";
        m_app = std::make_unique<CQuotinoApp>(
            profilePath, m_clock, SFetchLimits { .stallSeconds = kStallLimitSeconds });
        m_app->InitInstance();
        m_window = std::make_unique<COfferCalculator>(
            m_app->Catalog(), m_app->Texts(), m_app->Servers(), m_app->Settings());
        m_bLoaded = m_app->LoadConfiguration(*m_window, m_ui);

        m_body = PriceListBody(m_app->Catalog().m_astrPlants);
        // Room for every connection the parallel runs keep open, and one that stalls.
        m_server.new_task_queue = [] { return new httplib::ThreadPool(24); };
        m_server.Get(
            R"(/(.*))", [this](const httplib::Request& request, httplib::Response& response) {
                if (request.matches[1] == "stall") {
                    while (!m_bStopping)
                        std::this_thread::sleep_for(std::chrono::milliseconds(10));
                    return;
                }
                std::this_thread::sleep_for(kServerDelay);
                response.set_content(m_body, "text/tab-separated-values; charset=utf-8");
            });
        m_server.set_tcp_nodelay(true);
        m_nPort = m_server.bind_to_any_port("127.0.0.1");
        m_listener = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        SetAddresses("");
    }

    ~World()
    {
        m_bStopping = true;
        m_app.reset();
        m_server.stop();
        m_listener.join();
        std::filesystem::remove_all(m_folder);
    }

    // Every server gets its own path; the one named stalls.
    int SetAddresses(const std::string& stalling)
    {
        int servers = 0;
        for (const std::string& name : m_app->Servers().Names()) {
            CServerTable* table = m_app->Servers().FindTable(name);
            const std::string path = name == stalling ? "stall" : std::to_string(servers);
            table->m_strUrl = "http://127.0.0.1:" + std::to_string(m_nPort) + "/" + path;
            ++servers;
        }
        return servers;
    }

    bool Stamped() const
    {
        return m_app->Servers().GetServerValue("Server 1", "Stand", "") == "07.12.2026 08:00";
    }

    CQuotinoApp& App() { return *m_app; }
    bool m_bLoaded = false;

private:
    std::filesystem::path m_folder;
    CSystemClock m_clock;
    GermanUi m_ui;
    std::unique_ptr<CQuotinoApp> m_app;
    std::unique_ptr<COfferCalculator> m_window;
    std::string m_body;
    httplib::Server m_server;
    std::thread m_listener;
    std::atomic<bool> m_bStopping = false;
    int m_nPort = 0;
};

#pragma once

#include "config/PlantCatalog.h"
#include "config/Texts.h"
#include "net/Fetcher.h"
#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "prices/PriceDownloader.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "servers/ServerTable.h"
#include "support/FakeUserInterface.h"
#include "support/FixedTime.h"
#include "support/LoopbackServer.h"
#include "support/RunToEnd.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <utility>

// Remembers what the core asked of the window.
// A profile with a small catalogue, texts and name mapping, its server cache, a fetcher whose
// copies go to a temporary folder, and a loopback server whose answers tests set per path.
class PricesFixture : public ::testing::Test {
protected:
    PricesFixture()
    {
        m_profile.SetAutoReload(false);
        m_profile.SetAutoSave(false);
        m_fetch.SetCopyFolder(m_dir.path().string());
        m_server.Server().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            std::chrono::milliseconds delay { 0 };
            {
                std::lock_guard lock(m_mutex);
                ++m_requests[req.path];
                ++m_nInFlight;
                m_nMaxInFlight = std::max(m_nMaxInFlight, m_nInFlight);
                const auto route = m_routes.find(req.path);
                if (route == m_routes.end()) {
                    res.status = 404;
                } else {
                    res.status = route->second.first;
                    res.set_content(route->second.second, "text/plain; charset=utf-8");
                }
                if (const auto found = m_delays.find(req.path); found != m_delays.end())
                    delay = found->second;
            }
            if (delay.count() < 0)
                m_server.Stall();
            else
                std::this_thread::sleep_for(delay);
            std::lock_guard lock(m_mutex);
            --m_nInFlight;
        });
        m_server.Start();
    }

    // Body is UTF-8, as the published lists are.
    void Route(const std::string& path, const std::string& body, int status = 200)
    {
        std::lock_guard lock(m_mutex);
        m_routes[path] = { status, body };
    }

    // The answer comes after the delay; a negative one never comes until the test ends.
    void Delay(const std::string& path, std::chrono::milliseconds delay)
    {
        std::lock_guard lock(m_mutex);
        m_delays[path] = delay;
    }

    int MaxInFlight()
    {
        std::lock_guard lock(m_mutex);
        return m_nMaxInFlight;
    }

    int Requests(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        return m_requests[path];
    }

    std::string Url(const std::string& path) const { return m_server.Url(path); }

    // Loads the catalogue, texts and servers of the base profile followed by extra text.
    void LoadProfile(const std::string& extra = "")
    {
        const std::string text = BaseProfile() + extra;
        CMemorySource source(text.data(), text.size());
        ASSERT_TRUE(m_profile.ReadFrom(source));
        m_texts.LoadTexts(m_profile);
        m_catalog.ReadPlantNames(m_profile);
        m_catalog.LoadTranslations(m_profile);
        m_cache.LoadServerTables();
    }

    std::string BaseProfile() const
    {
        return "[Settings]\n"
               "Lang=Deutsch\n"
               "[Lang]\n"
               "Deutsch=Texts Deutsch\n"
               "[Texts Deutsch]\n"
               "Txt_DefaultDate=(noch nicht geladen)\n"
               "[Plants]\n"
               "Karotte=1\n"
               "Salat=1\n"
               "K\xFCrbis=1\n"
               "Tomate=1\n"
               "[Umsetzen]\n"
               "Carrots=Karotte\n"
               "Datum/Uhrzeit=Stand\n"
               "[Preislisten]\n"
               "Server 1="
            + Url("/server1")
            + "\n"
              "Server 2="
            + Url("/server2")
            + "\n"
              "Server 3=-\n";
    }

    std::string Value(const std::string& server, const std::string& key)
    {
        return m_cache.GetServerValue(server, key, "<missing>");
    }

    // Downloads the servers' lists as the window does; the number of failures.
    int DownloadServers(const std::vector<std::string>& names)
    {
        CDownloadRun run(m_downloader, m_fetch, names);
        RunToEnd(run, m_fetch);
        return run.Failed();
    }

    std::string ProfileText() const
    {
        CMemorySink sink;
        m_profile.WriteTo(sink);
        return sink.m_data;
    }

    std::mutex m_mutex;
    std::map<std::string, std::pair<int, std::string>> m_routes;
    std::map<std::string, int> m_requests;
    std::map<std::string, std::chrono::milliseconds> m_delays;
    int m_nInFlight = 0;
    int m_nMaxInFlight = 0;
    TempDir m_dir;
    LoopbackServer m_server;
    CIniFile m_profile;
    CTexts m_texts;
    CPlantCatalog m_catalog;
    CServerCache m_cache { m_profile, m_texts, m_catalog };
    CFetcher m_fetch;
    CFixedClock m_clock { FixedNow() };
    CPriceList m_priceList { m_profile, m_catalog };
    CDownloadOutcomes m_outcomes;
    CPriceDownloader m_downloader { m_profile, m_cache, m_priceList, m_fetch, m_clock, m_outcomes };
};

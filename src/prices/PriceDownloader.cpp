#include "prices/PriceDownloader.h"

#include "platform/Clock.h"
#include "prices/Fetcher.h"
#include "prices/PriceList.h"
#include "prices/ServerCache.h"
#include "prices/ServerTable.h"
#include "profile/IniFile.h"

#include <cstdint>
#include <cstdio>

CPriceDownloader::CPriceDownloader(CIniFile& profile, CServerCache& cache,
                                   CPriceList& priceList, CFetcher& fetcher, const IClock& clock)
    : m_profile(profile), m_cache(cache), m_priceList(priceList), m_fetch(fetcher), m_clock(clock)
{
}

std::string CPriceDownloader::FormatSuccessStamp(const IClock& clock)
{
    const std::tm now = LocalTime(clock.Now());
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d.%02d.%02d %02d:%02d", now.tm_mday, now.tm_mon + 1,
                  now.tm_year % 100, now.tm_hour, now.tm_min);
    return stamp;
}

std::string CPriceDownloader::FormatFailureStamp(int error)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "** 0x%08x",
                  static_cast<unsigned>(static_cast<std::uint32_t>(error)));
    return stamp;
}

void CPriceDownloader::DownloadServer(const std::string& name)
{
    CServerTable* table = m_cache.FindTable(name);
    if (!table)
        return;
    if (m_priceList.DownloadPriceList(table)) {
        const std::string stamp = FormatSuccessStamp(m_clock);
        table->SetAt("Aktualisiert", stamp);
        m_profile.WriteString(name, "Aktualisiert", stamp);
    } else {
        // Only in memory: the profile keeps the last successful stamp.
        table->SetAt("Aktualisiert", FormatFailureStamp(m_fetch.m_nLastError));
    }
}

bool CPriceDownloader::DownloadAll(const std::function<bool()>& stopRequested,
                                   const std::function<void(const std::string&)>& progress)
{
    // By index: the names stay, but a callback may run the window's event loop.
    for (std::size_t i = 0; i < m_cache.m_astrServers.size(); ++i) {
        const std::string name = m_cache.m_astrServers[i];
        if (m_cache.GetServerValue(name, "Selected", "1") != "1")
            continue;
        if (stopRequested && stopRequested())
            return true;
        if (progress)
            progress(name);
        DownloadServer(name);
    }
    return false;
}

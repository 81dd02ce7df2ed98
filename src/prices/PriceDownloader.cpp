#include "prices/PriceDownloader.h"

#include "platform/Clock.h"
#include "platform/Utf8Path.h"
#include "prices/Fetcher.h"
#include "prices/PriceList.h"
#include "prices/ServerCache.h"
#include "prices/ServerTable.h"
#include "profile/IniFile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

CPriceDownloader::CPriceDownloader(CIniFile& profile, CServerCache& cache,
                                   CPriceList& priceList, CFetcher& fetcher, const IClock& clock,
                                   CDownloadOutcomes& outcomes)
    : m_profile(profile), m_cache(cache), m_priceList(priceList), m_fetch(fetcher),
      m_clock(clock), m_outcomes(outcomes)
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
    const std::optional<SPreparedDownload> download = Prepare(name);
    if (!download)
        return;
    if (!download->fetch) {
        Apply(*download, nullptr);
        return;
    }
    const STransferResponse response = m_fetch.Wait(m_fetch.StartFetch(download->url));
    Apply(*download, &response);
}

bool CPriceDownloader::DownloadAll(const std::function<bool()>& stopRequested,
                                   const std::function<void(const std::string&)>& progress)
{
    for (const std::string& name : OfferedServers()) {
        if (stopRequested && stopRequested())
            return true;
        if (progress)
            progress(name);
        DownloadServer(name);
    }
    return false;
}

std::vector<std::string> CPriceDownloader::OfferedServers() const
{
    std::vector<std::string> offered;
    for (const std::string& name : m_cache.m_astrServers)
        if (m_cache.GetServerValue(name, "Selected", "1") == "1")
            offered.push_back(name);
    return offered;
}

std::optional<SPreparedDownload> CPriceDownloader::Prepare(const std::string& name)
{
    const CServerTable* table = m_cache.FindTable(name);
    if (!table)
        return std::nullopt;
    SPreparedDownload download;
    download.name = name;
    download.url = table->m_strUrl;
    download.usableColumns = CPriceList::TableColumns(*table, download.columns);
    download.fetch = download.usableColumns && m_fetch.HasSession();
    return download;
}

bool CPriceDownloader::Apply(const SPreparedDownload& download, const STransferResponse* response)
{
    // Looked up again: the run's events may have passed since the transfer started.
    CServerTable* table = m_cache.FindTable(download.name);
    if (!table)
        return false;
    bool ok = false;
    SDownloadOutcome outcome;
    if (response) {
        const std::string copyName = CPriceList::CopyName(*table);
        ok = m_fetch.FinishFetch(*response, download.url, &copyName);
        if (ok)
            m_priceList.ApplyPriceBody(*table, response->body, download.columns);
        outcome = SDownloadOutcome::FromFetch(ok, m_fetch.m_nLastError, response->status);
    } else if (!download.usableColumns) {
        outcome.kind = SDownloadOutcome::EKind::Columns;
    } else {
        outcome = SDownloadOutcome::FromFetch(false, m_fetch.m_nLastError, 0);
    }
    Stamp(download.name, *table, ok);
    m_outcomes.Record(download.name, outcome);
    return ok;
}

bool CPriceDownloader::ImportPriceList(const std::string& name, const std::string& path)
{
    CServerTable* table = m_cache.FindTable(name);
    if (!table)
        return false;
    SDownloadOutcome outcome;
    SPriceColumns columns;
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    std::string body;
    if (!CPriceList::TableColumns(*table, columns)) {
        outcome.kind = SDownloadOutcome::EKind::Columns;
    } else if (std::error_code error; !std::filesystem::is_regular_file(PathFromUtf8(path), error) || !file) {
        outcome.kind = SDownloadOutcome::EKind::FileUnreadable;
    } else {
        // One byte over the limit is enough to know the file is too large for a list.
        body.resize(static_cast<std::size_t>(m_fetch.m_nMaxBodyBytes) + 1);
        file.read(body.data(), static_cast<std::streamsize>(body.size()));
        body.resize(static_cast<std::size_t>(file.gcount()));
        if (file.bad())
            outcome.kind = SDownloadOutcome::EKind::FileUnreadable;
        else if (static_cast<std::int64_t>(body.size()) > m_fetch.m_nMaxBodyBytes)
            outcome.kind = SDownloadOutcome::EKind::TooLarge;
        else
            outcome.kind = SDownloadOutcome::EKind::Success;
    }
    m_outcomes.Record(name, outcome);
    if (outcome.IsFailure())
        return false;
    m_priceList.ApplyPriceBody(*table, body, columns);
    Stamp(name, *table, true);
    return true;
}

void CPriceDownloader::Stamp(const std::string& name, CServerTable& table, bool success)
{
    if (success) {
        const std::string stamp = FormatSuccessStamp(m_clock);
        table.SetAt("Aktualisiert", stamp);
        m_profile.WriteString(name, "Aktualisiert", stamp);
    } else {
        // Only in memory: the profile keeps the last successful stamp.
        table.SetAt("Aktualisiert", FormatFailureStamp(m_fetch.m_nLastError));
    }
}

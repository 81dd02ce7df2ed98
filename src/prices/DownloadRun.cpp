#include "prices/DownloadRun.h"

#include "net/Fetcher.h"

#include <algorithm>
#include <utility>

CDownloadRun::CDownloadRun(CPriceDownloader& downloader, CFetcher& fetch,
    std::vector<std::string> names, int maxTransfers, Progress progress)
    : m_fnProgress(std::move(progress))
    , m_downloader(downloader)
    , m_fetch(fetch)
    , m_pReader(downloader.MakeReader())
    , m_nMaxTransfers(maxTransfers)
{
    for (const std::string& name : names) {
        // An unknown server is left alone, as a single download leaves it.
        if (auto download = m_downloader.Prepare(name)) {
            SEntry entry;
            entry.download = std::move(*download);
            m_entries.push_back(std::move(entry));
        }
    }
}

void CDownloadRun::Start()
{
    StartWaiting();
    ShowNext();
}

void CDownloadRun::StartWaiting()
{
    const auto hasRoom = [this] { return m_nMaxTransfers <= 0 || m_nInFlight < m_nMaxTransfers; };
    for (; m_nNextStart < m_entries.size() && hasRoom(); ++m_nNextStart) {
        SEntry& entry = m_entries[m_nNextStart];
        if (!entry.download.fetch) {
            entry.finished = true;
            continue;
        }
        entry.id = m_downloader.StartTransfer(entry.download, m_pReader);
        if (entry.id == 0) {
            entry.response = CFetcher::NoSession();
            entry.finished = true;
        } else {
            ++m_nInFlight;
        }
    }
}

bool CDownloadRun::OnFinished(STransferResponse response)
{
    if (m_bStopped)
        return false;
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
        [&](const SEntry& e) { return e.id != 0 && e.id == response.id && !e.finished; });
    if (entry == m_entries.end())
        return false;
    entry->response = std::move(response);
    entry->finished = true;
    --m_nInFlight;
    StartWaiting();
    return true;
}

void CDownloadRun::Stop()
{
    if (IsDone())
        return;
    m_bStopped = true;
    // Those not started are left alone; an entry with id 0 never had a transfer.
    for (std::size_t i = m_nNext; i < m_nNextStart; ++i)
        if (!m_entries[i].finished && m_entries[i].id != 0)
            m_fetch.Cancel(m_entries[i].id);
    // Applying in list order leaves the stamps and the profile as a run that skipped the
    // stopped servers would.
    for (std::size_t i = m_nNext; i < m_nNextStart; ++i)
        if (m_entries[i].finished)
            Apply(m_entries[i]);
}

bool CDownloadRun::ApplyNext()
{
    if (m_bStopped || m_nNext == m_entries.size() || !m_entries[m_nNext].finished)
        return false;
    Apply(m_entries[m_nNext]);
    ++m_nNext;
    ShowNext();
    return true;
}

void CDownloadRun::Apply(SEntry& entry)
{
    const bool fetched = entry.download.fetch;
    if (!m_downloader.Apply(entry.download, fetched ? &entry.response : nullptr))
        ++m_nFailed;
    ++m_nApplied;
    entry.response = {};
}

void CDownloadRun::ShowNext()
{
    if (m_fnProgress && !IsDone())
        m_fnProgress(m_entries[m_nNext].download.name);
}

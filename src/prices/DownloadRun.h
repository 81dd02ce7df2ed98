#pragma once

#include "net/TransferWorker.h"
#include "prices/PriceDownloader.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CFetcher;

// Downloads the price lists of several servers at once and applies each in the order of the
// list once it and every one before it are in, so that the stamps, the profile and the
// progress come out as if the servers had been fetched one after the other. A server that
// stalls holds back only the applying of those after it, not their transfers; their lists
// wait already reduced to the rows to apply (CPriceDownloader::StartTransfer), never whole.
class CDownloadRun {
public:
    // The name of each server from when it is next to be applied.
    using Progress = std::function<void(const std::string&)>;

    // maxTransfers > 0 keeps at most that many of the run's transfers in flight; otherwise
    // every one starts at once and the worker runs a few of them at a time.
    CDownloadRun(CPriceDownloader& downloader, CFetcher& fetch, std::vector<std::string> names,
        int maxTransfers = 0, Progress progress = {});

    void Start();
    // Takes a finished transfer, to be applied in turn, and starts the next one waiting;
    // false when it belongs to another run or this one stopped.
    bool OnFinished(STransferResponse response);
    // Applies the next server when its transfer is in (or it needs none): one server per
    // call, so that a window can let its events run between two. False when none was ready.
    bool ApplyNext();
    // Aborts the transfers in flight and those not started, then applies, in list order, every
    // server whose transfer had already finished: a stopped run keeps what arrived, also behind
    // a server that stalls. Nothing is applied after it.
    void Stop();

    bool IsDone() const { return m_bStopped || m_nNext == m_entries.size(); }
    bool IsStopped() const { return m_bStopped; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    // The servers applied, successfully or not; the rest of Count() were stopped.
    int Applied() const { return m_nApplied; }
    int Failed() const { return m_nFailed; }

private:
    struct SEntry {
        SPreparedDownload download;
        int id = 0;
        bool finished = false;
        STransferResponse response;
    };

    void StartWaiting();
    void Apply(SEntry& entry);
    void ShowNext();

    const Progress m_fnProgress;
    CPriceDownloader& m_downloader;
    CFetcher& m_fetch;
    std::shared_ptr<const CPriceListReader> m_pReader;
    std::vector<SEntry> m_entries;
    std::size_t m_nNext = 0; // the first entry not yet applied
    std::size_t m_nNextStart = 0; // the first entry whose transfer has not started
    const int m_nMaxTransfers;
    int m_nInFlight = 0;
    int m_nApplied = 0;
    int m_nFailed = 0;
    bool m_bStopped = false;
};

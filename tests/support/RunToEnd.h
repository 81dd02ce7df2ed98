#pragma once

#include "prices/DownloadRun.h"
#include "prices/Fetcher.h"
#include "prices/ServerListRun.h"
#include "prices/ServerListUpdater.h"

#include <functional>
#include <utility>

// Feeds a started run the fetch's finished transfers and applies what it can, as the window
// does between its events, until the run is done or the condition holds.
inline void Pump(CDownloadRun& run, CFetcher& fetch, const std::function<bool()>& until = {})
{
    for (;;) {
        while (run.ApplyNext()) {
        }
        if (run.IsDone() || (until && until()))
            return;
        fetch.WaitForAny();
        for (STransferResponse& response : fetch.TakeFinished())
            run.OnFinished(std::move(response));
    }
}

inline void RunToEnd(CDownloadRun& run, CFetcher& fetch)
{
    run.Start();
    Pump(run, fetch);
}

inline void RunToEnd(CServerListRun& run, CFetcher& fetch)
{
    run.Start();
    while (!run.IsDone()) {
        fetch.WaitForAny();
        for (const STransferResponse& response : fetch.TakeFinished())
            run.OnFinished(response);
    }
}

// The window's server-list update, waiting: the run, then the list applied when it came.
inline bool UpdateServerList(CServerListUpdater& updater, CIniFile& profile, CFetcher& fetch,
                             IUserInterface* ui)
{
    CServerListRun run(profile, fetch);
    RunToEnd(run, fetch);
    if (run.Succeeded())
        updater.ApplyServerList(run.Body(), ui);
    return run.Succeeded();
}

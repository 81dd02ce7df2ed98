#pragma once

#include "net/Fetcher.h"
#include "prices/DownloadRun.h"
#include "serverlist/ServerListRun.h"
#include "serverlist/ServerListUpdater.h"

#include <functional>
#include <utility>

// Starts the run and feeds it the fetch's finished transfers as the window does between its
// events (a download run applies what it can), until it is done or the condition holds.
template <class TRun>
void RunToEnd(TRun& run, CFetcher& fetch, const std::function<bool()>& until = {})
{
    run.Start();
    for (;;) {
        if constexpr (requires { run.ApplyNext(); }) {
            while (run.ApplyNext()) { }
        }
        if (run.IsDone() || (until && until()))
            return;
        fetch.WaitForAny();
        for (STransferResponse& response : fetch.TakeFinished())
            run.OnFinished(std::move(response));
    }
}

// The window's server-list update, waiting: the run, then the list applied when it came.
inline bool UpdateServerList(
    CServerListUpdater& updater, CIniFile& profile, CFetcher& fetch, IUserInterface* ui)
{
    CServerListRun run(profile, fetch);
    RunToEnd(run, fetch);
    if (run.Succeeded())
        updater.ApplyServerList(run.Body(), ui);
    return run.Succeeded();
}

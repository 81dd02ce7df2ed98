#pragma once

#include "net/Fetcher.h"
#include "prices/DownloadRun.h"
#include "serverlist/ServerListRun.h"
#include "serverlist/ServerListUpdater.h"
#include "support/FetchWaiter.h"

#include <functional>
#include <utility>

// Starts the run and feeds it the fetch's finished transfers as the window does between its
// events (a download run applies what it can), until it is done or the condition holds. fetch:
// the fetch the run uses, or the application that owns it.
template <class TRun, class TFetch>
void RunToEnd(TRun& run, TFetch& fetch, const std::function<bool()>& until = {})
{
    CFetchWaiter waiter(fetch);
    run.Start();
    for (;;) {
        if constexpr (requires { run.ApplyNext(); }) {
            while (run.ApplyNext()) { }
        }
        if (run.IsDone() || (until && until()))
            return;
        for (STransferResponse& response : waiter.TakeSome())
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

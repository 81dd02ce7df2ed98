#pragma once

#include "net/Fetcher.h"
#include "prices/DownloadRun.h"
#include "serverlist/ServerListRun.h"
#include "serverlist/ServerListUpdater.h"

#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

// Blocks until transfers have finished and hands them over, in the order they finished: what a
// test may do and the window never does. fetch: the fetch, or the application that owns one.
template <class TFetch> std::vector<STransferResponse> TakeSome(TFetch& fetch)
{
    for (;;) {
        std::vector<STransferResponse> taken = fetch.TakeFinished();
        if (!taken.empty())
            return taken;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Starts the run and feeds it the fetch's finished transfers as the window does between its
// events (a download run applies what it can), until it is done or the condition holds.
template <class TRun, class TFetch>
void RunToEnd(TRun& run, TFetch& fetch, const std::function<bool()>& until = {})
{
    run.Start();
    for (;;) {
        if constexpr (requires { run.ApplyNext(); }) {
            while (run.ApplyNext()) { }
        }
        if (run.IsDone() || (until && until()))
            return;
        for (STransferResponse& response : TakeSome(fetch))
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

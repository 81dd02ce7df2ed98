// Download all of the 55 servers that the default profile gives an address, each served by a
// loopback server that answers its 70-line list after 20 ms: one after the other as the
// old synchronous loop did, in parallel as the window does, and in parallel with one server
// that stalls until its (lowered) limit.
#include "DownloadWorld.h"
#include "prices/DownloadRun.h"
#include "support/RunToEnd.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

// maxTransfers 1 fetches one server after the other; 0 lets the worker overlap them.
void DownloadAll(benchmark::State& state, int maxTransfers)
{
    World world;
    if (!world.m_bLoaded)
        return state.SkipWithError("the configuration did not load");
    CQuotinoApp& app = world.App();
    int failed = 0;
    for (auto _ : state) {
        const std::unique_ptr<CDownloadRun> run = app.NewDownloadAllRun({}, maxTransfers);
        RunToEnd(*run, app);
        failed += run->Failed();
    }
    state.counters["servers"] = static_cast<double>(app.Servers().Names().size());
    state.counters["failed"] = failed;
    state.counters["stamped"] = world.Stamped();
}

void DownloadAllSequential(benchmark::State& state)
{
    DownloadAll(state, 1);
}

void DownloadAllParallel(benchmark::State& state)
{
    DownloadAll(state, 0);
}

// Server 10 stalls until the stall limit; the others are fetched meanwhile, so the run ends
// shortly after that limit. after_limit_ms is what the run took beyond it.
void DownloadAllOneStalling(benchmark::State& state)
{
    World world;
    if (!world.m_bLoaded)
        return state.SkipWithError("the configuration did not load");
    CQuotinoApp& app = world.App();
    world.SetAddresses("Server 10");
    double beyond = 0;
    int failed = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const std::unique_ptr<CDownloadRun> run = app.NewDownloadAllRun();
        RunToEnd(*run, app);
        const std::chrono::duration<double, std::milli> took
            = std::chrono::steady_clock::now() - start;
        beyond = std::max(beyond, took.count() - kStallLimitSeconds * 1000.0);
        failed += run->Failed();
    }
    state.counters["limit_ms"] = kStallLimitSeconds * 1000.0;
    state.counters["after_limit_ms"] = beyond;
    state.counters["failed"] = failed;
}

} // namespace

BENCHMARK(DownloadAllSequential)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(DownloadAllParallel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(DownloadAllOneStalling)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

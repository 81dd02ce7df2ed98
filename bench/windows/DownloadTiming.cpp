// Download all of the servers that the default profile gives an address against the loopback
// server, in parallel as the window does, for Windows where there is no benchmark library:
// prints each run's wall time and the median.
#include "DownloadWorld.h"
#include "prices/DownloadRun.h"
#include "support/RunToEnd.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 10;

} // namespace

int main()
{
    World world;
    if (!world.m_bLoaded) {
        std::fputs("the configuration did not load\n", stderr);
        return 1;
    }
    CQuotinoApp& app = world.App();
    std::vector<double> seconds;
    int failed = 0;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::unique_ptr<CDownloadRun> run = app.NewDownloadAllRun();
        RunToEnd(*run, app);
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        failed += run->Failed();
        std::printf("run %d: %.3f s\n", i + 1, seconds.back());
    }
    std::nth_element(seconds.begin(), seconds.begin() + kRuns / 2, seconds.end());
    std::printf("servers %zu, failed %d, stamped %d, median %.3f s\n", app.Servers().Names().size(),
        failed, world.Stamped() ? 1 : 0, seconds[kRuns / 2]);
    return failed == 0 && world.Stamped() ? 0 : 1;
}

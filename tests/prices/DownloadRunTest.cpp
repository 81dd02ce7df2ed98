#include "prices/DownloadRun.h"

#include "prices/PricesFixture.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <malloc.h>
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <tuple>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using EKind = SDownloadOutcome::EKind;

const std::string kOldStamp = "1.1.26 10:00";
const std::string kNewStamp = "6.12.26 09:05";

#ifndef _WIN32
long long HeapInUse()
{
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<long long>(heap.uordblks + heap.hblkhd);
}
#endif

// A port on which nothing listens.
int ClosedPort()
{
    LoopbackServer server;
    server.Start();
    server.Stop();
    return server.Port();
}

// Servers S1..Sn on routes /s1../sn, each with an old price and stamp.
class DownloadRunTest : public PricesFixture {
protected:
    void LoadServers(int count, const std::string& extraSections = "")
    {
        std::string extra;
        for (int i = 1; i <= count; ++i)
            extra += Name(i) + "=" + Url("/s" + std::to_string(i)) + "\n";
        for (int i = 1; i <= count; ++i)
            extra += "[" + Name(i) + "]\nAktualisiert=" + kOldStamp + "\nKarotte=0,01\n";
        LoadProfile(extra + extraSections);
        for (int i = 1; i <= count; ++i)
            Route("/s" + std::to_string(i), "Karotte\t" + std::to_string(i) + ",00\n");
    }

    static std::string Name(int i) { return "S" + std::to_string(i); }

    std::vector<std::string> AllNames(int count)
    {
        std::vector<std::string> names;
        for (int i = 1; i <= count; ++i)
            names.push_back(Name(i));
        return names;
    }
};

// Later servers answer first; still each is applied only after every one before it, the
// transfers overlap, and never more than six run at once.
TEST_F(DownloadRunTest, ParallelTransfersAreAppliedInListOrder)
{
    constexpr int kServers = 10;
    LoadServers(kServers);
    for (int i = 1; i <= kServers; ++i)
        Delay("/s" + std::to_string(i), std::chrono::milliseconds(40 * (kServers - i + 1)));

    std::vector<std::string> shown;
    CDownloadRun run(m_downloader, m_fetch, AllNames(kServers), 0, [&](const std::string& name) {
        shown.push_back(name);
        // When a server is next, every one before it is applied and none after it.
        const int next = std::stoi(name.substr(1));
        for (int i = 1; i <= kServers; ++i)
            EXPECT_EQ(Value(Name(i), "Aktualisiert"), i < next ? kNewStamp : kOldStamp)
                << name << " next, " << Name(i);
    });
    const auto start = Clock::now();
    RunToEnd(run, m_fetch);
    const auto elapsed = Clock::now() - start;

    EXPECT_EQ(shown, AllNames(kServers));
    for (int i = 1; i <= kServers; ++i) {
        EXPECT_EQ(Value(Name(i), "Karotte"), std::to_string(i) + ",00");
        EXPECT_EQ(m_profile.GetString(Name(i), "Aktualisiert"), kNewStamp);
    }
    EXPECT_EQ(run.Failed(), 0);
    EXPECT_LE(MaxInFlight(), CTransferWorker::kMaxParallelTransfers);
    EXPECT_GE(MaxInFlight(), 2);
    // One after the other they would take 2.2 s; the overlap itself is proven above, so the
    // bound leaves a busy machine (a sanitizer build beside Wine) its slack.
    EXPECT_LT(elapsed, 2200ms);
}

TEST_F(DownloadRunTest, ALimitedRunKeepsNoMoreTransfersInFlight)
{
    LoadServers(3);
    for (const char* path : { "/s1", "/s2", "/s3" })
        Delay(path, 30ms);
    CDownloadRun run(m_downloader, m_fetch, AllNames(3), 1);
    RunToEnd(run, m_fetch);
    EXPECT_EQ(MaxInFlight(), 1);
    EXPECT_EQ(run.Failed(), 0);
}

// What arrived behind the stalled server is applied at the stop; the stalled one keeps its
// prices and stamp.
TEST_F(DownloadRunTest, StopAbortsAStalledTransferAtOnceAndAppliesWhatArrived)
{
    LoadServers(4);
    Delay("/s2", -1ms);
    CDownloadRun run(m_downloader, m_fetch, AllNames(4));
    run.Start();
    for (int arrived = 0; arrived < 3;) {
        for (STransferResponse& response : TakeSome(m_fetch))
            arrived += run.OnFinished(std::move(response)) ? 1 : 0;
        while (run.ApplyNext()) { }
    }

    const auto start = Clock::now();
    run.Stop();
    EXPECT_LT(Clock::now() - start, 200ms);
    EXPECT_TRUE(run.IsStopped());
    EXPECT_EQ(std::tuple(run.Applied(), run.Failed(), run.Count()), std::tuple(3, 0, 4));
    for (const char* applied : { "S1", "S3", "S4" })
        EXPECT_EQ(m_profile.GetString(applied, "Aktualisiert"), kNewStamp) << applied;
    EXPECT_EQ(Value("S4", "Karotte"), "4,00");
    EXPECT_EQ(Value("S2", "Karotte"), "0,01");
    EXPECT_EQ(Value("S2", "Aktualisiert"), kOldStamp);
    EXPECT_EQ(m_profile.GetString("S2", "Aktualisiert"), kOldStamp);
    // The aborted transfer still reports its end, and no run takes it.
    for (STransferResponse& response : TakeSome(m_fetch))
        EXPECT_FALSE(run.OnFinished(std::move(response)));
}

// The first server stalls until its limit; the others are fetched meanwhile and applied right
// after it fails.
TEST_F(DownloadRunTest, AStalledServerHoldsBackOnlyTheApplyingOfLaterOnes)
{
    LoadServers(8);
    Delay("/s1", -1ms);
    for (int i = 2; i <= 8; ++i)
        Delay("/s" + std::to_string(i), 50ms);
    m_fetch.SetLimits({ .stallSeconds = 1 });
    CDownloadRun run(m_downloader, m_fetch, AllNames(8));
    const auto start = Clock::now();
    RunToEnd(run, m_fetch);
    const auto elapsed = Clock::now() - start;

    EXPECT_LT(elapsed, 2500ms);
    EXPECT_EQ(Value("S1", "Aktualisiert"), CPriceDownloader::FormatFailureStamp(28));
    EXPECT_EQ(m_outcomes.Find("S1").kind, EKind::TimedOut);
    for (int i = 2; i <= 8; ++i)
        EXPECT_EQ(Value(Name(i), "Aktualisiert"), kNewStamp);
    EXPECT_EQ(run.Failed(), 1);
    EXPECT_EQ(run.Count(), 8);
}

// Lists that arrive behind a stalled server wait as the few rows they set, not whole, and
// leave their copies as they arrive.
TEST_F(DownloadRunTest, ListsBehindAStalledServerWaitReducedAndLeaveTheirCopies)
{
    // Eight lists held whole would grow the heap by eight times this; a megabyte each keeps the
    // transfers short enough for a sanitizer build on a busy machine, where the loopback
    // server's eight threads (one stalled) serve the last list only after another ends.
    constexpr std::size_t kListBytes = 1 << 20;
    LoadServers(9);
    Delay("/s1", -1ms);
    std::string list;
    while (list.size() < kListBytes)
        list += "Karotte\t2,50\n";
    for (int i = 2; i <= 9; ++i)
        Route("/s" + std::to_string(i), list);
    CDownloadRun run(m_downloader, m_fetch, AllNames(9));
#ifndef _WIN32 // the C library's heap counters are glibc's
    const long long before = HeapInUse();
#endif
    run.Start();
    for (int taken = 0; taken < 8;) {
        for (STransferResponse& response : TakeSome(m_fetch))
            taken += run.OnFinished(std::move(response));
    }

#ifndef _WIN32
    EXPECT_LT(HeapInUse() - before, static_cast<long long>(kListBytes));
#endif
    for (int i = 2; i <= 9; ++i)
        EXPECT_GT(std::filesystem::file_size(m_fetch.CopyPath(Name(i) + ".txt")), kListBytes);
}

// Each kind of failure reaches the server's outcome; the stamp shows the error number and
// the profile keeps the last good stamp.
TEST_F(DownloadRunTest, FailuresAreRecordedByKind)
{
    const std::string refused = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/";
    LoadProfile("Missing=-\nGone=" + Url("/gone") + "\nRefused=" + refused
        + "\nLocal=file:///etc/passwd\nHuge=" + Url("/huge") + "\nColumns=" + Url("/huge")
        + "\nPortal=" + Url("/portal") + "\n[Columns]\nWerte=x\n"
        + "[Huge]\nAktualisiert=" + kOldStamp + "\n");
    Route("/huge", std::string(4096, 'x'));
    Route("/portal", "<html><body>Anmelden</body></html>\nStand\t7.12.26\n");
    m_fetch.SetLimits({ .maxBodyBytes = 1024 });

    const std::vector<std::pair<std::string, EKind>> cases = {
        { "Missing", EKind::AddressMissing },
        { "Gone", EKind::HttpStatus },
        { "Refused", EKind::Refused },
        { "Local", EKind::NotAllowed },
        { "Huge", EKind::TooLarge },
        { "Columns", EKind::Columns },
        { "Portal", EKind::NotPriceList },
    };
    std::vector<std::string> names;
    for (const auto& [name, kind] : cases)
        names.push_back(name);
    CDownloadRun run(m_downloader, m_fetch, names);
    RunToEnd(run, m_fetch);

    EXPECT_EQ(run.Failed(), static_cast<int>(cases.size()));
    for (const auto& [name, kind] : cases) {
        EXPECT_EQ(m_outcomes.Find(name).kind, kind) << name;
        EXPECT_TRUE(Value(name, "Aktualisiert").starts_with("** 0x")) << name;
    }
    EXPECT_EQ(m_outcomes.Find("Gone").status, 404);
    EXPECT_EQ(m_profile.GetString("Huge", "Aktualisiert"), kOldStamp);
}

TEST(DownloadOutcomeTest, OutcomesReadInTheUsersLanguage)
{
    CTexts texts;
    texts.m_mapTexts = { { "TXT_ERRHTTP", "HTTP-Status" }, { "TXT_ERROTHER", "Fehler" },
        { "TXT_ERRHOST", "Server nicht gefunden" }, { "TXT_FAILEDSERVERS", "Fehlgeschlagen:" },
        { "TXT_SERVERLISTFAILED", "Serverliste:" } };
    const std::vector<std::pair<SDownloadOutcome, std::string>> cases = {
        { SDownloadOutcome::FromFetch(false, 0, 404), "HTTP-Status 404" },
        { SDownloadOutcome::FromFetch(false, 6, 0), "Server nicht gefunden" },
        { SDownloadOutcome::FromFetch(false, 56, 0), "Fehler 0x00000038" },
        { SDownloadOutcome::FromFetch(false, -1, 0), "Fehler 0xffffffff" },
        { SDownloadOutcome::FromFetch(true, 0, 200), "" },
    };
    for (const auto& [outcome, text] : cases)
        EXPECT_EQ(outcome.Describe(texts), text);

    const std::vector<std::pair<int, EKind>> kinds = {
        { 7, EKind::Refused },
        { 28, EKind::TimedOut },
        { 63, EKind::TooLarge },
        { 1, EKind::NotAllowed },
        { 60, EKind::Certificate },
        { 3, EKind::AddressMissing },
        { 42, EKind::Stopped },
        { 5, EKind::HostNotFound },
    };
    for (const auto& [error, kind] : kinds)
        EXPECT_EQ(SDownloadOutcome::FromFetch(false, error, 0).kind, kind) << error;

    CDownloadOutcomes outcomes;
    EXPECT_EQ(outcomes.Tooltip("Server 1", texts), "");
    outcomes.Record("Server 1", SDownloadOutcome::FromFetch(false, 6, 0));
    outcomes.RecordDownloadAll(3, 55);
    outcomes.RecordServerList(SDownloadOutcome::FromFetch(false, 0, 500));
    EXPECT_EQ(outcomes.Tooltip("Server 1", texts),
        "Server nicht gefunden\nFehlgeschlagen: 3 / 55\nServerliste: HTTP-Status 500");
    EXPECT_EQ(outcomes.Tooltip("Server 2", texts),
        "Fehlgeschlagen: 3 / 55\nServerliste: HTTP-Status 500");
}

// A list from a file goes through the same name mapping and date row as a download and is
// stamped like one; a file that cannot be a list changes nothing.
TEST_F(DownloadRunTest, ImportedFileIsTakenLikeADownload)
{
    LoadServers(1);
    const std::string path = m_dir.file("liste.txt");
    std::ofstream(path, std::ios::binary) << "Plant\tPrice\r\nCarrots\t2,50\r\nK\xC3\xBCrbis\t3."
                                             "10\r\nDatum/Uhrzeit\t06.12.2026\t08:00";
    ASSERT_TRUE(m_downloader.ImportPriceList("S1", path));
    EXPECT_EQ(Value("S1", "Karotte"), "2,50");
    EXPECT_EQ(Value("S1",
                  "K\xFC"
                  "rbis"),
        "3,10");
    EXPECT_EQ(Value("S1", "Stand"), "06.12.2026 08:00");
    EXPECT_EQ(m_profile.GetString("S1", "Karotte"), "2,50");
    EXPECT_EQ(m_profile.GetString("S1", "Aktualisiert"), kNewStamp);
    EXPECT_EQ(m_outcomes.Find("S1").kind, EKind::Success);

    m_fetch.SetLimits({ .maxBodyBytes = 16 });
    const std::string large = m_dir.file("gross.txt");
    std::ofstream(large, std::ios::binary) << "Karotte\t9,99\n" << std::string(64, '\n');
    const std::vector<std::pair<std::string, EKind>> refused = {
        { m_dir.file("fehlt.txt"), EKind::FileUnreadable },
        { m_dir.path().string(), EKind::NotAFile },
        { large, EKind::TooLarge },
#ifndef _WIN32 // named pipes and devices live outside the file system there
        { m_dir.file("pipe"), EKind::NotAFile }, // opening it would wait for a writer
        { "/dev/zero", EKind::NotAFile },
#endif
    };
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(m_dir.file("pipe").c_str(), 0600), 0);
#endif
    for (const auto& [file, kind] : refused) {
        m_profile.WriteString("S1", "Aktualisiert", kOldStamp);
        EXPECT_FALSE(m_downloader.ImportPriceList("S1", file)) << file;
        EXPECT_EQ(m_outcomes.Find("S1").kind, kind) << file;
        EXPECT_EQ(Value("S1", "Karotte"), "2,50") << file;
        EXPECT_EQ(m_profile.GetString("S1", "Aktualisiert"), kOldStamp) << file;
    }
    EXPECT_FALSE(m_downloader.ImportPriceList("Unbekannt", path));
}

// A file from which not one price row is read is a failure that changes nothing but the stamp
// in memory; text with a byte order mark is read whole, UTF-16 as UTF-16.
TEST_F(DownloadRunTest, ImportWithoutAPriceRowIsAFailure)
{
    const std::string failed
        = CPriceDownloader::FormatFailureStamp(SDownloadOutcome::kErrorNotPriceList);
    const std::vector<std::tuple<std::string, const char*, std::string>> cases = {
        { "<html><body>Karotte <b>2,50</b>\n</body></html>\nStand\t7.12.26", "0,01", failed },
        { "Karotte;2,50\r\nK\xC3\xBCrbis;3,10\r\n", "0,01", failed },
        { std::string("\x7f"
                      "ELF\x02\x01\x01\0\0\t\n\t\x90\xff",
              15)
                + "Karotte",
            "0,01", failed },
        { std::string("\xFF\xFEK\0a\0r\0o\0t\0t\0e\0\t\0\x32\0,\0\x35\0\x30\0", 26), "2,50",
            kNewStamp },
        { std::string("\xFE\xFF\0K\0a\0r\0o\0t\0t\0e\0\t\0\x32\0,\0\x37\0\x35", 26), "2,75",
            kNewStamp },
        { "\xEF\xBB\xBFKarotte\t2,60\n", "2,60", kNewStamp },
    };
    for (const auto& [body, karotte, stamp] : cases) {
        LoadServers(1, "[S1]\nStand=1.1.26\n");
        std::ofstream(m_dir.file("liste.txt"), std::ios::binary) << body;
        EXPECT_EQ(m_downloader.ImportPriceList("S1", m_dir.file("liste.txt")), stamp == kNewStamp)
            << body;
        EXPECT_EQ(Value("S1", "Karotte"), karotte) << body;
        EXPECT_EQ(Value("S1", "Aktualisiert"), stamp) << body;
        EXPECT_EQ(Value("S1", "Stand"), "1.1.26") << body;
        EXPECT_EQ(
            m_profile.GetString("S1", "Aktualisiert"), stamp == kNewStamp ? stamp : kOldStamp);
    }
}

class ServerListRunTest : public PricesFixture {
protected:
    ServerListRunTest() { LoadProfile("[Settings]\nServerList=" + Url("/list") + "\n"); }
};

// The start-up's short limit ends a trickling list early; a stop ends it at once. Either way
// nothing of the profile changes.
TEST_F(ServerListRunTest, TimeLimitAndStopEndAStalledList)
{
    Route("/list", "Server\tAdresse\nNeu\t-\t\n");
    Delay("/list", -1ms);
    m_fetch.SetLimits({ .stallSeconds = 30 });
    const std::string before = ProfileText();

    CServerListRun limited(m_profile, m_fetch, 1);
    auto start = Clock::now();
    RunToEnd(limited, m_fetch);
    EXPECT_LT(Clock::now() - start, 2500ms);
    EXPECT_FALSE(limited.Succeeded());
    EXPECT_EQ(limited.Outcome().kind, EKind::TimedOut);

    CServerListRun stopped(m_profile, m_fetch);
    stopped.Start();
    std::this_thread::sleep_for(100ms);
    start = Clock::now();
    stopped.Stop();
    EXPECT_LT(Clock::now() - start, 200ms);
    EXPECT_TRUE(stopped.IsDone());
    EXPECT_EQ(stopped.Outcome().kind, EKind::Stopped);
    EXPECT_EQ(ProfileText(), before);
}

TEST_F(ServerListRunTest, FallbackNamesTheCurrentAddress)
{
    m_profile.WriteString("Settings", "ServerListFallback", Url("/fallback"));
    Route("/fallback", Url("/current") + "\tirgendwas\n");
    Route("/current", "Server\tAdresse\nNeu\t-\t\n");
    CServerListRun run(m_profile, m_fetch);
    run.Start();
    while (!run.IsDone()) {
        for (const STransferResponse& response : TakeSome(m_fetch))
            EXPECT_TRUE(run.OnFinished(response));
    }
    EXPECT_TRUE(run.Succeeded());
    EXPECT_EQ(run.Body(), "Server\tAdresse\nNeu\t-\t\n");
    EXPECT_EQ(m_profile.GetString("Settings", "ServerList"), Url("/current"));
    EXPECT_EQ(run.Outcome().kind, EKind::Success);
}

// A worker that goes away while transfers stall ends them instead of waiting for them.
TEST_F(DownloadRunTest, WorkerGoesAwayPromptlyWithStalledTransfers)
{
    LoadServers(2);
    Delay("/s1", -1ms);
    Delay("/s2", -1ms);
    auto fetch = std::make_unique<CFetcher>();
    fetch->StartFetch(Url("/s1"));
    fetch->StartFetch(Url("/s2"));
    std::this_thread::sleep_for(100ms);
    const auto start = Clock::now();
    fetch.reset();
    EXPECT_LT(Clock::now() - start, 500ms);
}

} // namespace

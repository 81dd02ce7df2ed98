// What a server list from a hostile or broken server may do: nothing that freezes the window,
// bloats the profile, reaches another section or merges two servers into one.
#include "platform/Cp1252.h"
#include "platform/SafeFileName.h"
#include "serverlist/ServerListFixture.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <fstream>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

TEST(HostileNames, CopyFileNameOfAMegabyteNameIsShortenedInOnePass)
{
    struct Case {
        const char* what;
        std::string name;
        std::string extension;
    };
    const std::vector<Case> cases = {
        { "plain letters", std::string(1'000'000, 'a'), "" },
        { "euro signs, 3 bytes each in UTF-8", std::string(1'000'000, '\x80'), "" },
        { "umlauts with an extension", std::string(1'000'000, '\xE4') + ".txt", ".txt" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto start = Clock::now();
        const std::string safe = SafeFileName(c.name);
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));

        // As long as fits into 200 UTF-8 bytes: one more character would not.
        const std::size_t bytes = Cp1252ToUtf8(safe).size();
        EXPECT_LE(bytes, 200u);
        EXPECT_GT(bytes, 197u);
        EXPECT_TRUE(safe.ends_with(c.extension));
        EXPECT_EQ(safe.substr(0, safe.size() - c.extension.size()),
            c.name.substr(0, safe.size() - c.extension.size()));
    }
}

class HostileServerListTest : public ServerListFixture {
protected:
    HostileServerListTest()
        : ServerListFixture("[Server 1]\nAktualisiert=6.12.26 09:05\nKarotte=0,45\n")
    {
    }
};

// Each of these rows would have written into a section that is not its own, or made a
// [Preislisten] line that reads back as something else; none changes the profile.
TEST_F(HostileServerListTest, NamesOfTheProgramsSectionsAreNoServers)
{
    const std::vector<std::string> names = {
        "Plants",
        "Settings",
        "Lang",
        "Umsetzen",
        "Liste",
        "Preislisten",
        "Texts Deutsch",
        "texts english",
        "Texts NL",
        "TEXTS FRANCAIS",
        "[Plants]",
        "[ Settings ]",
        "[Server 1]",
        "[x]",
        "a=b",
        ";comment",
        "[open",
        std::string(201, 'n'),
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string before = ProfileWithoutStamp();
        EXPECT_TRUE(UpdateWith("heading\n" + name + "\thttp://h/" + "\t2,3\n"));
        EXPECT_EQ(ProfileWithoutStamp(), before);
        EXPECT_EQ(m_cache.Names().size(), 3u);
    }

    // The longest name allowed is a server like any other.
    const std::string longest(200, 'n');
    EXPECT_TRUE(UpdateWith("heading\n" + longest + "\thttp://h/\t\n"));
    EXPECT_EQ(m_profile.GetString("Preislisten", longest), "http://h/");
}

TEST_F(HostileServerListTest, NamesThatDifferOnlyInLetterCaseAreOneServer)
{
    EXPECT_TRUE(UpdateWith("heading\nserver 1\thttp://h/new\t2,3\nx\thttp://h/x\t\n"));

    EXPECT_EQ(
        m_cache.Names(), (std::vector<std::string> { "Server 1", "Server 2", "Server 3", "x" }));
    EXPECT_EQ(m_profile.GetString("Preislisten", "Server 1"), "http://h/new");
    std::vector<std::string> keys;
    m_profile.FindSection("Preislisten")->GetKeys(keys);
    EXPECT_EQ(keys, (std::vector<std::string> { "Server 1", "Server 2", "Server 3", "x" }));

    // After a restart Server 1 is still there, with its price and the list's columns.
    m_cache.LoadServerTables();
    EXPECT_EQ(
        m_cache.Names(), (std::vector<std::string> { "Server 1", "Server 2", "Server 3", "x" }));
    EXPECT_EQ(Value("Server 1", "Karotte"), "0,45");
    EXPECT_EQ(Value("Server 1", "Werte"), "2,3");
    EXPECT_EQ(Value("Server 1", "Aktualisiert"), "6.12.26 09:05");
}

TEST_F(HostileServerListTest, AHugeListCreatesAtMostTheBoundAndTheNextStartStaysFastAndSmall)
{
    std::string body = "heading\n";
    for (int i = 0; i < 300'000; ++i)
        body += "S" + std::to_string(i) + "\thttp://h/" + std::to_string(i) + "\t\n";
    // Rows past the bound still update known servers; an overlong row is ignored.
    body += "Server 2\thttp://h/two\t\n";
    body += "Server 1\thttp://h/" + std::string(CServerListUpdater::kMaxRowBytes, 'a') + "\t\n";
    // Only so many rows may change the profile.
    for (int i = 0; i < 300; ++i)
        body += "\t[Extra]Key" + std::to_string(i) + "=" + std::string(1000, 'v') + "\t-\n";
    EXPECT_TRUE(UpdateWith(body));
    std::vector<std::string> extra;
    m_profile.FindSection("Extra")->GetKeys(extra);
    EXPECT_EQ(extra.size(), CServerListUpdater::kMaxAssignments);

    ASSERT_EQ(m_cache.Names().size(), CServerListUpdater::kMaxServers);
    EXPECT_EQ(m_cache.Names().back(), "S" + std::to_string(CServerListUpdater::kMaxServers - 4));
    EXPECT_EQ(m_profile.GetString("Preislisten", "Server 2"), "http://h/two");
    EXPECT_EQ(m_profile.GetString("Preislisten", "Server 1"), Url("/server1"));

    const std::string path = m_dir.file("quotino.ini");
    ASSERT_TRUE(m_profile.Save(path));
    EXPECT_LT(ReadWholeFile(path).size(), 400'000u);

    const auto start = Clock::now();
    CIniFile next;
    next.SetAutoReload(false);
    next.SetAutoSave(false);
    ASSERT_TRUE(next.Load(path));
    CServerCache cache(next, m_texts, m_catalog);
    cache.LoadServerTables();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(cache.Names().size(), CServerListUpdater::kMaxServers);
    EXPECT_EQ(cache.FindTable("S10")->GetCount(), 5u); // no entry per plant without a price
}

// The growth is measured in a forked child with glibc's allocator pinned.
#ifndef _WIN32
long ResidentBytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// The allocator's own starting value.
constexpr int kFreshMmapThreshold = 128 * 1024;

// How far work drives the memory of a process above what it held before, measured in a
// child so that the test process's own history does not count.
long PeakGrowthOf(const std::function<void()>& work)
{
    int pipe[2];
    if (::pipe(pipe) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        // The allocator raises its threshold for mapping big blocks after freeing one; above it
        // a growing string is copied instead of remapped. Pinned, every run starts alike.
        ::mallopt(M_MMAP_THRESHOLD, kFreshMmapThreshold);
        const long before = ResidentBytes();
        work();
        rusage usage {};
        ::getrusage(RUSAGE_SELF, &usage);
        const long growth = usage.ru_maxrss * 1024 - before;
        const bool sent = ::write(pipe[1], &growth, sizeof growth) == sizeof growth;
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipe[1]);
    long growth = -1;
    if (::read(pipe[0], &growth, sizeof growth) != sizeof growth)
        growth = -1;
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return growth;
}

// AddressSanitizer keeps freed blocks in quarantine, so the process holds what it freed as
// well; a string per line or field (what this test guards against) still needs over 30 times.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kAllowedTimesTheBody = 12;
#else
constexpr long kAllowedTimesTheBody = 4;
#endif

// A body at the size limit made of nothing but separators: the parsers stream, so neither
// needs more than a few times the body (a string per line or per field needed 30 times).
TEST_F(HostileServerListTest, BodiesOfSeparatorsAtTheSizeLimitNeedAFewTimesTheirSize)
{
#if defined(__SANITIZE_THREAD__)
    // The measuring child is forked from a process with threads and starts a worker of its own,
    // which ThreadSanitizer cannot follow; its shadow memory would swamp the figure anyway. The
    // normal and AddressSanitizer runs measure it.
    GTEST_SKIP() << "memory growth is not measured under ThreadSanitizer";
#endif
    m_fetch.SetLimits({ .maxBodyBytes = 2 * 1024 * 1024 });
    const std::size_t size = static_cast<std::size_t>(m_fetch.Limits().maxBodyBytes);
    // The network library is loaded before the measurement starts.
    ASSERT_TRUE(UpdateWith("heading\n"));

    struct Case {
        const char* what;
        std::string body;
    };
    const std::vector<Case> cases = {
        { "line ends", "heading\n" + std::string(size - 8, '\n') },
        { "one line of tabs", "heading\n" + std::string(size - 8, '\t') },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Route("/list", c.body);
        // The price list's first row holds a price, so that the list counts as one.
        const std::string priceRow = "Karotte\t1,00\n";
        Route("/server1", priceRow + c.body.substr(priceRow.size()));
        const long growth = PeakGrowthOf([this, size] {
            // The child has none of the parent's threads: it gets a transfer worker of its own.
            CFetcher fetch;
            fetch.SetLimits({ .maxBodyBytes = static_cast<std::int64_t>(size) });
            CPriceDownloader downloader(
                m_profile, m_cache, m_priceList, fetch, m_clock, m_outcomes);
            CDownloadRun run(downloader, fetch, { "Server 1" });
            if (!UpdateServerList(m_updater, m_profile, fetch, &m_ui))
                ::_exit(2);
            RunToEnd(run, fetch);
            if (run.Failed() != 0)
                ::_exit(3);
        });
        EXPECT_GT(growth, 0);
        EXPECT_LT(growth, kAllowedTimesTheBody * static_cast<long>(size));
    }
}
#endif

// A server list and its fallback on a host that sends two bytes a second.
class StartUpdateTest : public ::testing::Test {
protected:
    StartUpdateTest()
    {
        const auto trickle = [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                return sink.write("x", 1);
            });
        };
        m_server.Server().Get("/list", trickle);
        m_server.Server().Get("/fallback", trickle);
        m_server.Start();
        m_profile.SetAutoReload(false);
        m_profile.SetAutoSave(false);
        m_profile.WriteString("Settings", "ServerList", m_server.Url("/list"));
        m_profile.WriteString("Settings", "ServerListFallback", m_server.Url("/fallback"));
    }

    LoopbackServer m_server;
    CIniFile m_profile;
    CFetcher m_fetch;
};

// The limit is one for the whole run: the fallback gets what the list left over, not a limit
// of its own.
TEST_F(StartUpdateTest, TricklingServersHoldTheRunNoLongerThanItsLimit)
{
    CServerListRun run(m_profile, m_fetch, 2);
    const auto start = Clock::now();
    RunToEnd(run, m_fetch);
    const auto waited = Clock::now() - start;
    EXPECT_FALSE(run.Succeeded());
    EXPECT_GE(waited, std::chrono::milliseconds(1900));
    EXPECT_LT(waited, std::chrono::milliseconds(3500));
    EXPECT_EQ(m_profile.GetString("Settings", "ServerList"), m_server.Url("/list"));
}

} // namespace

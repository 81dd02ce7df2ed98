#include "net/Fetcher.h"

#include "platform/Cp1252.h"
#include "platform/SafeFileName.h"
#include "platform/Utf8Path.h"
#include "support/LoopbackServer.h"
#include "support/RunToEnd.h"
#include "support/TempDir.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

// A program cannot take the place of the resolver that a DLL imports from the system.
#ifndef _WIN32
// A name server that never answers names under this domain (exported: libcurl calls it).
constexpr std::string_view kSilentDomain = ".silent-name-server.invalid";
static std::atomic<int> g_nSilentLookups = 0;

extern "C" int getaddrinfo(
    const char* node, const char* service, const addrinfo* hints, addrinfo** result) noexcept
{
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto lookup = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (!node || !std::string_view(node).ends_with(kSilentDomain))
        return lookup(node, service, hints, result);
    ++g_nSilentLookups;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    return EAI_AGAIN;
}
#endif

namespace {

class FetcherTest : public ::testing::Test {
protected:
    FetcherTest() { m_fetch.SetCopyFolder(m_dir.path().string()); }

    void Serve(const std::string& path, const std::string& body, int status = 200)
    {
        m_server.Server().Get(path, [body, status](const httplib::Request&, httplib::Response& r) {
            r.status = status;
            r.set_content(body, "text/plain");
        });
    }

    void Redirect(const std::string& path, const std::string& target)
    {
        m_server.Server().Get(path, [target](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(target);
        });
    }

    // A transfer as the runs make it: started, finished on this thread, the body read by lines.
    bool Fetch(const std::string& url, const std::string* saveName = nullptr)
    {
        const int id = m_fetch.StartFetch(url);
        const STransferResponse response = id ? TakeSome(m_fetch).front() : CFetcher::NoSession();
        m_lines.clear();
        ForEachBodyLine(response.body, [this](std::string& l) { m_lines.push_back(std::move(l)); });
        return m_fetch.FinishFetch(response, url, saveName);
    }

    std::set<std::string> FilesIn(const fs::path& folder) const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(Utf8FromPath(entry.path().filename()));
        return names;
    }

    TempDir m_dir;
    LoopbackServer m_server; // outlives the fetcher's kept-alive connection
    CFetcher m_fetch;
    std::vector<std::string> m_lines;
};

TEST_F(FetcherTest, BodiesArriveAsWindows1252Lines)
{
    struct Case {
        const char* path;
        std::string body;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        { "/lf", "Karotte\t0,45\nSalat\t1,20\n", { "Karotte\t0,45", "Salat\t1,20" } },
        { "/crlf", "Karotte\t0,45\r\nSalat\t1,20\r\n", { "Karotte\t0,45", "Salat\t1,20" } },
        { "/last-line-without-lf", "a\n\nb", { "a", "", "b" } },
        { "/empty", "", {} },
        { "/umlauts", "K\xC3\xBCrbis \xC3\xA4\xC3\xB6\xC3\x9F \xE2\x82\xAC\n",
            { "K\xFCrbis \xE4\xF6\xDF \x80" } },
        { "/invalid-utf8",
            "a\xFF"
            "b\xE2\x82\n\xE4\xB8\x80\n",
            { "a?b??", "?" } },
    };
    for (const Case& c : cases)
        Serve(c.path, c.body);
    m_server.Start();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_TRUE(Fetch(m_server.Url(c.path)));
        EXPECT_EQ(m_fetch.LastError(), 0);
        EXPECT_EQ(m_lines, c.lines);
    }
}

TEST_F(FetcherTest, CopyStartsWithTheResponseHeaderBlock)
{
    m_server.Server().Get("/list", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Date", "Sun, 06 Dec 2026 08:05:00 GMT");
        res.set_content("Karotte\t0,45\nK\xC3\xBCrbis\t2,00", "text/plain; charset=utf-8");
    });
    Redirect("/moved", "/list");
    m_server.Start();
    // The folder is a path as the file system spells it; the name is program text.
    const fs::path folder = m_dir.path() / PathFromUtf8("K\xC3\xBCrbisfeld");
    fs::create_directory(folder);
    m_fetch.SetCopyFolder(Utf8FromPath(folder));

    const std::string name = "S\xFC"
                             "d 12.txt";
    ASSERT_TRUE(Fetch(m_server.Url("/moved"), &name));

    // The URL line names where the body came from, after the redirect.
    EXPECT_EQ(ReadWholeFile(Utf8FromPath(folder
                  / PathFromUtf8("S\xC3\xBC"
                                 "d 12.txt"))),
        "URL: " + m_server.Url("/list")
            + "\r\n"
              "Content Type: text/plain; charset=utf-8\r\n"
              "Date: Sun, 06 Dec 2026 08:05:00 GMT\r\n"
              "Status Code: 200\r\n"
              "\r\n"
              "Karotte\t0,45\r\n"
              "K\xFCrbis\t2,00\r\n");
}

TEST_F(FetcherTest, HttpErrorStatusFailsWithErrorZeroAndKeepsTheCopy)
{
    Serve("/missing", "no such list\n", 404);
    m_server.Start();

    const std::string name = "ServerList.txt";
    EXPECT_FALSE(Fetch(m_server.Url("/missing"), &name));
    EXPECT_EQ(m_fetch.LastError(), 0);
    EXPECT_EQ(ReadWholeFile(m_dir.file(name)),
        "URL: " + m_server.Url("/missing")
            + "\r\n"
              "Content Type: text/plain\r\n"
              "Status Code: 404\r\n"
              "\r\n"
              "no such list\r\n");
}

TEST_F(FetcherTest, OnlyHttpAndHttpsAreFetched)
{
    Redirect("/to-file", "file:///etc/passwd");
    Redirect("/to-ftp", "ftp://127.0.0.1:1/"); // libcurl's own default would follow this one
    m_server.Start();

    const std::string name = "copy.txt";
    for (const char* url : { "-", "", "file:///etc/passwd", "FILE:///etc/passwd",
             "ftp://127.0.0.1/x", "127.0.0.1/x", "http://", "dict://127.0.0.1/" }) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(Fetch(url, &name));
        EXPECT_NE(m_fetch.LastError(), 0);
    }
    EXPECT_TRUE(FilesIn(m_dir.path()).empty());

    for (const char* path : { "/to-file", "/to-ftp" }) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Fetch(m_server.Url(path)));
        EXPECT_EQ(m_fetch.LastError(), CURLE_UNSUPPORTED_PROTOCOL);
        EXPECT_TRUE(m_lines.empty());
    }
}

TEST_F(FetcherTest, RedirectsAreFollowedUpToTen)
{
    for (int hop = 1; hop <= 11; ++hop)
        Redirect("/hop" + std::to_string(hop), "/hop" + std::to_string(hop - 1));
    Serve("/hop0", "arrived");
    Redirect("/loop", "/loop");
    m_server.Start();

    EXPECT_TRUE(Fetch(m_server.Url("/hop10")));
    EXPECT_EQ(m_lines, std::vector<std::string> { "arrived" });

    EXPECT_FALSE(Fetch(m_server.Url("/hop11")));
    EXPECT_EQ(m_fetch.LastError(), CURLE_TOO_MANY_REDIRECTS);
    EXPECT_FALSE(Fetch(m_server.Url("/loop")));
    EXPECT_EQ(m_fetch.LastError(), CURLE_TOO_MANY_REDIRECTS);
}

TEST_F(FetcherTest, BodyOverTheLimitIsRefused)
{
    m_fetch.SetLimits({ .maxBodyBytes = 1000 });
    Serve("/at-limit", std::string(1000, 'x'));
    Serve("/announced", std::string(1001, 'x'));
    m_server.Server().Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
            if (offset >= 100000) {
                sink.done();
                return true;
            }
            const std::string chunk(500, 'y');
            return sink.write(chunk.data(), chunk.size());
        });
    });
    m_server.Start();

    EXPECT_TRUE(Fetch(m_server.Url("/at-limit")));
    for (const char* path : { "/announced", "/chunked" }) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Fetch(m_server.Url(path)));
        EXPECT_EQ(m_fetch.LastError(), CURLE_FILESIZE_EXCEEDED);
    }
}

TEST_F(FetcherTest, ServerThatNeverAnswersFailsAfterTheStallTime)
{
    m_fetch.SetLimits({ .stallSeconds = 1 });
    m_server.Server().Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
        m_server.Stall();
        res.set_content("too late", "text/plain");
    });
    m_server.Start();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Fetch(m_server.Url("/stall")));
    EXPECT_EQ(m_fetch.LastError(), CURLE_OPERATION_TIMEDOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(FetcherTest, TricklingServerFailsAfterTheTotalTime)
{
    m_fetch.SetLimits({ .totalTimeoutSeconds = 1 });
    m_server.Server().Get("/trickle", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return sink.write("x", 1);
        });
    });
    m_server.Start();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Fetch(m_server.Url("/trickle")));
    EXPECT_EQ(m_fetch.LastError(), CURLE_OPERATION_TIMEDOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// Windows refuses connections beyond a full accept queue instead of leaving them unanswered.
#ifndef _WIN32
TEST_F(FetcherTest, ConnectionThatDoesNotOpenFailsAfterTheConnectTime)
{
    // A listener whose accept queue is full drops further connection attempts unanswered.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    std::vector<int> fillers;
    for (int i = 0; i < 3; ++i) {
        fillers.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        connect(fillers.back(), reinterpret_cast<sockaddr*>(&address), length);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    m_fetch.SetLimits({ .connectTimeoutMs = 300 });
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Fetch(url));
    EXPECT_EQ(m_fetch.LastError(), CURLE_OPERATION_TIMEDOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

    for (const int filler : fillers)
        close(filler);
    close(listener);
}
#endif

TEST_F(FetcherTest, RefusedConnectionFailsWithoutTouchingTheCopy)
{
    m_server.Start();
    const std::string url = m_server.Url("/");
    m_server.Stop();
    const std::string name = "Server 1.txt";
    WriteWholeFile(m_dir.file(name), "previous copy");

    EXPECT_FALSE(Fetch(url, &name));
    EXPECT_EQ(m_fetch.LastError(), CURLE_COULDNT_CONNECT);
    EXPECT_EQ(ReadWholeFile(m_dir.file(name)), "previous copy");
}

// The test server's TLS needs OpenSSL, and Wine's Schannel accepts every certificate
// (untrusted, self-signed, wrong host): refusal is proven on Linux only.
#ifndef _WIN32
TEST_F(FetcherTest, SelfSignedCertificateIsRefused)
{
    const std::string key = m_dir.file("key.pem");
    const std::string cert = m_dir.file("cert.pem");
    const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1"
                                " -nodes -days 1 -subj /CN=127.0.0.1 -keyout '"
        + key + "' -out '" + cert + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "the openssl command could not make a test certificate";

    httplib::SSLServer tls(cert.c_str(), key.c_str());
    ASSERT_TRUE(tls.is_valid());
    tls.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("secret", "text/plain");
    });
    const int port = tls.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { tls.listen_after_bind(); });
    const std::string httpsUrl = "https://127.0.0.1:" + std::to_string(port) + "/";
    Redirect("/to-https", httpsUrl);
    m_server.Start();

    EXPECT_FALSE(Fetch(httpsUrl));
    EXPECT_EQ(m_fetch.LastError(), CURLE_PEER_FAILED_VERIFICATION);

    // The default flags follow a redirect from http to https; without them it is refused.
    EXPECT_FALSE(Fetch(m_server.Url("/to-https")));
    EXPECT_EQ(m_fetch.LastError(), CURLE_PEER_FAILED_VERIFICATION);
    m_fetch.SetLoadFlag(0);
    EXPECT_FALSE(Fetch(m_server.Url("/to-https")));
    EXPECT_EQ(m_fetch.LastError(), CURLE_UNSUPPORTED_PROTOCOL);
    EXPECT_TRUE(m_lines.empty());

    tls.stop();
    thread.join();
}
#endif

TEST_F(FetcherTest, HostileCopyNamesStayInsideTheCopyFolder)
{
    Serve("/list", "Karotte\t0,45\n");
    m_server.Start();

    struct Case {
        std::string name;
        std::string file;
    };
    const std::vector<Case> cases = {
        { "Server 12.txt", "Server 12.txt" },
        { "K\xFCrbisland.txt", "K\xFCrbisland.txt" },
        { "../evil.txt", "___evil.txt" },
        { "..\\evil.txt", "___evil.txt" },
        { "../../../../etc/passwd", "____________etc_passwd" },
        { "..", "__" },
        { ".", "_" },
        { "...", "___" },
        { "/etc/passwd", "_etc_passwd" },
        { "C:\\Windows\\win.ini", "C__Windows_win.ini" },
        { "\\\\server\\share\\x", "__server_share_x" },
        { "a/b", "a_b" },
        { "a:b", "a_b" },
        { "a<b>c|d?e*f\"g", "a_b_c_d_e_f_g" },
        { "CON", "_CON" },
        { "con.txt", "_con.txt" },
        { "Con .txt", "_Con .txt" },
        { "PRN", "_PRN" },
        { "aux.list.txt", "_aux.list.txt" },
        { "NUL", "_NUL" },
        { "COM1", "_COM1" },
        { "com9.txt", "_com9.txt" },
        { "LPT1.txt", "_LPT1.txt" },
        { "COM10.txt", "COM10.txt" },
        { "CONSOLE.txt", "CONSOLE.txt" },
        { "x.", "x_" },
        { "x. . ", "x____" },
        { "tab\there", "tab_here" },
        { std::string("nul\0byte", 8), "nul_byte" },
        { "bell\x07\x1f\x7f", "bell___" },
        { "", "_" },
        { "   ", "___" },
        { std::string(300, 'a') + ".txt", std::string(196, 'a') + ".txt" },
        { std::string(300, '\xFC'), std::string(100, '\xFC') },
    };
    ASSERT_GE(cases.size(), 30u);
    const fs::path outside = m_dir.path();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path folder = outside / ("copies" + std::to_string(i));
        // Nested two deep, so that an escape by ".." would land in a folder we can see.
        fs::create_directories(folder / "inner");
        m_fetch.SetCopyFolder((folder / "inner").string());

        EXPECT_EQ(SafeFileName(cases[i].name), cases[i].file);
        EXPECT_TRUE(Fetch(m_server.Url("/list"), &cases[i].name));
        EXPECT_EQ(FilesIn(folder), std::set<std::string> { "inner" });
        const std::string expected = Cp1252ToUtf8(cases[i].file);
        EXPECT_EQ(FilesIn(folder / "inner"), std::set<std::string> { expected });
        EXPECT_TRUE(fs::is_regular_file(folder / "inner" / PathFromUtf8(expected)));
    }
}

// Making a symbolic link needs a privilege on Windows, and Wine cannot make one at all.
#ifndef _WIN32
TEST_F(FetcherTest, PlantedSymbolicLinkIsReplacedNotWrittenThrough)
{
    Serve("/list", "Karotte\t0,45\n");
    m_server.Start();
    const fs::path victim = m_dir.path() / "victim";
    WriteWholeFile(victim.string(), "precious");
    fs::create_directory(m_dir.path() / "copies");
    const fs::path planted = m_dir.path() / "copies" / "Server 1.txt";
    fs::create_symlink(victim, planted);
    m_fetch.SetCopyFolder((m_dir.path() / "copies").string());

    const std::string name = "Server 1.txt";
    EXPECT_TRUE(Fetch(m_server.Url("/list"), &name));

    EXPECT_EQ(ReadWholeFile(victim.string()), "precious");
    EXPECT_FALSE(fs::is_symlink(planted));
    EXPECT_NE(ReadWholeFile(planted.string()).find("Karotte\t0,45\r\n"), std::string::npos);
    EXPECT_EQ(FilesIn(m_dir.path() / "copies"), std::set<std::string> { "Server 1.txt" });
}
#endif

#ifndef _WIN32
TEST_F(FetcherTest, LookupThatNeverEndsHoldsNothingUp)
{
    auto fetch = std::make_unique<CFetcher>();
    fetch->StartFetch("http://prices" + std::string(kSilentDomain) + "/");
    for (int i = 0; i < 400 && g_nSilentLookups == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto start = std::chrono::steady_clock::now();
    fetch->CancelAll();
    fetch.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}
#endif

} // namespace

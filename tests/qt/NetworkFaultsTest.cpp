#include "app/QuotinoApp.h"
#include "calc/Clipboard.h"
#include "calc/ListPaste.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/UserInterface.h"
#include "qt/QuotinoDlg.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "support/WindowRun.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <map>
#include <memory>
#include <thread>

namespace {

// Answers one request with the head of a long body and then resets the connection, as a
// server that crashes in the middle of a list does.
class ResettingServer {
public:
    ResettingServer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listener, 4);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_nPort = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~ResettingServer()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        m_thread.join();
    }

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_nPort) + "/reset"; }

private:
    void Serve()
    {
        const int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        char request[4096];
        [[maybe_unused]] const auto received = ::recv(connection, request, sizeof request, 0);
        // A whole price line, then half of one: neither may reach the table.
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                                 "Content-Length: 100000\r\n\r\n"
                                 "Karotte\t9,99\nSalat\t8,";
        [[maybe_unused]] const auto sent
            = ::send(connection, head.data(), head.size(), MSG_NOSIGNAL);
        const linger reset { 1, 0 };
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        ::close(connection);
    }

    int m_listener = -1;
    int m_nPort = 0;
    std::thread m_thread;
};

// A price as the program stores it: integer, comma, integer, maybe text behind.
bool IsStoredPrice(const std::string& price)
{
    const auto comma = price.find(',');
    return comma != std::string::npos && comma > 0 && price.find('.') == std::string::npos
        && std::isdigit(static_cast<unsigned char>(price[comma - 1])) && comma + 1 < price.size()
        && std::isdigit(static_cast<unsigned char>(price[comma + 1]));
}

} // namespace

class NetworkFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void DownloadAllSurvivesBrokenServersAndStampsEveryOne();
};

// Download all over five servers: one resets the connection mid-body, one sends invalid UTF-8,
// one a list of 50,000 lines, one never answers, one is well. The window keeps handling
// events between servers, every server ends with a stamp, and no price is lost or
// half-written, in the table, the profile document or the saved file.
void NetworkFaultsTest::DownloadAllSurvivesBrokenServersAndStampsEveryOne()
{
    LoopbackServer http;
    http.Server().Get("/utf8", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("K\xFCrbis\t3,00\nKarotte\t0,\xFF"
                             "45\nSalat\t1,25\xC3\nTomate\t2,50\n",
            "text/plain");
    });
    std::string longList = "Pflanze\tPreis\n";
    for (int line = 0; line < 50000; ++line)
        longList
            += line == 25000 ? "Tomate\t7,77\n" : "Unbekannt " + std::to_string(line) + "\t1,00\n";
    http.Server().Get("/long", [&longList](const httplib::Request&, httplib::Response& response) {
        response.set_content(longList, "text/plain");
    });
    http.Server().Get(
        "/silent", [&http](const httplib::Request&, httplib::Response&) { http.Stall(); });
    http.Server().Get("/good", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("Karotte\t0,45\nDatum/Uhrzeit\t06.12.2026\t08:00\n", "text/plain");
    });
    http.Start();
    ResettingServer resetting;

    const std::vector<std::pair<std::string, std::string>> servers
        = { { "A Reset", resetting.Url() }, { "B Invalid UTF-8", http.Url("/utf8") },
              { "C Long", http.Url("/long") }, { "D Silent", http.Url("/silent") },
              { "E Good", http.Url("/good") } };
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    QVERIFY(WriteServersProfile(path, servers, [&servers](CIniFile& profile) {
        for (const auto& [name, address] : servers) {
            profile.WriteString(name, "Salat", "0,20");
            profile.WriteString(name, "Tomate", "0,30");
        }
    }));

    CFixedClock clock(FixedNow());
    CQuotinoApp app(path, clock);
    app.InitInstance();
    CFakeUserInterface ui;
    CPresetClipboard clipboard;
    CQuotinoDlg window(app, &ui, &clipboard);
    QVERIFY(window.IsInitialised());
    app.Fetch().m_nConnectTimeoutMs = 1000;
    app.Fetch().m_nStallSeconds = 1;
    app.Fetch().m_nTotalTimeoutSeconds = 2;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    int ticks = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&ticks] { ++ticks; });
    heartbeat.start(100);
    QElapsedTimer elapsed;
    elapsed.start();
    window.Control<QPushButton>(1006)->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.Behaviour().IsBusy(), 15000);
    const qint64 milliseconds = elapsed.elapsed();
    heartbeat.stop();
    qInfo("Download all over five servers took %lld ms; %d timer ticks ran meanwhile", milliseconds,
        ticks);
    QVERIFY2(milliseconds < 15000, "the silent server held the window beyond its limits");
    QVERIFY2(ticks >= 1, "no event was handled while the downloads ran");

    std::map<std::string, std::string> stamps;
    for (const auto& [name, address] : servers)
        stamps[name] = app.Servers().GetServerValue(name, "Aktualisiert", "<none>");
    const std::string success = "6.12.26 09:05";
    QCOMPARE(stamps["B Invalid UTF-8"], success);
    QCOMPARE(stamps["C Long"], success);
    QCOMPARE(stamps["E Good"], success);
    for (const char* failed : { "A Reset", "D Silent" }) {
        QVERIFY2(stamps[failed].rfind("** 0x", 0) == 0 && stamps[failed] != "** 0x00000000",
            stamps[failed].c_str());
        // A failure stamp lives in the table only; the profile keeps the last good one.
        QCOMPARE(app.Profile().GetString(failed, "Aktualisiert"), std::string("1.1.26 10:00"));
    }

    const std::map<std::string, std::map<std::string, std::string>> expected = {
        { "A Reset", { { "Karotte", "0,10" }, { "Salat", "0,20" }, { "Tomate", "0,30" } } },
        { "B Invalid UTF-8",
            { { "Karotte", "0,10" }, { "Salat", "1,25?" }, { "Tomate", "2,50" } } },
        { "C Long", { { "Karotte", "0,10" }, { "Salat", "0,20" }, { "Tomate", "7,77" } } },
        { "D Silent", { { "Karotte", "0,10" }, { "Salat", "0,20" }, { "Tomate", "0,30" } } },
        { "E Good", { { "Karotte", "0,45" }, { "Salat", "0,20" }, { "Tomate", "0,30" } } },
    };
    QVERIFY(app.SaveProfile());
    CIniFile saved;
    saved.m_bAutoReload = saved.m_bAutoSave = false;
    QVERIFY(saved.Load(path));
    for (const auto& [server, prices] : expected) {
        for (const auto& [plant, price] : prices) {
            const std::string where = server + " " + plant;
            QCOMPARE(app.Servers().GetServerValue(server, plant, "<none>"), price);
            QCOMPARE(saved.GetString(server, plant, "<none>"), price);
        }
        for (const std::string& plant : app.Catalog().m_astrPlants) {
            const std::string price = app.Servers().GetServerValue(server, plant, "0,0");
            QVERIFY2(IsStoredPrice(price), (server + " " + plant + " = " + price).c_str());
        }
    }
    QCOMPARE(saved.GetString("E Good", "Stand"), std::string("06.12.2026 08:00"));
    QVERIFY(window.isVisible());
}

QTEST_MAIN(NetworkFaultsTest)
#include "NetworkFaultsTest.moc"

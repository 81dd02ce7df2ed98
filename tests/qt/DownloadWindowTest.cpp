#include "QtTestRegistry.h"
#include "app/QuotinoApp.h"
#include "calc/Clipboard.h"
#include "calc/ListPaste.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/UserInterface.h"
#include "qt/QtText.h"
#include "qt/QuotinoDlg.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "support/WindowRun.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <atomic>
#include <fstream>
#include <map>
#include <memory>

namespace {

const QString kNewLabel = QStringLiteral("Daten von: 6.12.26 09:05");

// A loopback server whose paths answer a price list after a delay, or hold the request until
// released (or the test ends).
class PriceServer {
public:
    PriceServer()
    {
        m_http.Server().Get(
            R"(/(.*))", [this](const httplib::Request& request, httplib::Response& response) {
                const std::string path = request.matches[1];
                int delay = 0;
                {
                    std::lock_guard lock(m_mutex);
                    ++m_requests[path];
                    if (m_delays.contains(path))
                        delay = m_delays[path];
                }
                if (delay < 0) {
                    std::unique_lock lock(m_mutex);
                    m_released.wait_for(
                        lock, std::chrono::seconds(20), [this] { return m_bReleased; });
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                }
                std::lock_guard lock(m_mutex);
                if (path == "gone")
                    response.status = 404;
                response.set_content(m_bodies.contains(path) ? m_bodies[path] : "Karotte\t0,45\n",
                    "text/plain; charset=utf-8");
            });
        m_http.Start();
    }
    ~PriceServer() { Release(); }

    void Answer(const std::string& path, int delayMs, const std::string& body = {})
    {
        std::lock_guard lock(m_mutex);
        m_delays[path] = delayMs;
        if (!body.empty())
            m_bodies[path] = body;
    }
    void Release()
    {
        {
            std::lock_guard lock(m_mutex);
            m_bReleased = true;
        }
        m_released.notify_all();
    }
    int Requests(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        return m_requests[path];
    }
    std::string Url(const std::string& path) const { return m_http.Url("/" + path); }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_bReleased = false;
    std::map<std::string, int> m_delays;
    std::map<std::string, std::string> m_bodies;
    std::map<std::string, int> m_requests;
    LoopbackServer m_http;
};

// The shipped profile in German with the given servers, each with an old price and stamp,
// its window shown.
struct Window : CWindowRun {
    explicit Window(
        const Servers& servers, const ProfileEdit& edit = {}, const std::string& clipboard = {})
        : CWindowRun(servers, edit, clipboard)
    {
        m_app->Fetch().m_nConnectTimeoutMs = 2000;
        m_window->show();
    }
    bool Busy() const { return m_window->Behaviour().IsBusy(); }
    bool WaitUntilIdle(int milliseconds = 10000) { return WaitForCommand(milliseconds); }
    std::string Price(const std::string& server) const
    {
        return m_app->Servers().GetServerValue(server, "Karotte", "<none>");
    }
};

// The longest pause between the ticks of a 10 ms timer while the condition is false.
qint64 LongestGapUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    timer.start(10);
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return std::max(longest, clock.elapsed() - last); // also a pause that ends the wait
}

} // namespace

class DownloadWindowTest : public QObject {
    Q_OBJECT
private slots:
    void StalledDownloadLeavesTheWindowAliveAndEscapeKeepsTheOldPrices();
    void LargeListsWaitingBehindASlowServerDoNotHoldTheWindow();
    void TheCloseButtonDuringATransferSavesAndExitsWithinASecond();
    void DroppedFileIsImported();
    void StartupUpdateDoesNotDelayTheFirstReport();
};

// While one server stalls the window keeps painting and answering its timers; input other than
// Escape is ignored; Escape stops the single download and only the next one closes.
void DownloadWindowTest::StalledDownloadLeavesTheWindowAliveAndEscapeKeepsTheOldPrices()
{
    PriceServer server;
    server.Answer("stall", -1);
    Window run({ { "Server 1", server.Url("stall") } });
    QVERIFY(QTest::qWaitForWindowExposed(run.m_window.get()));
    QSignalSpy calculated(run.m_window.get(), &CQuotinoDlg::Calculated);

    run.m_window->Control<QPushButton>(1004)->click();
    QVERIFY(run.Busy());
    QElapsedTimer clock;
    clock.start();
    const qint64 gap = LongestGapUntil([&] { return clock.elapsed() > 600; }, 1000);
    QVERIFY2(gap < 100, qPrintable(QString("the window paused %1 ms").arg(gap)));
    QTest::mouseClick(run.m_window->Control<QPushButton>(1), Qt::LeftButton);
    QCOMPARE(calculated.count(), 0);

    QTest::keyClick(run.m_window.get(), Qt::Key_Escape);
    QVERIFY(!run.Busy());
    QVERIFY(run.m_window->isVisible());
    QCOMPARE(calculated.count(), 1);
    QTest::keyClick(run.m_window.get(), Qt::Key_Escape);
    QVERIFY(!run.m_window->isVisible());
}

// Six lists of 8 MB are in long before the first server answers; the window goes on
// answering while they are read and then applied.
void DownloadWindowTest::LargeListsWaitingBehindASlowServerDoNotHoldTheWindow()
{
    PriceServer server;
    std::string list;
    while (list.size() < 8'000'000)
        list += "Karotte\t0,45\n";
    server.Answer("slow", 1500);
    std::vector<std::pair<std::string, std::string>> servers = { { "Slow", server.Url("slow") } };
    for (const char* name : { "B", "C", "D", "E", "F", "G" }) {
        server.Answer(name, 0, list);
        servers.emplace_back(name, server.Url(name));
    }
    Window run(servers);
    QVERIFY(QTest::qWaitForWindowExposed(run.m_window.get()));

    run.m_window->Control<QPushButton>(1006)->click();
    // The limit is for slow builds (sanitizers) on a busy machine; the gap is what counts.
    const qint64 gap = LongestGapUntil([&] { return !run.Busy(); }, 90000);
    QVERIFY2(!run.Busy() && gap < 250, qPrintable(QString("the window paused %1 ms").arg(gap)));
    for (const auto& [name, address] : servers)
        QCOMPARE(run.Price(name), std::string("0,45"));
}

void DownloadWindowTest::TheCloseButtonDuringATransferSavesAndExitsWithinASecond()
{
    PriceServer server;
    server.Answer("stall", -1);
    auto run = std::make_unique<Window>(
        std::vector<std::pair<std::string, std::string>> { { "Server 1", server.Url("stall") } });
    QElapsedTimer clock;
    QTimer::singleShot(0, run->m_window.get(), [&] {
        run->m_window->Control<QPushButton>(1004)->click();
        QTimer::singleShot(100, run->m_window.get(), [&] {
            clock.start();
            // A real click: input filtered while the command runs must let this one through.
            QTest::mouseClick(run->m_window->Control(2), Qt::LeftButton);
        });
    });
    run->m_window->exec();
    run->m_window.reset();
    run->m_app.reset();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
}

// A file dropped on the window is imported (what an import does is the window's rule).
void DownloadWindowTest::DroppedFileIsImported()
{
    Window run({ { "Server 1", "-" }, { "Server 2", "-" } });
    QVERIFY(QTest::qWaitForWindowExposed(run.m_window.get()));
    const std::string path = run.m_dir.file("prices.txt");
    std::ofstream(path, std::ios::binary)
        << "Name\tPrice\r\nCow lily\t12,50\r\nAardappelen\t0,75\r\n"
           "Ail\t1.05\r\nDatum/Uhrzeit\t06.12.2026\t08:00\r\n";

    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(QString::fromStdString(path)) });
    const QPoint where = run.m_window->rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(run.m_window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(run.m_window.get(), &drop);
    QVERIFY(drop.isAccepted());

    QCOMPARE(run.m_app->Servers().GetServerValue("Server 1", "Knoblauch", ""), std::string("1,05"));
    QCOMPARE(run.Label(1003)->text(), kNewLabel);
}

// The update due at start waits for no server: the first report is on screen at once, and the
// list is applied when it comes in.
void DownloadWindowTest::StartupUpdateDoesNotDelayTheFirstReport()
{
    PriceServer server;
    server.Answer("list", -1, "Server\tAdresse\nNeuer Server\t-\t\n");
    QElapsedTimer clock;
    clock.start();
    auto run = std::make_unique<Window>(
        std::vector<std::pair<std::string, std::string>> { { "Server 1", "-" } },
        [&](CIniFile& profile) {
            profile.WriteString("Settings", "ServerInt", "1");
            profile.WriteString("Settings", "ServerUpd", "2020-01-01");
            profile.WriteString("Settings", "ServerList", server.Url("list"));
        },
        "Einkaufsliste\n3 x Karotte\nSumme: 25,00 wT\nProdukte jetzt verkaufen?");
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(run->m_window->Control<QPlainTextEdit>(1001)->toPlainText().contains("Karotte"));
    QTRY_COMPARE(server.Requests("list"), 1);
    QVERIFY(run->Busy());
    QCOMPARE(run->m_window->Control<QComboBox>(1002)->count(), 1);

    server.Release();
    QVERIFY(run->WaitUntilIdle());
    QCOMPARE(run->m_window->Control<QComboBox>(1002)->count(), 2);
    QCOMPARE(
        run->m_app->Profile().GetString("Settings", "ServerUpd", ""), std::string("2026-12-06"));
}

QUOTINO_QT_TEST(DownloadWindowTest)
#include "DownloadWindowTest.moc"

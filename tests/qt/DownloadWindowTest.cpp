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

#include <fstream>
#include <map>
#include <memory>

namespace {

const QString kNewLabel = QStringLiteral("Daten von: 6.12.26 09:05");

// A loopback server: /stall holds the request until the test ends, /slow answers after 1.5 s,
// any other path with the body set for it or a short list.
struct PriceServer {
    PriceServer()
    {
        m_http.Server().Get(R"(/(.*))", [this](const httplib::Request& request, auto& response) {
            const std::string path = request.matches[1];
            if (path == "stall")
                m_http.Stall();
            else if (path == "slow")
                std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            const auto body = m_bodies.find(path);
            response.set_content(
                body == m_bodies.end() ? "Karotte\t0,45\n" : body->second, "text/plain");
        });
    }
    std::string Url(const std::string& path) const { return m_http.Url("/" + path); }

    std::map<std::string, std::string> m_bodies; // set before Start
    LoopbackServer m_http;
};

// The shipped profile in German with the given servers, each with an old price and stamp,
// its window shown.
struct Window : CWindowRun {
    explicit Window(
        const Servers& servers, const ProfileEdit& edit = {}, const std::string& clipboard = {})
        : CWindowRun(servers, edit, clipboard, { .connectTimeoutMs = 2000 })
    {
        m_window->show();
    }
    bool Busy() const { return m_window->Behaviour().IsBusy(); }
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
    void LargeListsWaitingBehindASlowServerDoNotHoldTheWindow();
    void TheCloseButtonDuringATransferSavesAndExitsWithinASecond();
    void DroppedFileIsImported();
};

// Six lists of 8 MB are in long before the first server answers; the window goes on
// answering while they are read and then applied.
void DownloadWindowTest::LargeListsWaitingBehindASlowServerDoNotHoldTheWindow()
{
    PriceServer server;
    std::string list;
    while (list.size() < 8'000'000)
        list += "Karotte\t0,45\n";
    const char* large[] = { "B", "C", "D", "E", "F", "G" };
    for (const char* name : large)
        server.m_bodies[name] = list;
    server.m_http.Start();
    CWindowRun::Servers servers = { { "Slow", server.Url("slow") } };
    for (const char* name : large)
        servers.emplace_back(name, server.Url(name));
    Window run(servers);
    QVERIFY(QTest::qWaitForWindowExposed(run.m_window.get()));

    run.m_window->Control<QPushButton>(1006)->click();
    // The limit is for slow builds (sanitizers) on a busy machine; the gap is what counts.
    const qint64 gap = LongestGapUntil([&] { return !run.Busy(); }, 90000);
    QVERIFY2(!run.Busy() && gap < 250, qPrintable(QString("the window paused %1 ms").arg(gap)));
    for (const auto& [name, address] : servers)
        QCOMPARE(run.Price(name), std::string("0,45"));
}

// Real clicks while the command runs: the input filter holds Calculate's back and lets the
// Close button's through.
void DownloadWindowTest::TheCloseButtonDuringATransferSavesAndExitsWithinASecond()
{
    PriceServer server;
    server.m_http.Start();
    auto run = std::make_unique<Window>(
        std::vector<std::pair<std::string, std::string>> { { "Server 1", server.Url("stall") } });
    QElapsedTimer clock;
    QTimer::singleShot(0, run->m_window.get(), [&] {
        run->m_window->Control<QPushButton>(1004)->click();
        QTimer::singleShot(100, run->m_window.get(), [&] {
            run->m_spy->clear();
            QTest::mouseClick(run->m_window->Control(1), Qt::LeftButton);
            QCOMPARE(run->m_spy->count(), 0);
            clock.start();
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
    QCOMPARE(run.Text(1003), kNewLabel);
}

QUOTINO_QT_TEST(DownloadWindowTest)
#include "DownloadWindowTest.moc"

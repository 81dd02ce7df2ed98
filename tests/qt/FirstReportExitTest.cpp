#include "qt/FirstReportExit.h"
#include "QtTestRegistry.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <sstream>

namespace {

long long WallClockMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// A window with one report edit, as the main window has.
struct Window {
    Window()
    {
        m_report = new QPlainTextEdit(&m_dialog);
        m_report->setGeometry(10, 10, 200, 100);
        m_dialog.resize(220, 120);
    }

    QDialog m_dialog;
    QPlainTextEdit* m_report;
    std::ostringstream m_out;
};

} // namespace

class FirstReportExitTest : public QObject {
    Q_OBJECT
private slots:
    void ExecReturnsOnceAReportIsOnScreenWithTheWallClockAndTheReport();
};

// An empty report painted ends nothing; the first painted report ends the run and is printed
// with the time it showed, later paints print nothing more.
void FirstReportExitTest::ExecReturnsOnceAReportIsOnScreenWithTheWallClockAndTheReport()
{
    Window window;
    new CFirstReportExit(window.m_dialog, *window.m_report, window.m_out);
    long long before = 0;
    std::string early = "not run";
    QTimer::singleShot(0, &window.m_dialog, [&] {
        QVERIFY(QTest::qWaitForWindowExposed(&window.m_dialog));
        window.m_report->viewport()->repaint();
        QCoreApplication::processEvents();
        early = window.m_out.str();
        before = WallClockMicroseconds();
        window.m_report->setPlainText(QStringLiteral("Summe: 25,00 wT\n90,0% vom Bauernhofpreis"));
    });
    // A run that never ends would hang the test; this ends it as a failure instead.
    QTimer::singleShot(10000, &window.m_dialog, &QDialog::reject);
    QCOMPARE(window.m_dialog.exec(), int(QDialog::Accepted));
    const long long after = WallClockMicroseconds();
    QCOMPARE(early, std::string());

    std::istringstream lines(window.m_out.str());
    std::string word;
    long long shown = 0;
    QVERIFY(lines >> word >> shown);
    QCOMPARE(word, std::string("shown"));
    QVERIFY2(before <= shown && shown <= after, window.m_out.str().c_str());
    std::string report;
    std::getline(lines, report); // the rest of the time line
    std::getline(lines, report, '\0');
    QCOMPARE(report, std::string("Summe: 25,00 wT\n90,0% vom Bauernhofpreis\n"));

    window.m_dialog.show();
    window.m_report->viewport()->repaint();
    QCoreApplication::processEvents();
    QCOMPARE(window.m_out.str().find("shown", 1), std::string::npos);
}

QUOTINO_QT_TEST(FirstReportExitTest)
#include "FirstReportExitTest.moc"

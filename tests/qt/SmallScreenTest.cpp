#include "QtTestRegistry.h"
#include "support/WindowRun.h"

#include <QScreen>

// A 1400 x 900 pixel screen at a scale factor of 2 (tests/qt/CMakeLists.txt sets it up): the
// window's template is larger than the screen's 700 x 450 logical pixels.
class SmallScreenTest : public QObject {
    Q_OBJECT
private slots:
    void WindowAndItsMinimumFitTheScreen();
};

namespace {

bool Inside(const QRect& inner, const QRect& outer)
{
    return outer.contains(inner.topLeft()) && outer.contains(inner.bottomRight());
}

} // namespace

void SmallScreenTest::WindowAndItsMinimumFitTheScreen()
{
    CWindowRun run(
        "Deutsch", [](CIniFile& profile) { profile.WriteString("Settings", "PreisListe", "1"); });
    QVERIFY(run.Show());
    CQuotinoDlg& window = *run.m_window;
    const QRect available = window.screen()->availableGeometry();
    QCOMPARE(available.size(), QSize(700, 450));
    QVERIFY(window.MinimumSize().width() <= available.width());
    QVERIFY(window.MinimumSize().height() <= available.height());
    QCOMPARE(window.minimumSize(), window.MinimumSize());
    QVERIFY2(Inside(window.frameGeometry(), available),
        qPrintable(QString("%1x%2")
                       .arg(window.frameGeometry().width())
                       .arg(window.frameGeometry().height())));

    // Every button stays inside the window, the bottom row included.
    const QRect client = window.rect();
    for (int id : { 1, 1004, 1006, 1013, 1020, 1030, 1014, 2, 1000, 1001, 1012 })
        QVERIFY2(
            Inside(run.m_window->Control(id)->geometry(), client), qPrintable(QString::number(id)));
    // The bottom row does not overlap: left to right, each control ends before the next.
    const int row[] = { 1, 1004, 1006, 1013, 1020, 1030, 1014, 2 };
    for (std::size_t i = 1; i < std::size(row); ++i) {
        const QRect before = window.Control(row[i - 1])->geometry();
        QVERIFY2(before.right() < window.Control(row[i])->geometry().left(),
            qPrintable(QString::number(row[i])));
    }
    QVERIFY(window.Control(1001)->height() > 0);
    QVERIFY(window.Control(1012)->width() > 0);
}

QUOTINO_QT_TEST(SmallScreenTest)
#include "SmallScreenTest.moc"

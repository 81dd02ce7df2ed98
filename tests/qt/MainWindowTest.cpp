#include "QtTestRegistry.h"
#include "app/QuotinoApp.h"
#include "calc/ListPaste.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "qt/HyperLink.h"
#include "qt/ProgramIcon.h"
#include "qt/QtClipboard.h"
#include "qt/QtText.h"
#include "qt/QuotinoDlg.h"
#include "support/FakeUserInterface.h"
#include "support/FixedTime.h"
#include "support/TempDir.h"
#include "support/WindowRun.h"
#include "window/ControlAnchors.h"
#include "window/ControlIds.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using Run = CWindowRun;

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void EmptyAboutTextGivesNoAboutCommand();
    void ReturnRecalculatesAndNeverCloses();
    void StartShowsTheClipboardListCalculatedOnce();
    void WindowIconHasThePixelsOfTheInstalledIcon();
    void ClipboardTextIsReadAsWindows1252();
    void OnlyTheCloseRequestStoresAnEnlargedSize();
    void FailedLoadClosesAtOnceWithoutStoringTheSize();
    void WaitCursorShowsOnlyOverTheVisibleWindow();
};

void MainWindowTest::EmptyAboutTextGivesNoAboutCommand()
{
    Run run("Deutsch",
        [](CIniFile& profile) { profile.WriteString("Texts Deutsch", "Txt_About", ""); });
    // The language command, the price-list commands and the watch stay in the context menu;
    // F1 opens nothing.
    QStringList visible;
    for (const QAction* action : run.m_window->actions()) {
        if (action->isVisible())
            visible << action->text();
    }
    QCOMPARE(visible,
        (QStringList { "Sprache / Language...", QStringLiteral("Preisliste importieren..."),
            QStringLiteral("Preisliste aus der Zwischenablage einfügen"),
            QStringLiteral("Preisliste exportieren..."),
            QStringLiteral("Zwischenablage beobachten") }));
    QVERIFY(run.m_window->actions().first()->text().isEmpty());
}

void MainWindowTest::ReturnRecalculatesAndNeverCloses()
{
    Run run;
    QVERIFY(run.Show());
    CQuotinoDlg& window = *run.m_window;

    int calculations = 0;
    const std::vector<QWidget*> targets { window.Control(1004), window.Control(2),
        window.Control(1016), window.Control(1002), window.Control(1001), &window };
    for (QWidget* target : targets) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        calculations += 2;
        QCOMPARE(run.m_spy->count(), calculations);
        QVERIFY2(window.isVisible(), qPrintable(target->metaObject()->className()));
    }

    auto* input = window.Control<QPlainTextEdit>(1000);
    input->setPlainText(QStringLiteral("3 x Karotte"));
    input->moveCursor(QTextCursor::End);
    input->setFocus();
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(input->toPlainText(), QStringLiteral("3 x Karotte\n"));
    QCOMPARE(run.m_spy->count(), calculations);

    QTest::keyClick(input, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void MainWindowTest::StartShowsTheClipboardListCalculatedOnce()
{
    Run run("Deutsch", {}, kExampleList);
    QVERIFY(run.Text(1001).endsWith(
        QStringLiteral("114,3% vom Marktpreis minus 10% Geb\u00FChr (21,87 wT)")));

    // The report is complete before the window shows: nothing may calculate it again.
    run.m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.m_window.get()));
    QCoreApplication::processEvents();
    QTest::qWait(20);
    QCOMPARE(run.m_spy->count(), 0);
    QCOMPARE(run.Text(1000), AsShown(kExampleList));
}

// The window's icon is kept as bare pixels; they must be the installed 64-pixel icon's.
void MainWindowTest::WindowIconHasThePixelsOfTheInstalledIcon()
{
    const QIcon icon = ProgramIcon();
    QVERIFY(!icon.isNull());
    // Premultiplied, as drawn: the colour of a fully transparent pixel does not matter.
    const QImage shown
        = icon.pixmap(QSize(64, 64)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage installed = QImage(QString::fromUtf8(QUOTINO_ICON_PNG))
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(installed.size(), QSize(64, 64));
    QCOMPARE(shown.size(), installed.size());
    QCOMPARE(shown, installed);
    QCOMPARE(qAlpha(shown.pixel(0, 0)), 0);
}

void MainWindowTest::ClipboardTextIsReadAsWindows1252()
{
    CQtClipboard clipboard;
    QGuiApplication::clipboard()->setText(QString::fromUtf8("K\u00fcrbis 3 \u20ac \u2603"));
    QCOMPARE(clipboard.ReadText(IClipboard::kWhole).value(),
        std::string("K\xFC"
                    "rbis 3 \x80 ?"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Einkaufsliste") + QChar(0) + "Rest");
    QCOMPARE(clipboard.ReadText(IClipboard::kWhole).value(), std::string("Einkaufsliste"));
    QCOMPARE(clipboard.ReadText(5).value(), std::string("Einkau"));
    QGuiApplication::clipboard()->clear();
    QCOMPARE(clipboard.ReadText(IClipboard::kWhole).value(), std::string());
}

// The title bar's close stores the size; the Close button and Escape do not.
void MainWindowTest::OnlyTheCloseRequestStoresAnEnlargedSize()
{
    for (const std::string how : { "close", "Close button", "Escape" }) {
        Run run;
        QVERIFY(run.Show());
        const QSize larger = run.m_window->MinimumSize() + QSize(120, 80);
        run.m_window->resize(larger);
        if (how == "close")
            run.m_window->close();
        else if (how == "Escape")
            QTest::keyClick(run.m_window.get(), Qt::Key_Escape);
        else
            run.Button(2)->click();
        QVERIFY(!run.m_window->isVisible());
        QCOMPARE(run.Setting("WinSize"),
            how == "close" ? CControlAnchors::FormatSize({ larger.width(), larger.height() })
                           : std::string("<none>"));
    }
}

void MainWindowTest::FailedLoadClosesAtOnceWithoutStoringTheSize()
{
    TempDir dir;
    CFixedClock clock(FixedNow());
    CFakeUserInterface ui; // cancels the first-start language question
    CPresetClipboard clipboard;
    clipboard.m_strText = kExampleList;
    CQuotinoApp app(dir.file("quotino.ini"), clock);
    app.InitInstance();
    CQuotinoDlg window(app, &ui, &clipboard);
    QVERIFY(!window.IsInitialised());

    QTimer::singleShot(5000, &window, [&window] { window.done(42); });
    QCOMPARE(window.exec(), int(QDialog::Rejected));
    QCOMPARE(app.Profile().GetString("Settings", "WinSize", "<none>"), std::string("<none>"));
    QCOMPARE(window.Control<QPlainTextEdit>(1000)->toPlainText(), QString());
    QVERIFY(window.Behaviour().ListPaste().LastList().empty());
}

// The window's own user interface: a calculation before the window is on screen sets no
// cursor, one over the shown window the wait cursor, and none is left behind.
void MainWindowTest::WaitCursorShowsOnlyOverTheVisibleWindow()
{
    CWindowRun run;
    run.m_spy.reset();
    run.m_window.reset();
    run.m_window
        = std::make_unique<CQuotinoDlg>(*run.m_app, nullptr, &run.m_clipboard, &run.m_notifier);
    CQuotinoDlg& window = *run.m_window;
    std::vector<Qt::CursorShape> during;
    connect(&window, &CQuotinoDlg::Calculated, [&during] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        during.push_back(cursor ? cursor->shape() : Qt::BlankCursor);
    });
    window.Behaviour().OnCommand(IDC_CALCULATE);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Behaviour().OnCommand(IDC_CALCULATE);
    QCOMPARE(during, (std::vector<Qt::CursorShape> { Qt::BlankCursor, Qt::WaitCursor }));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QUOTINO_QT_TEST(MainWindowTest)
#include "MainWindowTest.moc"

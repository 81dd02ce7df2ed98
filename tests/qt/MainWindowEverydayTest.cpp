#include "QtTestRegistry.h"
#include "support/WindowRun.h"

#include "config/Settings.h"
#include "qt/FocusFrame.h"
#include "qt/HyperLink.h"
#include "qt/QtClipboard.h"
#include "qt/QtDialog.h"
#include "window/AboutDialog.h"
#include "window/ControlAnchors.h"
#include "window/ControlIds.h"
#include "window/DetailsChoice.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFocusFrame>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>

#include <xcb/xcb.h>

#include <fstream>

namespace {

QStringList Lines(const QString& text)
{
    return text.split(u'\n');
}

} // namespace

class MainWindowEverydayTest : public QObject {
    Q_OBJECT
private slots:
    void ForeignClipboardOwnersNeverHoldTheWindow();
    void EachLanguagesReportFitsTheWindow();
    void ActivationPastesAForeignListAsOneUndoStep();
    void CopiedReportIsNotPastedBackOnActivation();
    void LinkIsDrawnInThePalettesLinkColour();
    void ReadOnlyEditsShowAFocusFrame();
    void DropDownListsScrollAfterTwentyRows();
};

// The labels, the report and the menu with its keys in each language are the parity session's;
// here the report's last column stays in view at the template size with the pane hidden and
// shown.
void MainWindowEverydayTest::EachLanguagesReportFitsTheWindow()
{
    CWindowRun run("English", {}, kExampleList);
    QVERIFY(run.Show());
    auto* report = run.m_window->Control<QPlainTextEdit>(1001);
    for (const char* language : { "Deutsch", "Nederlands",
             "Fran\xE7"
             "ais" }) {
        run.m_ui.m_strLanguage = language;
        run.m_window->Command(IDM_LANGUAGE)->trigger();
        for (int shown = 0; shown < 2;
             ++shown, run.m_window->Control<QAbstractButton>(1014)->click()) {
            const QString last = Lines(run.Text(1001)).first().section('\t', -1);
            QVERIFY(report->document()->defaultTextOption().tabs().last().position
                    + report->fontMetrics().horizontalAdvance(last)
                < report->viewport()->width());
        }
    }
}

void MainWindowEverydayTest::ActivationPastesAForeignListAsOneUndoStep()
{
    CWindowRun run("Deutsch", {}, kExampleList);
    QVERIFY(run.Show());
    auto* input = run.m_window->Control<QPlainTextEdit>(1000);
    const QString list = input->toPlainText();
    // Which text is taken is the window's rule; here the desktop's activation brings a list
    // from elsewhere in, calculated once and undone in one step. (The explicit paste of the
    // program's own text is the parity session's.)
    run.m_clipboard.m_strText = "Einkaufsliste\n4 x Salat";
    QVERIFY(Reactivate(*run.m_window));
    QTRY_COMPARE(run.m_spy->count(), 1);
    QCOMPARE(input->toPlainText(), QStringLiteral("Einkaufsliste\n4 x Salat"));
    QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier); // the paste is one undo step
    QCOMPARE(input->toPlainText(), list);
}

// Other programs' copies on an X server: a list is priced, a huge text or a hung owner ignored.
void MainWindowEverydayTest::ForeignClipboardOwnersNeverHoldTheWindow()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server: ctest runs it as qt_ForeignClipboardOwners under Xvfb");
    CWindowRun run(
        "Deutsch", [](CIniFile& p) { p.WriteString("Settings", "WatchClipboard", "1"); }, {}, true);
    QWidget other;
    other.show();
    QVERIFY(run.Show() && Reactivate(other));
    const auto copyElsewhere = [&run](const std::string& text) {
        std::ofstream(run.m_dir.file("copy.txt"), std::ios::binary) << text;
        return QProcess::execute(QStringLiteral("xclip"),
            { "-selection", "clipboard", QString::fromStdString(run.m_dir.file("copy.txt")) });
    };
    QCOMPARE(copyElsewhere(kExampleList), 0);
    QTRY_COMPARE(run.m_notifier.m_shown.size(), std::size_t(1));
    QVERIFY(run.m_notifier.m_shown[0].find("25,00 wT: 90,0% Bauernhofpreis") != std::string::npos);

    qint64 longest = 0;
    QElapsedTimer sinceTick;
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
    sinceTick.start();
    ticks.start(5);
    QCOMPARE(copyElsewhere("Einkaufsliste\n2 x Karotte\n" + std::string(8 << 20, 'x')), 0);
    QTest::qWait(1000);
    // The owner takes the clipboard and never reads from its connection again.
    xcb_connection_t* hung = xcb_connect(nullptr, nullptr);
    const xcb_window_t owner = xcb_generate_id(hung);
    xcb_create_window(hung, 0, owner, xcb_setup_roots_iterator(xcb_get_setup(hung)).data->root, 0,
        0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, 0, 0, nullptr);
    auto* atom = xcb_intern_atom_reply(hung, xcb_intern_atom(hung, 0, 9, "CLIPBOARD"), nullptr);
    xcb_set_selection_owner(hung, owner, atom->atom, XCB_CURRENT_TIME);
    xcb_flush(hung);
    QTest::qWait(1000);
    QVERIFY(Reactivate(*run.m_window));
    QTest::qWait(500);
    QVERIFY2(longest < 200, qPrintable(QStringLiteral("%1 ms without events").arg(longest)));
    QCOMPARE(run.m_notifier.m_shown.size(), std::size_t(1));
    std::free(atom);
    xcb_disconnect(hung);
}

// End to end with the desktop's clipboard: copying the report and coming back keeps the list.
void MainWindowEverydayTest::CopiedReportIsNotPastedBackOnActivation()
{
    QGuiApplication::clipboard()->clear();
    CWindowRun run("Deutsch", {}, {}, true);
    QVERIFY(run.Show());
    auto* input = run.m_window->Control<QPlainTextEdit>(1000);
    input->setPlainText(ToQString(kExampleList));
    run.m_window->accept();
    auto* report = run.m_window->Control<QPlainTextEdit>(1001);
    report->setFocus();
    report->selectAll();
    report->copy();
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("Summe: 25,00 wT")));
    run.m_spy->clear();

    QVERIFY(Reactivate(*run.m_window));
    QTest::qWait(20);
    QCOMPARE(input->toPlainText(), ToQString(kExampleList));
    QCOMPARE(run.m_spy->count(), 0);

    // Where the desktop tells the owner, the one at the change decides: (n, then, now, own).
    std::optional<bool> owner;
    CQtClipboard desktop([&owner] { return owner; });
    const std::tuple<int, std::optional<bool>, std::optional<bool>, bool> cases[]
        = { { 1, false, false, false }, { 2, true, true, true }, { 3, true, false, true } };
    for (const auto& [count, atChange, now, own] : cases) {
        owner = atChange;
        QGuiApplication::clipboard()->setText(
            QStringLiteral("Einkaufsliste\n%1 x Salat").arg(count));
        owner = now;
        QCOMPARE(desktop.HoldsOwnText(), own);
    }

    // Text that arrives while none of the program's windows has the focus is the player's.
    run.m_spy.reset();
    CQtClipboard clipboard;
    QGuiApplication::clipboard()->setText(QStringLiteral("Einkaufsliste\n2 x Salat"));
    QVERIFY(clipboard.HoldsOwnText());
    run.m_window.reset();
    QTRY_VERIFY(QGuiApplication::focusWindow() == nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("Einkaufsliste\n3 x Salat"));
    QVERIFY(!clipboard.HoldsOwnText());
}

void MainWindowEverydayTest::LinkIsDrawnInThePalettesLinkColour()
{
    CHyperLink link;
    link.SetLinkText("Link");
    link.resize(80, 20);
    QPalette palette = link.palette();
    palette.setColor(QPalette::Link, QColor(0, 200, 0));
    link.setPalette(palette);
    const QImage image = link.grab().toImage();
    bool green = false, blue = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            green = green || image.pixelColor(x, y) == QColor(0, 200, 0);
            blue = blue || image.pixelColor(x, y) == QColor(0, 0, 255);
        }
    }
    QVERIFY(green);
    QVERIFY(!blue);
}

void MainWindowEverydayTest::ReadOnlyEditsShowAFocusFrame()
{
    CWindowRun run(
        "Deutsch", [](CIniFile& profile) { profile.WriteString("Settings", "PreisListe", "1"); });
    QVERIFY(run.Show());
    const auto frameShown = [&](int id) {
        auto* frame = run.m_window->Control(id)->findChild<CFocusFrame*>();
        return frame && frame->IsShown();
    };
    for (int id : { 1001, 1012 }) {
        run.m_window->Control(id)->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(frameShown(id));
        run.m_window->Control(1000)->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!frameShown(id));
    }
}

void MainWindowEverydayTest::DropDownListsScrollAfterTwentyRows()
{
    CWindowRun run("Deutsch", [](CIniFile& profile) {
        for (int n = 1; n <= 70; ++n)
            profile.WriteString("Preislisten", "Server " + std::to_string(n), "-");
    });
    QVERIFY(run.Show());
    auto* servers = run.m_window->Control<QComboBox>(1002);
    QVERIFY(servers->count() >= 70);
    CDetailsChoice detailsBehaviour(run.m_app->Texts(), run.m_app->Settings());
    CQtDialog details(detailsBehaviour);
    auto* levels = details.findChild<QComboBox*>();
    QVERIFY(levels && levels->count() == 45);
    details.show();
    QVERIFY(QTest::qWaitForWindowExposed(&details));
    for (QComboBox* box : { servers, levels }) {
        // The list view is built when the list first opens, not at every start.
        QVERIFY(!box->findChild<QAbstractItemView*>());
        QVERIFY(box->maxVisibleItems() <= 20);
        box->showPopup();
        QTRY_VERIFY(box->view()->isVisible());
        QVERIFY(box->view()->verticalScrollBar()->isVisible());
        QVERIFY(box->view()->height() <= 21 * box->view()->sizeHintForRow(0));
        box->hidePopup();
        QTRY_VERIFY(!box->view()->isVisible());
    }
}

QUOTINO_QT_TEST(MainWindowEverydayTest)
#include "MainWindowEverydayTest.moc"

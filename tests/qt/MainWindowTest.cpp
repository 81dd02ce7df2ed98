#include "QtTestRegistry.h"
#include "app/QuotinoApp.h"
#include "calc/ListPaste.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "qt/HyperLink.h"
#include "qt/InPlaceEdit.h"
#include "qt/PriceListEdit.h"
#include "qt/ProgramIcon.h"
#include "qt/QtClipboard.h"
#include "qt/QtText.h"
#include "qt/QtUserInterface.h"
#include "qt/QuotinoDlg.h"
#include "support/FakeUserInterface.h"
#include "support/FixedTime.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "support/WindowRun.h"
#include "window/ControlAnchors.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

namespace {

using ProfileEdit = CWindowRun::ProfileEdit;
using Run = CWindowRun;

// Replaces the shipped servers by the given "name=address" pairs.
ProfileEdit Servers(std::vector<std::pair<std::string, std::string>> servers, std::string selected)
{
    return [servers, selected](CIniFile& profile) {
        profile.WriteString("Preislisten", std::nullopt, std::nullopt);
        for (const auto& [name, address] : servers)
            profile.WriteString("Preislisten", name, address);
        profile.WriteString("Settings", "Server", selected);
    };
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void RelabelsInTheChosenLanguage_data();
    void RelabelsInTheChosenLanguage();
    void EmptyAboutTextGivesNoAboutCommand();
    void ReturnRecalculatesAndNeverCloses();
    void PastedListShowsTheReportAfterOneCalculation();
    void StartShowsTheClipboardListCalculatedOnce();
    void WaitCursorShowsOnlyOverAVisibleWindow();
    void WindowIconHasThePixelsOfTheInstalledIcon();
    void ActivationPastesEachNewListOnce();
    void ClipboardTextIsReadAsWindows1252();
    void DownloadOfAServerWithoutAddressShowsTheFailureStamp();
    void EscapeStopsDownloadAllAndTheNextEscapeCloses();
    void DownloadServersRefillsTheServerBox();
    void ServerBoxOffersSelectedServersAndPicksTheStoredOne();
    void StoredSizeIsRestoredWithinLimits();
    void OnlyTheCloseRequestStoresAnEnlargedSize();
    void ControlsFollowTheWindowSize();
    void HiddenPaneLeavesItsPlaceToTheEdits();
    void PriceEditCommitsThroughTheCalculator();
    void FarmPriceCapRecalculates();
    void FailedLoadClosesAtOnceWithoutStoringTheSize();
};

void MainWindowTest::RelabelsInTheChosenLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>(
        "labels"); // title, then 1010, 1003, 1, 1004, 1006, 1013, 2, 1020, 1016
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("about");
    QTest::newRow("German") << "Deutsch"
                            << QStringList { "Pirk Prozent",
                                   "Marktpreise von Server:", "Daten von: (noch nicht geladen)",
                                   "Berechnen", "Herunterladen", "Alle herunterladen",
                                   "Server herunterladen", QString::fromUtf8("Schließen"),
                                   "Gesperrt", "<= Herkunft" }
                            << "Neuigkeiten und Preislisten auf www.quotino.example"
                            << "https://www.quotino.example/neu/"
                            << QString::fromUtf8("Inf&o über Quotino...");
    // The English texts have no link line: it is hidden.
    QTest::newRow("English") << "English"
                             << QStringList { "Pirk Percent Calculator",
                                    "Market price from server:", "Data from: (not loaded yet)",
                                    "Calculate", "Download", "Download all", "Download servers",
                                    "Close", "Locked", "<= Origin" }
                             << ""
                             << ""
                             << "Ab&out Quotino...";
}

void MainWindowTest::RelabelsInTheChosenLanguage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, labels);
    QFETCH(QString, link);
    QFETCH(QString, url);
    QFETCH(QString, about);
    Run run(FromQString(language));
    CQuotinoDlg& window = *run.m_window;
    QVERIFY(window.IsInitialised());

    QStringList shown { window.windowTitle() };
    for (int id : { 1010, 1003, 1, 1004, 1006, 1013, 2, 1020, 1016 })
        shown << run.Text(id);
    QCOMPARE(shown, labels);
    QCOMPARE(window.Control(1031)->isVisibleTo(&window), !link.isEmpty());
    if (!link.isEmpty())
        QCOMPARE(run.Text(1031), link);
    QCOMPARE(window.Control<CHyperLink>(1031)->LinkUrl().toString(), url);
    QVERIFY(window.Control<QCheckBox>(1020)->isChecked());
    QVERIFY(!window.Control<QCheckBox>(1016)->isChecked());
    // About first, then the language, the import, paste and export of a price list and the
    // clipboard watch.
    QCOMPARE(window.actions().size(), 6);
    QCOMPARE(window.actions().first()->text(), about);
    QCOMPARE(window.actions().first()->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(window.actions().at(2)->text(),
        language == "Deutsch" ? QStringLiteral("Preisliste importieren...")
                              : QStringLiteral("Import price list..."));
    QCOMPARE(window.contextMenuPolicy(), Qt::CustomContextMenu);
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.Control<QComboBox>(1002)->currentText(), QStringLiteral("Server 1"));
}

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

void MainWindowTest::PastedListShowsTheReportAfterOneCalculation()
{
    Run run("Deutsch", {}, "");
    QVERIFY(run.Show());
    QCOMPARE(run.Text(1000), QString());

    run.m_clipboard.m_strText = "Kunde: " + kExampleList + "\nmehr Text";
    QVERIFY(Reactivate(*run.m_window));
    QTRY_COMPARE(run.m_spy->count(), 1);
    QTest::qWait(20);
    QCOMPARE(run.m_spy->count(), 1);

    QCOMPARE(run.Text(1000),
        AsShown("Einkaufsliste\r\n3 x Karotte\r\n2 x gelbe Teichrose\r\n"
                "Summe: 25,00 wT\r\nProdukte jetzt verkaufen?"));
    QCOMPARE(run.Text(1001),
        AsShown("\tArtikel\tHerkunft\tMarkt\tPIrk\tPunkte"
                "\r\n3\tKarotte\t0,06=0,18\t0,10=0,30\t0,05=0,15\t1"
                "\r\n2\tgelbe Teichrose\t13,80=27,60\t12,00=24,00\t11,42=22,83\t1"
                "\r\n\r\nSumme: 25,00 wT\t2 Punkte"
                "\r\n\r\n90,0% vom Bauernhofpreis (27,78 wT)"
                "\r\n102,9% vom Marktpreis (24,30 wT)"
                "\r\n114,3% vom Marktpreis minus 10% Geb\xFChr (21,87 wT)"));
    const QStringList pane = run.Text(1012).split(u'\n');
    QCOMPARE(pane.first(), QStringLiteral("\tHerkunft\tMarkt"));
    QVERIFY(pane.contains(QStringLiteral("Karotte\t0,06\t0,10")));
    QVERIFY(pane.contains(QStringLiteral("gelbe Teichrose\t13,80\t12,00")));
    QCOMPARE(run.Text(1003), QStringLiteral("Daten von: (noch nicht geladen)"));
    QCOMPARE(run.m_ui.m_nWaitDepth, 0);
    QVERIFY(run.m_ui.m_nMaxWaitDepth >= 1);
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

// The real user interface: the start calculates before the window is on screen, where a wait
// cursor would only cost time; and its cursors must pair up however the calls interleave.
void MainWindowTest::WaitCursorShowsOnlyOverAVisibleWindow()
{
    CTexts texts;
    QWidget window;
    CQtUserInterface ui(texts, &window);
    ui.BeginWaitCursor();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ui.BeginWaitCursor();
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.EndWaitCursor();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    ui.EndWaitCursor();

    // An end without a begin leaves a cursor that somebody else set.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    ui.EndWaitCursor();
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
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

void MainWindowTest::ActivationPastesEachNewListOnce()
{
    Run run("Deutsch", {}, kExampleList);
    // The list on the clipboard at start is pasted and calculated.
    QVERIFY(run.m_window->Control<QPlainTextEdit>(1000)->toPlainText().startsWith("Einkaufsliste"));
    QVERIFY(run.Show());

    auto* input = run.m_window->Control<QPlainTextEdit>(1000);
    input->setPlainText(QStringLiteral("2 x Salat"));
    for (int i = 0; i < 2; ++i) {
        QVERIFY(Reactivate(*run.m_window));
        QTest::qWait(10);
    }
    QCOMPARE(input->toPlainText(), QStringLiteral("2 x Salat"));
    QCOMPARE(run.m_spy->count(), 0);

    run.m_clipboard.m_strText = "Einkaufsliste\n1 x Karotte";
    QVERIFY(Reactivate(*run.m_window));
    QVERIFY(Reactivate(*run.m_window));
    QTRY_COMPARE(run.m_spy->count(), 1);
    QTest::qWait(10);
    QCOMPARE(run.m_spy->count(), 1);
    QCOMPARE(input->toPlainText(), QStringLiteral("Einkaufsliste\n1 x Karotte"));
    QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier); // the paste is one undo step
    QCOMPARE(input->toPlainText(), QStringLiteral("2 x Salat"));

    // A paste from the keyboard replaces the whole input, whatever is selected.
    run.m_clipboard.m_strText = "Einkaufsliste\n4 x Karotte";
    QGuiApplication::clipboard()->setText(QStringLiteral("anything"));
    input->selectAll();
    input->moveCursor(QTextCursor::Start);
    input->setFocus();
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE(run.m_spy->count(), 2);
    QCOMPARE(input->toPlainText(), QStringLiteral("Einkaufsliste\n4 x Karotte"));
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

void MainWindowTest::DownloadOfAServerWithoutAddressShowsTheFailureStamp()
{
    Run run("Deutsch", Servers({ { "Von Hand", "-" } }, "Von Hand"));
    QVERIFY(run.Show());
    run.Button(1004)->click();
    QVERIFY(run.WaitForCommand());
    QCOMPARE(run.m_spy->count(), 1);
    const QString label = run.Text(1003);
    QVERIFY2(label.startsWith("Daten von: ** 0x"), qPrintable(label));
    QVERIFY2(label != "Daten von: ** 0x00000000", qPrintable(label));
    QCOMPARE(run.m_ui.m_nWaitDepth, 0);
}

void MainWindowTest::EscapeStopsDownloadAllAndTheNextEscapeCloses()
{
    LoopbackServer server;
    std::atomic<int> requests[3] = { 0, 0, 0 };
    std::atomic<bool> stallFirst = false;
    server.Server().Get(
        R"(/(\d))", [&](const httplib::Request& request, httplib::Response& response) {
            const int index = std::stoi(request.matches[1]) - 1;
            ++requests[index];
            // The first list is still on its way when the user presses Escape.
            if (index == 0 && stallFirst)
                server.Stall();
            response.set_content("Karotte\t0,45\n", "text/plain");
        });
    server.Start();
    Run run("Deutsch", [&](CIniFile& profile) {
        Servers({ { "Server A", server.Url("/1") }, { "Server B", server.Url("/2") },
                    { "Server C", server.Url("/3") } },
            "Server A")(profile);
        profile.WriteString("Server B", "Selected", "0");
        profile.WriteString("Server C", "Aktualisiert", "1.1.26 10:00");
    });
    QVERIFY(run.Show());

    // Without Escape every offered server is fetched, and the window shows the new stamp.
    run.Button(1006)->click();
    QVERIFY(run.WaitForCommand());
    QCOMPARE((std::vector<int> { requests[0], requests[1], requests[2] }),
        (std::vector<int> { 1, 0, 1 }));
    QCOMPARE(run.Text(1003), QStringLiteral("Daten von: 6.12.26 09:05"));
    QCOMPARE(run.m_spy->count(), 1);

    stallFirst = true;
    run.m_app->Servers().SetServerValue("Server C", "Aktualisiert", "1.1.26 10:00");
    run.Button(1006)->click();
    QTRY_COMPARE(requests[2].load(), 2);
    QElapsedTimer escape;
    escape.start();
    QTest::keyClick(run.m_window.get(), Qt::Key_Escape);
    QVERIFY(!run.m_window->Behaviour().IsBusy());
    QVERIFY2(escape.elapsed() < 200, qPrintable(QString::number(escape.elapsed())));
    QTest::qWait(20);
    QVERIFY(run.m_window->isVisible());
    QCOMPARE(run.m_spy->count(), 2);

    QTest::keyClick(run.m_window.get(), Qt::Key_Escape);
    QVERIFY(!run.m_window->isVisible());
}

void MainWindowTest::DownloadServersRefillsTheServerBox()
{
    LoopbackServer server;
    server.Server().Get("/list", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content("Server\tAdresse\nNeuer Server\t-\t\n", "text/plain");
    });
    server.Start();
    Run run("Deutsch", [&](CIniFile& profile) {
        Servers({ { "Server 1", "-" } }, "Server 1")(profile);
        profile.WriteString("Settings", "ServerList", server.Url("/list"));
    });
    QVERIFY(run.Show());
    run.Button(1013)->click();
    QVERIFY(run.WaitForCommand());
    auto* box = run.m_window->Control<QComboBox>(1002);
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(1), QStringLiteral("Neuer Server"));
    QCOMPARE(box->currentText(), QStringLiteral("Server 1"));
    QCOMPARE(run.m_spy->count(), 1);
    QCOMPARE(run.m_ui.m_nWaitDepth, 0);
}

void MainWindowTest::ServerBoxOffersSelectedServersAndPicksTheStoredOne()
{
    struct Case {
        std::string stored;
        QString current;
        std::string storedAfter;
    };
    for (const Case& c : { Case { "Server C", "Server C", "Server C" }, Case { "Server B", "", "" },
             Case { "server c", "", "" }, Case { "", "Server A", "Server A" } }) {
        Run run("Deutsch", [&](CIniFile& profile) {
            Servers({ { "Server A", "-" }, { "Server B", "-" }, { "Server C", "-" } }, c.stored)(
                profile);
            profile.WriteString("Server A", "Selected", "1");
            profile.WriteString("Server B", "Selected", "0"); // Server C has no Selected key
        });
        auto* box = run.m_window->Control<QComboBox>(1002);
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), QStringLiteral("Server A"));
        QCOMPARE(box->itemText(1), QStringLiteral("Server C"));
        QCOMPARE(box->currentText(), c.current);
        QCOMPARE(run.Setting("Server"), c.storedAfter);
    }
}

void MainWindowTest::StoredSizeIsRestoredWithinLimits()
{
    QSize minimum;
    QPoint closeCorner; // from the Close button to the window's bottom right corner
    {
        Run run;
        minimum = run.m_window->MinimumSize();
        QCOMPARE(run.m_window->size(), minimum);
        closeCorner = QPoint(minimum.width(), minimum.height()) - run.Rect(2).topLeft();
    }
    const int w = minimum.width(), h = minimum.height();
    const std::pair<std::string, QSize> cases[] = {
        { "3000,100", QSize(2000, h) },
        { "2000,2000", QSize(2000, 2000) },
        { "", minimum },
        { "breit", minimum },
        { "-5,-5", minimum },
        { std::to_string(w + 50), QSize(w + 50, h) },
        { std::to_string(w + 50) + ";" + std::to_string(h + 40), QSize(w + 50, h) },
        { std::to_string(w + 50) + "," + std::to_string(h + 40), QSize(w + 50, h + 40) },
    };
    for (const auto& [stored, expected] : cases) {
        Run run("Deutsch",
            [&](CIniFile& profile) { profile.WriteString("Settings", "WinSize", stored); });
        QCOMPARE(run.m_window->size(), expected);
        // The layout follows the restored size before the window is shown.
        QCOMPARE(QPoint(expected.width(), expected.height()) - run.Rect(2).topLeft(), closeCorner);
    }
}

void MainWindowTest::OnlyTheCloseRequestStoresAnEnlargedSize()
{
    const auto enlarge = [](Run& run) {
        const QSize larger = run.m_window->MinimumSize() + QSize(120, 80);
        run.m_window->resize(larger);
        return larger;
    };
    {
        Run run;
        QVERIFY(run.Show());
        const QSize larger = enlarge(run);
        run.m_window->close();
        QVERIFY(!run.m_window->isVisible());
        QCOMPARE(run.Setting("WinSize"),
            CControlAnchors::FormatSize({ larger.width(), larger.height() }));
        // The next start opens at the size the window was closed at.
        QVERIFY(run.m_app->SaveProfile());
        run.Open();
        QCOMPARE(run.m_window->size(), larger);
    }
    for (const bool escape : { false, true }) {
        Run run;
        QVERIFY(run.Show());
        enlarge(run);
        if (escape)
            QTest::keyClick(run.m_window.get(), Qt::Key_Escape);
        else
            run.Button(2)->click();
        QVERIFY(!run.m_window->isVisible());
        QCOMPARE(run.Setting("WinSize"), std::string("<none>"));
    }
    {
        Run run("Deutsch",
            [](CIniFile& profile) { profile.WriteString("Settings", "WinSize", "1500,900"); });
        QVERIFY(run.Show());
        run.m_window->resize(run.m_window->MinimumSize());
        run.m_window->close();
        QCOMPARE(run.Setting("WinSize"), std::string("1500,900"));
    }
}

void MainWindowTest::ControlsFollowTheWindowSize()
{
    Run run(
        "Deutsch", [](CIniFile& profile) { profile.WriteString("Settings", "PreisListe", "1"); });
    QVERIFY(run.Show());
    const int dx = 130, dy = 70;
    struct Case {
        int id;
        int left, top, width, height; // change of each for a window grown by dx, dy
    };
    const Case cases[] = {
        { 1003, dx, 0, 0, 0 },
        { 1011, dx, 0, 0, 0 },
        { 1000, 0, 0, 0, 0 },
        { 1001, 0, 0, 0, dy },
        { 1012, 0, 0, dx, dy },
        { 1, 0, dy, 0, 0 },
        { 1004, 0, dy, 0, 0 },
        { 1006, 0, dy, 0, 0 },
        { 1013, 0, dy, 0, 0 },
        { 1020, dx, dy, 0, 0 },
        { 1030, dx, dy, 0, 0 },
        { 1014, dx, dy, 0, 0 },
        { 2, dx, dy, 0, 0 },
        { 1010, 0, 0, 0, 0 },
        { 1002, 0, 0, 0, 0 },
        { 1018, 0, 0, 0, 0 },
        { 1016, 0, 0, 0, 0 },
        { 1031, 0, 0, 0, 0 },
    };
    std::map<int, QRect> before;
    for (const Case& c : cases)
        before[c.id] = run.Rect(c.id);
    run.m_window->resize(run.m_window->MinimumSize() + QSize(dx, dy));
    for (const Case& c : cases) {
        const QRect expected
            = before[c.id].translated(c.left, c.top).adjusted(0, 0, c.width, c.height);
        QVERIFY2(run.Rect(c.id) == expected, qPrintable(QString::number(c.id)));
    }
    run.m_window->resize(run.m_window->MinimumSize());
    for (const Case& c : cases)
        QVERIFY2(run.Rect(c.id) == before[c.id], qPrintable(QString::number(c.id)));
}

void MainWindowTest::HiddenPaneLeavesItsPlaceToTheEdits()
{
    Run run(
        "Deutsch", [](CIniFile& profile) { profile.WriteString("Settings", "PreisListe", "1"); });
    QVERIFY(run.Show());
    const QRect input = run.Rect(1000), report = run.Rect(1001), pane = run.Rect(1012);
    run.m_window->resize(run.m_window->MinimumSize() + QSize(100, 0));

    run.Button(1014)->click();
    QVERIFY(!run.m_window->Control(1012)->isVisible());
    QVERIFY(!run.m_window->Control(1030)->isVisible());
    QCOMPARE(run.Rect(1000), QRect(input.topLeft(), QPoint(pane.right() + 100, input.bottom())));
    QCOMPARE(run.Rect(1001), QRect(report.topLeft(), QPoint(pane.right() + 100, report.bottom())));
    QCOMPARE(run.Setting("PreisListe"), std::string("0"));
    run.m_window->resize(run.m_window->MinimumSize() + QSize(150, 0));
    QCOMPARE(run.Rect(1000).right(), pane.right() + 150);

    run.Button(1014)->click();
    QVERIFY(run.m_window->Control(1012)->isVisible());
    QVERIFY(run.m_window->Control(1030)->isVisible());
    QCOMPARE(run.Rect(1000), input);
    QCOMPARE(run.Rect(1001), report);
    QCOMPARE(run.Rect(1012), pane.adjusted(0, 0, 150, 0));
    QCOMPARE(run.Setting("PreisListe"), std::string("1"));
}

void MainWindowTest::PriceEditCommitsThroughTheCalculator()
{
    Run run(
        "Deutsch", [](CIniFile& profile) { profile.WriteString("Settings", "PreisListe", "1"); },
        kExampleList);
    QVERIFY(run.Show());
    auto* pane = run.m_window->Control<CPriceListEdit>(1012);
    QTextBlock block = pane->document()->begin();
    while (block.isValid() && !block.text().startsWith(QStringLiteral("Karotte\t")))
        block = block.next();
    QVERIFY(block.isValid());
    const int valueStart = block.position() + int(block.text().lastIndexOf(u'\t')) + 1;
    const auto doubleClickOnPrice = [&] {
        QTextCursor cursor(pane->document());
        cursor.setPosition(valueStart);
        pane->setTextCursor(cursor);
        pane->ensureCursorVisible();
        QTest::mouseDClick(
            pane->viewport(), Qt::LeftButton, {}, pane->cursorRect(cursor).center() + QPoint(2, 0));
        return QPointer<CInPlaceEdit>(pane->findChild<CInPlaceEdit*>());
    };

    QVERIFY(doubleClickOnPrice().isNull()); // locked
    run.m_window->Control<QCheckBox>(1020)->setChecked(false);

    QPointer<CInPlaceEdit> edit = doubleClickOnPrice();
    QVERIFY(edit);
    QCOMPARE(edit->text(), QStringLiteral("0,10"));
    QTRY_VERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral(" 0,25 "));
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(edit.isNull());
    QCOMPARE(run.m_app->Servers().GetServerValue("Server 1", "Karotte", ""), std::string("0,25"));
    QCOMPARE(run.m_app->Profile().GetString("Server 1", "Karotte"), std::string("0,25"));
    QCOMPARE(run.m_spy->count(), 1);
    QVERIFY(run.Text(1001).contains(QStringLiteral("\n3\tKarotte\t0,06=0,18\t0,25=0,75\t")));
    QVERIFY(run.Text(1012).contains(QStringLiteral("\nKarotte\t0,06\t0,25\n")));

    edit = doubleClickOnPrice();
    QVERIFY(edit);
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("9"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_VERIFY(edit.isNull());
    QVERIFY(run.m_window->isVisible());
    QCOMPARE(run.m_app->Servers().GetServerValue("Server 1", "Karotte", ""), std::string("0,25"));
    QCOMPARE(run.m_spy->count(), 1);
}

void MainWindowTest::FarmPriceCapRecalculates()
{
    Run run("Deutsch", {}, kExampleList);
    QVERIFY(run.Show());
    auto* cap = run.m_window->Control<QCheckBox>(1016);
    cap->click();
    QCOMPARE(run.Setting("MaxFarm"), std::string("1"));
    QVERIFY(run.Text(1001).contains(QStringLiteral("\n3\tKarotte\t0,06=0,18\t0,06=0,18\t")));
    cap->click();
    QCOMPARE(run.Setting("MaxFarm"), std::string("0"));
    QVERIFY(run.Text(1001).contains(QStringLiteral("\n3\tKarotte\t0,06=0,18\t0,10=0,30\t")));
    QCOMPARE(run.m_spy->count(), 2);
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

QUOTINO_QT_TEST(MainWindowTest)
#include "MainWindowTest.moc"

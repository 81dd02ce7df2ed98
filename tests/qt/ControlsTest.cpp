#include "QtTestRegistry.h"
#include "qt/DialogBuilder.h"
#include "qt/HyperLink.h"
#include "qt/InPlaceEdit.h"
#include "qt/PasteEdit.h"
#include "qt/PriceListEdit.h"

#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include <memory>

namespace {

struct Committed {
    std::string name;
    std::string text;
    bool operator==(const Committed&) const = default;
};

char* toString(const Committed& c);

void SendMove(QWidget* widget, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void LinkShowsTheHandFromTheSecondMoveOverItsText();
    void LinkOpensOnlyOnItsText();
    void EveryPasteRunsTheHandlerOnceAndReplacesTheWholeText();
    void WithoutHandlerPasteInsertsAsUsual();
    void DoubleClickOnAPriceReportsNameValueAndRectangle();
    void TheLastValueOfTheTextIsCovered();
    void InPlaceEditOpensOverTheValue();
    void EditorCommitsOnceByReturnOrClickNeverByEscape();

private:
    // A pane in a dialog with a default button, shown and active.
    struct PaneWindow {
        QDialog dialog;
        CPriceListEdit* pane = nullptr;
        QPushButton* ok = nullptr;
        QLineEdit* other = nullptr;
        int okClicks = 0;
    };
    std::unique_ptr<PaneWindow> MakePane(const QString& text);
    static QPoint PointAt(CPriceListEdit* pane, int position);
    // The price line of the pane's first plant, found where its value is.
    static bool FirstPlantLine(CPriceListEdit* pane, NMPRICELINE& line);
};

void ControlsTest::LinkShowsTheHandFromTheSecondMoveOverItsText()
{
    QWidget window;
    window.setFont(QFont(QStringLiteral("Sans Serif"), 8));
    auto* link = new CHyperLink(&window);
    link->setGeometry(10, 10, 300, 20);
    link->SetLinkText("Quotino");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    SendMove(link, QPoint(3, 3));
    QCOMPARE(link->cursor().shape(), Qt::ArrowCursor);
    SendMove(link, QPoint(4, 3));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    SendMove(link, QPoint(250, 3)); // right of the text, still on the control
    QCOMPARE(link->cursor().shape(), Qt::ArrowCursor);
    SendMove(link, QPoint(5, 4));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    QCOMPARE(link->cursor().shape(), Qt::ArrowCursor);
    SendMove(link, QPoint(3, 3)); // back in: the first move only starts watching again
    QCOMPARE(link->cursor().shape(), Qt::ArrowCursor);
}

void ControlsTest::LinkOpensOnlyOnItsText()
{
    QWidget window;
    window.setFont(QFont(QStringLiteral("Sans Serif"), 8));
    auto* link = new CHyperLink(&window);
    link->setGeometry(10, 10, 300, 20);
    link->SetLinkText("Quotino im Netz");
    link->SetLinkUrl("https://quotino.example.org/hilfe");
    QList<QUrl> opened;
    link->SetUrlOpener([&](const QUrl& url) { opened << url; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QFont underlined = link->font();
    underlined.setUnderline(true);
    const int textWidth = QFontMetrics(underlined).horizontalAdvance(link->text());
    QVERIFY(textWidth < 200);

    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(textWidth + 20, 5));
    QTest::mouseClick(link, Qt::RightButton, {}, QPoint(2, 5));
    QCOMPARE(opened, QList<QUrl>());
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(textWidth - 2, 5));
    QCOMPARE(opened, QList<QUrl> { QUrl(QStringLiteral("https://quotino.example.org/hilfe")) });
    QVERIFY(!link->HitTest(QPoint(2, QFontMetrics(underlined).height())));
}

void ControlsTest::EveryPasteRunsTheHandlerOnceAndReplacesTheWholeText()
{
    CPasteEdit edit;
    edit.setPlainText(QStringLiteral("alte Liste\nzweite Zeile"));
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(3);
    cursor.setPosition(8, QTextCursor::KeepAnchor); // a selection in the middle
    edit.setTextCursor(cursor);
    QGuiApplication::clipboard()->setText(QStringLiteral("3 Karotten"));

    int calls = 0;
    edit.SetPasteHandler([&] {
        ++calls;
        edit.setPlainText(QStringLiteral("Liste: ") + QGuiApplication::clipboard()->text());
    });

    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(calls, 1);
    QCOMPARE(edit.toPlainText(), QStringLiteral("Liste: 3 Karotten"));

    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(calls, 2);

    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    QVERIFY(paste);
    QVERIFY(paste->isEnabled());
    paste->trigger();
    QCOMPARE(calls, 3);
    QCOMPARE(edit.toPlainText(), QStringLiteral("Liste: 3 Karotten"));
}

void ControlsTest::WithoutHandlerPasteInsertsAsUsual()
{
    CPasteEdit edit;
    edit.setPlainText(QStringLiteral("ab"));
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(1);
    edit.setTextCursor(cursor);
    QGuiApplication::clipboard()->setText(QStringLiteral("X"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.toPlainText(), QStringLiteral("aXb"));
}

std::unique_ptr<ControlsTest::PaneWindow> ControlsTest::MakePane(const QString& text)
{
    auto window = std::make_unique<PaneWindow>();
    window->dialog.setFont(QFont(QStringLiteral("Sans Serif"), 8));
    window->pane = new CPriceListEdit(&window->dialog);
    CDialogBuilder::SetControlId(*window->pane, 1012);
    window->pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    window->pane->setGeometry(5, 5, 300, 200);
    window->pane->setPlainText(text);
    window->other = new QLineEdit(&window->dialog);
    window->other->setGeometry(5, 210, 100, 20);
    window->ok = new QPushButton(QStringLiteral("OK"), &window->dialog);
    window->ok->setGeometry(110, 210, 50, 20);
    window->ok->setDefault(true);
    PaneWindow* raw = window.get();
    connect(window->ok, &QPushButton::clicked, [raw] { ++raw->okClicks; });
    window->dialog.resize(320, 240);
    window->dialog.show();
    window->dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&window->dialog))
        return nullptr;
    return window;
}

QPoint ControlsTest::PointAt(CPriceListEdit* pane, int position)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(position);
    return pane->cursorRect(cursor).center() + QPoint(2, 0);
}

bool ControlsTest::FirstPlantLine(CPriceListEdit* pane, NMPRICELINE& line)
{
    return pane->FindPriceLine(
        PointAt(pane, pane->document()->findBlockByNumber(1).position() + 12), line);
}

const QString kPane = QStringLiteral(
    "\tHof\tMarkt\nApfel\t1,50\t2,25\nkeine Tabs hier\nNur\teiner\nBirne\t3,00\t4,75");

void ControlsTest::DoubleClickOnAPriceReportsNameValueAndRectangle()
{
    auto window = MakePane(kPane);
    QVERIFY(window);
    CPriceListEdit* pane = window->pane;
    QSignalSpy spy(pane, &CPriceListEdit::EditPrice);

    const int lineStart = pane->document()->findBlockByNumber(1).position();
    const int valueStart = lineStart + 11; // "Apfel\t1,50\t"
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, PointAt(pane, valueStart + 1));
    QCOMPARE(spy.count(), 1);
    const NMPRICELINE line = spy.at(0).at(0).value<NMPRICELINE>();
    QCOMPARE(line.pWindow, pane);
    QCOMPARE(line.nId, 1012);
    QCOMPARE(line.nCode, PLN_EDITPRICE);
    QCOMPARE(line.nLine, 1);
    QCOMPARE(line.nValueStart, valueStart);
    QCOMPARE(line.strName, std::string("Apfel"));
    QCOMPARE(line.font, pane->font());

    QTextCursor cursor(pane->document());
    cursor.setPosition(valueStart);
    const QRect first = pane->cursorRect(cursor);
    cursor.setPosition(valueStart + 4);
    const int endX = pane->cursorRect(cursor).left();
    // From 2 pixels left of the value to 12 pixels right of its end, 2 pixels above it.
    QCOMPARE(line.rect.left(), first.left() - 2);
    QCOMPARE(line.rect.top(), first.top() - 2);
    QCOMPARE(line.rect.right() + 1, endX + 12);
    QCOMPARE(line.rect.height(), QFontInfo(pane->font()).pixelSize() + 4);
}

void ControlsTest::TheLastValueOfTheTextIsCovered()
{
    auto window = MakePane(kPane);
    QVERIFY(window);
    CPriceListEdit* pane = window->pane;
    QSignalSpy spy(pane, &CPriceListEdit::EditPrice);
    const int end = static_cast<int>(kPane.size());
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, PointAt(pane, end - 2));
    QCOMPARE(spy.count(), 1);
    const NMPRICELINE line = spy.at(0).at(0).value<NMPRICELINE>();
    QCOMPARE(line.strValue, std::string("4,75"));

    QTextCursor cursor(pane->document());
    cursor.setPosition(end - 4);
    const QRect first = pane->cursorRect(cursor);
    const int valueWidth = QFontMetrics(pane->font()).horizontalAdvance(QStringLiteral("4,75"));
    QVERIFY(line.rect.contains(QPoint(first.left(), first.top())));
    QVERIFY(line.rect.contains(QPoint(first.left() + valueWidth, first.top())));
}

void ControlsTest::InPlaceEditOpensOverTheValue()
{
    auto window = MakePane(kPane);
    QVERIFY(window);
    NMPRICELINE line;
    QVERIFY(FirstPlantLine(window->pane, line));

    int commits = 0;
    QPointer<CInPlaceEdit> edit = CInPlaceEdit::Create(
        line, false, [&](const std::string&, const std::string&) { ++commits; });
    QVERIFY(edit);
    QCOMPARE(edit->parentWidget(), window->pane->viewport());
    QCOMPARE(edit->geometry(), line.rect.adjusted(-1, -1, 1, 1));
    QCOMPARE(edit->text(), QStringLiteral("2,25"));
    QCOMPARE(edit->hasSelectedText(), false);
    QCOMPARE(edit->font(), window->pane->font());
    QCOMPARE(CDialogBuilder::ControlId(edit), CInPlaceEdit::kControlId);
    QTRY_VERIFY(edit->hasFocus());
    delete edit.data(); // deleting an open box, e.g. with its window, commits nothing
    QCOMPARE(commits, 0);

    QPointer<CInPlaceEdit> selected = CInPlaceEdit::Create(line, true, {});
    QCOMPARE(selected->selectedText(), QStringLiteral("2,25"));
}

// Return and a click elsewhere commit the typed price once, trimmed, and never reach the
// dialog; the focus going to the editor's context menu commits nothing; Escape never commits.
void ControlsTest::EditorCommitsOnceByReturnOrClickNeverByEscape()
{
    const struct {
        const char* how;
        QList<Committed> commits;
    } cases[] = { { "Return", { { "Apfel", "3,10" } } }, { "click", { { "Apfel", "3,10" } } },
        { "Escape", {} } };
    for (const auto& c : cases) {
        auto window = MakePane(kPane);
        QVERIFY(window);
        NMPRICELINE line;
        QVERIFY(FirstPlantLine(window->pane, line));
        QList<Committed> commits;
        QPointer<CInPlaceEdit> edit = CInPlaceEdit::Create(
            line, false, [&](const std::string& name, const std::string& text) {
                commits.append({ name, text });
            });
        QTRY_VERIFY(edit->hasFocus());
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("  3,10 "));
        if (c.how == std::string("click")) {
            QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
            QApplication::sendEvent(edit, &toMenu);
            QVERIFY(commits.isEmpty() && edit->isVisible());
            QTest::mouseClick(window->other, Qt::LeftButton);
        } else {
            QTest::keyClick(edit, c.how == std::string("Return") ? Qt::Key_Return : Qt::Key_Escape);
        }
        QTRY_VERIFY(edit.isNull());
        window->other->setFocus();
        QCOMPARE(commits, c.commits);
        QCOMPARE(window->okClicks, 0);
        QVERIFY(window->dialog.isVisible());
    }
}

namespace {
char* toString(const Committed& c)
{
    return QTest::toString(QString::fromStdString(c.name + " = " + c.text));
}
} // namespace

QUOTINO_QT_TEST(ControlsTest)
#include "ControlsTest.moc"

#include "ModalAnswer.h"
#include "QtTestRegistry.h"
#include "parity/ParityFace.h"
#include "parity/ParitySession.h"
#include "qt/DialogBuilder.h"
#include "qt/QuotinoDlg.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// The Qt main window driven through QtTest's input and read through its widgets.
class CQtParityFace : public IParityFace {
public:
    explicit CQtParityFace(CQuotinoApp& app)
        : m_window(app)
    {
    }

    bool Show()
    {
        m_window.show();
        m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }

    void Click(int id) override
    {
        Control<QAbstractButton>(id)->click();
        Settle();
    }
    void ClickItem(int id, int index) override
    {
        auto* list = Control<QListWidget>(id);
        list->scrollToItem(list->item(index));
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
        Settle();
    }
    void PressKey(int id, EKey key) override
    {
        static const QKeyCombination keys[] = { Qt::Key_Escape, Qt::Key_Up, Qt::Key_Down,
            Qt::Key_Return, Qt::CTRL | Qt::Key_V, Qt::CTRL | Qt::SHIFT | Qt::Key_V };
        const QKeyCombination pressed = keys[static_cast<int>(key)];
        // Keys go to the active window, which a desktop makes of the window on top again once
        // a dialog over it has closed; the offscreen platform leaves none active.
        Top()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Top()));
        Control(id)->setFocus();
        QTest::keyClick(Control(id), pressed.key(), pressed.keyboardModifiers());
        Settle();
    }
    void DoubleClickAfter(int id, const std::string& utf8) override
    {
        auto* edit = Control<QPlainTextEdit>(id);
        QTextCursor cursor(edit->document());
        cursor.setPosition(int(edit->toPlainText().indexOf(QString::fromStdString(utf8))
            + QString::fromStdString(utf8).size()));
        edit->setTextCursor(cursor);
        edit->ensureCursorVisible();
        QTest::mouseDClick(
            edit->viewport(), Qt::LeftButton, {}, edit->cursorRect(cursor).center() + QPoint(2, 0));
        Settle();
    }
    void Copy(const std::string& utf8) override
    {
        QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
    }
    void Type(int id, const std::string& utf8) override
    {
        auto* edit = Control<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromStdString(utf8));
        Settle();
    }
    void AnswerFileDialog(const std::string& utf8Path) override
    {
        auto* dialog = qobject_cast<QFileDialog*>(Top());
        QVERIFY(dialog);
        dialog->selectFile(QString::fromStdString(utf8Path));
        static_cast<QDialog*>(dialog)->accept(); // as its Save button does
    }
    void ChooseCommand(int command) override
    {
        m_window.Command(command)->trigger();
        Settle();
    }
    void WithDialog(
        const std::function<void()>& open, const std::function<void()>& whileShown) override
    {
        AnswerNextModal([&whileShown](QDialog&) { whileShown(); });
        open();
    }
    bool RunUntil(const std::function<bool()>& done) override
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 10000)
            QTest::qWait(5);
        return done();
    }
    CMainWindow& Behaviour() override { return m_window.Behaviour(); }

    bool IsOpen() override { return m_window.isVisible(); }
    std::string Title() override { return Top()->windowTitle().toStdString(); }
    SControlSeen Read(int id) override;
    SControlSeen ReadCommand(int command) override
    {
        const QAction* action = m_window.Command(command);
        SControlSeen seen;
        // The menu shows the shortcut beside the text.
        seen.text = action->text().toStdString()
            + (action->shortcut().isEmpty()
                    ? ""
                    : "\t" + action->shortcut().toString(QKeySequence::PortableText).toStdString());
        seen.shown = action->isVisible();
        seen.enabled = action->isEnabled();
        seen.checked = action->isChecked();
        return seen;
    }
    std::vector<int> TabOrder() override;

private:
    QWidget* Top()
    {
        return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &m_window;
    }
    QWidget* Control(int id)
    {
        for (QWidget* control : Top()->findChildren<QWidget*>()) {
            if (CDialogBuilder::ControlId(control) == id)
                return control;
        }
        return nullptr;
    }
    template <class T> T* Control(int id) { return qobject_cast<T*>(Control(id)); }
    // Commands that the window posts to itself run before the next step, and what they
    // deleted later is gone, as after a turn of the window's event loop.
    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CQuotinoDlg m_window;
};

SControlSeen CQtParityFace::Read(int id)
{
    SControlSeen seen;
    QWidget* control = Control(id);
    if (!control)
        return seen;
    seen.tip = control->toolTip().toStdString();
    seen.shown = control->isVisible();
    seen.enabled = control->isEnabled();
    if (auto* label = qobject_cast<QLabel*>(control)) {
        seen.text = label->text().toStdString();
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        seen.text = button->text().toStdString();
        seen.checked = button->isChecked();
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        seen.text = edit->toPlainText().toStdString();
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        seen.text = line->text().toStdString();
        const int from = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        seen.selected = { from, from + int(line->selectedText().size()) };
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        seen.text = combo->currentText().toStdString();
        seen.current = combo->currentIndex();
        for (int row = 0; row < combo->count(); ++row)
            seen.items.push_back(combo->itemText(row).toStdString());
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        for (int row = 0; row < list->count(); ++row) {
            seen.items.push_back(list->item(row)->text().toStdString());
            if (list->item(row)->isSelected())
                seen.selected.push_back(row);
        }
    }
    return seen;
}

// The focus chain as Tab follows it: shown and enabled controls that take the focus by Tab.
std::vector<int> CQtParityFace::TabOrder()
{
    std::vector<int> order;
    QWidget* top = Top();
    for (QWidget* each = top->nextInFocusChain(); each != top; each = each->nextInFocusChain()) {
        const int id = CDialogBuilder::ControlId(each);
        if (id != -1 && each->window() == top && each->isVisible() && each->isEnabled()
            && (each->focusPolicy() & Qt::TabFocus))
            order.push_back(id);
    }
    return order;
}

} // namespace

class ParityTest : public QObject {
    Q_OBJECT
private slots:
    // The scripted session through the Qt window shows the record that both faces must show.
    void SessionShowsTheExpectedRecord()
    {
        QGuiApplication::clipboard()->clear();
        CParitySession session;
        CQtParityFace face(session.App());
        QVERIFY(face.Show());
        session.Run(face);
        std::string differences;
        for (const std::string& difference : session.Compare("qt"))
            differences += "\n" + difference;
        QVERIFY2(differences.empty(), differences.c_str());
    }
};

QUOTINO_QT_TEST(ParityTest)
#include "ParityTest.moc"

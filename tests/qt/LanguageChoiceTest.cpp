#include "window/LanguageChoice.h"
#include "QtTestRegistry.h"
#include "config/Texts.h"
#include "qt/ModalAnswer.h"
#include "qt/QtDialog.h"
#include "qt/QtText.h"
#include "qt/QtUserInterface.h"
#include "window/ControlIds.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

const std::vector<std::string> kDefaultLanguages { "Deutsch", "English", "Nederlands",
    "Fran\xE7"
    "ais" };

QStringList Entries(const QListWidget* list)
{
    QStringList entries;
    for (int row = 0; row < list->count(); ++row)
        entries << list->item(row)->text();
    return entries;
}

QListWidget* ListOf(QDialog& dialog)
{
    return dialog.findChild<QListWidget*>();
}

QPushButton* Button(QDialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class LanguageChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void ListIsSortedWithTheFirstNamePreselected();
    void DoubleClickAcceptsTheClickedName();
    void UserInterfaceRunsTheLanguageDialog();
    void UserInterfaceShowsTheUpdateNoticeWithAnArrowUnderTheWaitCursor();
};

void LanguageChoiceTest::ListIsSortedWithTheFirstNamePreselected()
{
    CLanguageChoice three({ "Nederlands", "Deutsch", "English" }, {});
    CQtDialog dialog(three);
    QListWidget* list = ListOf(dialog);
    QCOMPARE(Entries(list), (QStringList { "Deutsch", "English", "Nederlands" }));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Nederlands"));
    QCOMPARE(list->selectedItems().size(), 1);
}

void LanguageChoiceTest::DoubleClickAcceptsTheClickedName()
{
    CLanguageChoice choice(kDefaultLanguages, {});
    CQtDialog dialog(choice);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QListWidget* list = ListOf(dialog);
    const QRect english = list->visualItemRect(
        list->findItems(QStringLiteral("English"), Qt::MatchExactly).first());
    // A real double click: press and release, then the second press as a double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, english.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, english.center());
    QCOMPARE(finished.count(), 0); // the OK is posted, not run inside the click
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(choice.Chosen(), std::string("English"));

    // A name outside ASCII comes back as Windows-1252.
    CLanguageChoice frenchChoice(kDefaultLanguages, {});
    CQtDialog french(frenchChoice);
    ListOf(french)->setCurrentRow(2);
    QTest::mouseClick(Button(french, QStringLiteral("OK")), Qt::LeftButton);
    QCOMPARE(frenchChoice.Chosen(),
        std::string("Fran\xE7"
                    "ais"));
}

void LanguageChoiceTest::UserInterfaceRunsTheLanguageDialog()
{
    CTexts texts;
    CQtUserInterface ui(texts, nullptr);
    std::string chosen = "unchanged";

    AnswerNextModal([](QDialog& dialog) {
        ListOf(dialog)->setCurrentRow(3);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    QVERIFY(ui.ChooseLanguage(kDefaultLanguages, chosen));
    QCOMPARE(chosen, std::string("Nederlands"));

    AnswerNextModal([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    chosen = "unchanged";
    QVERIFY(!ui.ChooseLanguage(kDefaultLanguages, chosen));
    QCOMPARE(chosen, std::string("unchanged"));
}

void LanguageChoiceTest::UserInterfaceShowsTheUpdateNoticeWithAnArrowUnderTheWaitCursor()
{
    CTexts texts;
    texts.m_mapTexts["TXT_UPDATEAV"] = "Quotino V%d.%02d ist verf\xFC"
                                       "gbar!\\nHier:";
    CQtUserInterface ui(texts, nullptr);

    QString notice;
    Qt::CursorShape cursorInside = Qt::BlankCursor;
    AnswerNextModal([&](QDialog& dialog) {
        QVERIFY(qobject_cast<CQtDialog*>(&dialog));
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text().contains(QStringLiteral("Hier")))
                notice = label->text();
        }
        cursorInside = QGuiApplication::overrideCursor()->shape();
        dialog.accept();
    });
    {
        CWaitCursor wait(&ui);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui.ShowUpdateNotice(1, 40);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(cursorInside, Qt::ArrowCursor);
    QCOMPARE(notice, QString::fromUtf8("Quotino V1.40 ist verfügbar!\nHier:"));
}

QUOTINO_QT_TEST(LanguageChoiceTest)
#include "LanguageChoiceTest.moc"

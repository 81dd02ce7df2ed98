#include "window/LanguageChoice.h"
#include "QtTestRegistry.h"
#include "config/Texts.h"
#include "qt/QtDialog.h"
#include "qt/QtText.h"
#include "window/ControlIds.h"

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

QUOTINO_QT_TEST(LanguageChoiceTest)
#include "LanguageChoiceTest.moc"

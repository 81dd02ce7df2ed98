#include "window/LanguageChoice.h"
#include "QtTestRegistry.h"
#include "qt/QtDialog.h"

#include <QListWidget>
#include <QtTest>

namespace {

const std::vector<std::string> kDefaultLanguages { "Deutsch", "English", "Nederlands",
    "Fran\xE7"
    "ais" };

QListWidget* ListOf(QDialog& dialog)
{
    return dialog.findChild<QListWidget*>();
}

} // namespace

class LanguageChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void DoubleClickAcceptsTheClickedName();
};

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
}

QUOTINO_QT_TEST(LanguageChoiceTest)
#include "LanguageChoiceTest.moc"

#include "qt/ExitSave.h"
#include "QtTestRegistry.h"

#include "qt/ModalAnswer.h"
#include "support/WindowRun.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

#include <filesystem>

namespace fs = std::filesystem;

class ExitSaveTest : public QObject {
    Q_OBJECT
private slots:
    void TheQuestionIsAMessageBoxWhoseButtonsAnswerIt();
};

// When to ask is the window's rule; here the box shows the question, and its two buttons are
// the two answers: quit, and (the folder in the profile's place removed) try again.
void ExitSaveTest::TheQuestionIsAMessageBoxWhoseButtonsAnswerIt()
{
    CWindowRun run("English");
    const std::string path = run.ProfilePath();
    for (const char* answer : { "&Quit without saving", "&Try again" }) {
        fs::remove_all(path);
        fs::create_directories(path + "/in-the-way");
        QString shown;
        AnswerNextModal([&](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            QVERIFY(box);
            shown = box->text();
            fs::remove_all(path);
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QString::fromUtf8(answer))
                    button->click();
        });
        QCOMPARE(CExitSave(*run.m_app).Run(), answer[1] == 'T');
        QVERIFY2(shown.startsWith(QStringLiteral("The profile ")), qPrintable(shown));
    }
}

QUOTINO_QT_TEST(ExitSaveTest)
#include "ExitSaveTest.moc"

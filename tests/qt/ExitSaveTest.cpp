#include "qt/ExitSave.h"
#include "QtTestRegistry.h"

#include "app/QuotinoApp.h"
#include "calc/OfferCalculator.h"
#include "platform/Clock.h"
#include "qt/ModalAnswer.h"
#include "qt/QtText.h"
#include "support/FakeUserInterface.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A loaded run of the core on a profile in a temporary folder.
struct Run {
    explicit Run(const std::string& path)
        : m_app(path, m_clock)
    {
        m_app.InitInstance();
        QVERIFY(m_app.LoadConfiguration(m_window, m_ui));
    }

    CFixedClock m_clock { std::time(nullptr) };
    CQuotinoApp m_app;
    COfferCalculator m_window { m_app.Catalog(), m_app.Texts(), m_app.Servers(), m_app.Settings() };
    CFakeUserInterface m_ui { "English" };
};

// Clicks the button whose text is label in the message box that shows next, after noting
// its text.
void Answer(const QString& label, QString& shown)
{
    AnswerNextModal([label, &shown](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (!box) {
            dialog.reject();
            return;
        }
        shown = box->text();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == label) {
                button->click();
                return;
            }
        }
        box->reject();
    });
}

} // namespace

class ExitSaveTest : public QObject {
    Q_OBJECT
private slots:
    void FailedSaveAsksAndQuittingLeavesTheFileAsItWas();
    void TryingAgainSavesOnceTheFileCanBeWritten();
    void SavedProfileAsksNothing();
};

// A read-only profile: the box names the file and the reason in the user's language, and
// quitting without saving leaves the file byte for byte.
void ExitSaveTest::FailedSaveAsksAndQuittingLeavesTheFileAsItWas()
{
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    {
        Run first(path);
        QVERIFY(first.m_app.SaveProfile());
    }
    const std::string before = ReadWholeFile(path);
    fs::permissions(path, fs::perms::owner_read);

    Run run(path);
    run.m_app.Servers().SetServerValue("Server 1", "Karotte", "0,99");
    QString shown;
    Answer(QStringLiteral("&Quit without saving"), shown);
    QVERIFY(!CExitSave(run.m_app).Run());

    QVERIFY2(shown.startsWith(QStringLiteral("The profile ") + ToQString(path)), qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral("could not be saved: Permission denied.")),
        qPrintable(shown));
    QCOMPARE(ReadWholeFile(path), before);
}

void ExitSaveTest::TryingAgainSavesOnceTheFileCanBeWritten()
{
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    {
        Run first(path);
        QVERIFY(first.m_app.SaveProfile());
    }
    fs::permissions(path, fs::perms::owner_read);

    Run run(path);
    run.m_app.Servers().SetServerValue("Server 1", "Karotte", "0,99");
    QString shown;
    // The user makes the file writable while the box is up, then tries again.
    AnswerNextModal([&](QDialog& dialog) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        QVERIFY(box);
        shown = box->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QStringLiteral("&Try again"))
                button->click();
    });
    QVERIFY(CExitSave(run.m_app).Run());
    QVERIFY(!shown.isEmpty());
    QVERIFY(ReadWholeFile(path).find("Karotte=0,99") != std::string::npos);
}

void ExitSaveTest::SavedProfileAsksNothing()
{
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    Run run(path);
    bool asked = false;
    QObject scope;
    QTimer::singleShot(2000, &scope, [&asked] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    QVERIFY(CExitSave(run.m_app).Run());
    QVERIFY(!asked);
}

QUOTINO_QT_TEST(ExitSaveTest)
#include "ExitSaveTest.moc"

#include "QtTestRegistry.h"
#include "qt/HyperLink.h"
#include "qt/ModalAnswer.h"
#include "qt/QtDialog.h"
#include "support/ShippedWorld.h"
#include "window/AboutDialog.h"
#include "window/AddServerDialog.h"
#include "window/ControlIds.h"
#include "window/ServerSelection.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {

// Counts the commands and answers as told.
class CRecordingDialog : public IDialogBehaviour {
public:
    int TemplateId() const override { return IDD_ADD_SERVER; }
    void OnInit(IWindowView& view) override { view.SetText(IDC_ADD_SERVER_NAME, "set"); }
    EAfter OnCommand(IWindowView&, int id) override
    {
        m_commands << id;
        if (id == IDC_OK)
            return m_okAnswer;
        return id == IDC_CANCEL ? EAfter::Cancel : EAfter::Stay;
    }

    QList<int> m_commands;
    EAfter m_okAnswer = EAfter::Accept;
};

} // namespace

class SmallDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void DialogForwardsTheUsersActionsOnly();
    void AboutShowsTheIconAndALink();
    void AddServerWarnsOverARefusedNameInAMessageBox();
    void ServerSelectionOfAHugeListOpensAtOnce();
};

void SmallDialogsTest::DialogForwardsTheUsersActionsOnly()
{
    CRecordingDialog behaviour;
    behaviour.m_okAnswer = IDialogBehaviour::EAfter::Stay;
    CQtDialog dialog(behaviour);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* name = qobject_cast<QLineEdit*>(dialog.Control(IDC_ADD_SERVER_NAME));
    QCOMPARE(name->text(), QStringLiteral("set"));
    QVERIFY(behaviour.m_commands.isEmpty());

    QTest::keyClicks(name, QStringLiteral("x"));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(behaviour.m_commands, (QList<int> { IDC_ADD_SERVER_NAME, IDC_OK }));
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(behaviour.m_commands.last(), int(IDC_CANCEL));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    behaviour.m_okAnswer = IDialogBehaviour::EAfter::Accept;
    AnswerNextModal([](QDialog& open) {
        QTest::mouseClick(qobject_cast<CQtDialog*>(&open)->Control(IDC_OK), Qt::LeftButton);
    });
    QVERIFY(CQtDialog::Run(behaviour, nullptr));
}

void SmallDialogsTest::AboutShowsTheIconAndALink()
{
    CShippedWorld german("Deutsch");
    CAboutDialog behaviour(german.m_texts);
    CQtDialog about(behaviour);
    auto* link = qobject_cast<CHyperLink*>(about.Control(IDC_ABOUT_LINK));
    QVERIFY(link);
    QCOMPARE(link->LinkUrl(), QUrl(QStringLiteral("https://www.quotino.example/")));
    QVERIFY(qobject_cast<QPushButton*>(about.Control(IDC_OK))->isDefault());
    bool icon = false;
    for (const QLabel* label : about.findChildren<QLabel*>())
        icon = icon || !label->pixmap().isNull();
    QVERIFY(icon);
}

void SmallDialogsTest::AddServerWarnsOverARefusedNameInAMessageBox()
{
    CShippedWorld german("Deutsch");
    CAddServerDialog behaviour(german.m_texts, [](const std::string& name) {
        return name == "Settings" ? std::string("Nein") : std::string();
    });
    CQtDialog add(behaviour);
    add.show();
    auto* name = qobject_cast<QLineEdit*>(add.Control(IDC_ADD_SERVER_NAME));
    name->setText(QStringLiteral("Settings"));
    QString warning;
    AnswerNextModal([&warning](QDialog& box) {
        warning = qobject_cast<QMessageBox*>(&box)->text();
        box.accept();
    });
    QTest::mouseClick(add.Control(IDC_OK), Qt::LeftButton);
    QCOMPARE(warning, QStringLiteral("Nein"));
    QVERIFY(add.isVisible());
    QCOMPARE(name->selectedText(), QStringLiteral("Settings"));
}

// 20,000 servers added by hand: the list fills in linear time.
void SmallDialogsTest::ServerSelectionOfAHugeListOpensAtOnce()
{
    CShippedWorld german("Deutsch");
    for (int i = 0; i < 20000; ++i)
        german.m_servers.LoadServerTable("Hand " + std::to_string(i), "-");
    CServerSelection behaviour(german.m_texts, german.m_servers, "");
    QElapsedTimer clock;
    clock.start();
    CQtDialog dialog(behaviour);
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    auto* list = qobject_cast<QListWidget*>(dialog.Control(IDC_SERVER_LIST));
    QCOMPARE(list->selectedItems().size(), qsizetype(55 + 20000));
}

QUOTINO_QT_TEST(SmallDialogsTest)
#include "SmallDialogsTest.moc"

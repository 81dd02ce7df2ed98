#include "config/PlantCatalog.h"
#include "config/Resource.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "platform/ByteSource.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "ui/AboutDlg.h"
#include "ui/AddServerDlg.h"
#include "ui/DetailsDlg.h"
#include "ui/HyperLink.h"
#include "ui/ModalAnswer.h"
#include "ui/QtText.h"
#include "ui/ServerDlg.h"
#include "ui/UpdateDlg.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// The shipped default profile in a chosen language, with its servers loaded.
struct Profile {
    CIniFile profile;
    CTexts texts;
    CPlantCatalog catalog;
    CSettings settings { profile };
    CServerCache servers { profile, texts, catalog };

    explicit Profile(const char* language)
    {
        CResource resource;
        if (resource.Load(129, "TXT")) {
            CMemorySource source(resource.Data(), resource.Size());
            profile.ReadFrom(source);
        }
        profile.WriteString("Settings", "Lang", language);
        texts.LoadTexts(profile);
        catalog.ReadPlantNames(profile);
        settings.ReadMirrors();
        servers.LoadServerTables();
    }
};

QString Label(QDialog& dialog, int id)
{
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->property("dialogControlId").toInt() == id)
            return label->text();
    }
    return QStringLiteral("<no control %1>").arg(id);
}

template <class T> T* Control(QDialog& dialog, int id)
{
    for (T* widget : dialog.findChildren<T*>()) {
        if (widget->property("dialogControlId").toInt() == id)
            return widget;
    }
    return nullptr;
}

QStringList Entries(const QListWidget* list, bool selectedOnly = false)
{
    QStringList entries;
    for (int row = 0; row < list->count(); ++row) {
        if (!selectedOnly || list->item(row)->isSelected())
            entries << list->item(row)->text();
    }
    return entries;
}

} // namespace

class SmallDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void AboutShowsTitleVersionAndLink();
    void UpdateNoticeShowsTheNewVersionOnTwoLines();
    void HostileUpdateTextIsShownAsItStands();
    void AddServerTakesAtMost128Characters();
    void ServerSelectionStartsFromCurrentServerAndSelectedFlags();
    void DeselectingEveryServerKeepsExactlyTheCurrentOne();
    void ServerSelectionOfAHugeListOpensAtOnce();
    void AddedServerStaysWhenTheSelectionIsCancelled();
    void ExistingEmptyOrUnstorableNamesAddNothing();
    void DetailsLowersMaxLevelEvenOnCancel();
    void DetailsStoresLevelAndOrigins();
    void LevelListEndsAtTheFirstGap();
};

void SmallDialogsTest::AboutShowsTitleVersionAndLink()
{
    Profile german("Deutsch");
    CAboutDlg about(german.texts);
    QCOMPARE(about.windowTitle(), QString::fromUtf8("Info über Quotino"));
    QCOMPARE(Label(about, 1023), QStringLiteral("Quotino V1.39"));
    QCOMPARE(about.Link()->text(), QStringLiteral("https://www.quotino.example/"));
    QCOMPARE(about.Link()->LinkUrl(), QUrl(QStringLiteral("https://www.quotino.example/")));
    QVERIFY(Control<QPushButton>(about, 1)->isDefault());

    Profile english("English");
    QCOMPARE(CAboutDlg(english.texts).windowTitle(), QStringLiteral("About Quotino"));
}

void SmallDialogsTest::UpdateNoticeShowsTheNewVersionOnTwoLines()
{
    Profile german("Deutsch");
    CUpdateDlg notice(german.texts, 1, 40);
    QCOMPARE(notice.windowTitle(), QString::fromUtf8("Info über Quotino"));
    QCOMPARE(Label(notice, 1023), QStringLiteral("Quotino V1.39"));
    QCOMPARE(Label(notice, 1025),
        QString::fromUtf8(
            "Quotino V1.40 ist verfügbar!\nSie können die neue Version hier herunterladen:"));
    QCOMPARE(notice.Link()->LinkUrl(), QUrl(QStringLiteral("https://www.quotino.example/")));
    QCOMPARE(notice.m_nMajor, 1);
    QCOMPARE(notice.m_nMinor, 40);
}

void SmallDialogsTest::HostileUpdateTextIsShownAsItStands()
{
    CTexts texts;
    texts.m_mapTexts["TXT_UPDATEAV"] = "%s%n%s%n V%d.%02d %p\\n%99999999d";
    CUpdateDlg notice(texts, 2, 3);
    QCOMPARE(Label(notice, 1025), QStringLiteral("%s%n%s%n V2.03 %p\n%99999999d"));
    QCOMPARE(notice.windowTitle(), QString());
}

void SmallDialogsTest::AddServerTakesAtMost128Characters()
{
    Profile german("Deutsch");
    CAddServerDlg add(german.texts);
    QCOMPARE(add.windowTitle(), QString::fromUtf8("Hinzufügen"));
    QCOMPARE(Label(add, 1003), QStringLiteral("Server:"));
    QCOMPARE(Control<QPushButton>(add, 2)->text(), QStringLiteral("Abbrechen"));

    QLineEdit* name = Control<QLineEdit>(add, 1002);
    QTest::keyClicks(name, QString(200, u'x'));
    QCOMPARE(name->text().size(), 128);
    name->setText(QString::fromUtf8("Grüner Server"));
    add.accept();
    QCOMPARE(add.m_strName, std::string("Gr\xFCner Server"));
}

void SmallDialogsTest::ServerSelectionStartsFromCurrentServerAndSelectedFlags()
{
    Profile german("Deutsch");
    for (const std::string& name : german.servers.m_astrServers)
        german.servers.SetServerInt(name, "Selected", 0);
    german.servers.SetServerInt("Server 7", "Selected", 1);
    german.profile.WriteString("Settings", "Server", "Server 2");

    CServerDlg dialog(german.texts, german.profile, german.servers);
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Server auswählen"));
    QCOMPARE(Control<QPushButton>(dialog, 1021)->text(), QString::fromUtf8("Hinzufügen..."));
    QListWidget* list = Control<QListWidget>(dialog, 1002);
    QCOMPARE(list->count(), 55);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Server 1"));
    QCOMPARE(Entries(list, true), (QStringList { "Server 2", "Server 7" }));
}

// 20,000 servers added by hand: the list fills in linear time.
void SmallDialogsTest::ServerSelectionOfAHugeListOpensAtOnce()
{
    Profile german("Deutsch");
    for (int i = 0; i < 20000; ++i)
        german.servers.LoadServerTable("Hand " + std::to_string(i), "-");
    QElapsedTimer clock;
    clock.start();
    CServerDlg dialog(german.texts, german.profile, german.servers);
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(Entries(Control<QListWidget>(dialog, 1002), true).size(), qsizetype(55 + 20000));
}

void SmallDialogsTest::DeselectingEveryServerKeepsExactlyTheCurrentOne()
{
    Profile german("Deutsch");
    german.profile.WriteString("Settings", "Server", "Server 3");
    CServerDlg dialog(german.texts, german.profile, german.servers);
    Control<QListWidget>(dialog, 1002)->clearSelection();
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    QStringList offered;
    for (const std::string& name : german.servers.m_astrServers) {
        if (german.servers.GetServerInt(name, "Selected", 1) != 0)
            offered << ToQString(name);
    }
    QCOMPARE(offered, QStringList { "Server 3" });
    QCOMPARE(german.profile.GetString("Server 3", "Selected"), std::string("1"));
    QCOMPARE(german.profile.GetString("Server 4", "Selected"), std::string("0"));
}

void SmallDialogsTest::AddedServerStaysWhenTheSelectionIsCancelled()
{
    Profile german("Deutsch");
    CServerDlg dialog(german.texts, german.profile, german.servers);
    QListWidget* list = Control<QListWidget>(dialog, 1002);
    list->clearSelection();

    AnswerNextModal([](QDialog& add) {
        Control<QLineEdit>(add, 1002)->setText(QStringLiteral("  Mein Server\t"));
        QTest::keyClick(&add, Qt::Key_Return);
    });
    QTest::mouseClick(Control<QPushButton>(dialog, 1021), Qt::LeftButton);
    QCOMPARE(Entries(list, true), QStringList { "Mein Server" });
    QCOMPARE(list->item(list->count() - 1)->text(), QStringLiteral("Mein Server"));
    dialog.reject();

    QCOMPARE(german.servers.m_astrServers.back(), std::string("Mein Server"));
    QCOMPARE(
        german.servers.GetServerInt("Mein Server", "Selected", 1), 1); // the server box offers it
    QCOMPARE(german.profile.GetString("Preislisten", "Mein Server"), std::string("-"));
    QVERIFY(german.profile.FindSection("Mein Server"));
}

void SmallDialogsTest::ExistingEmptyOrUnstorableNamesAddNothing()
{
    Profile german("Deutsch");
    CServerDlg dialog(german.texts, german.profile, german.servers);
    QListWidget* list = Control<QListWidget>(dialog, 1002);
    const size_t servers = german.servers.m_astrServers.size();
    const size_t sections = german.profile.GetSize();
    QStringList reasons;

    for (const char* name : { "Server 1", "server 1", "   ", "a=b", "[Settings]", ";x", "Settings",
             "plants", "Texts Deutsch", "LANG", "Preislisten", "Umsetzen" }) {
        AnswerNextModal([name, &reasons](QDialog& add) {
            Control<QLineEdit>(add, 1002)->setText(QString::fromLatin1(name));
            add.accept();
            if (auto* box = add.isVisible() ? add.findChild<QMessageBox*>() : nullptr) {
                reasons << box->text(); // refused, and the dialog says why
                add.reject();
            }
        });
        dialog.OnAdd();
    }
    AnswerNextModal([](QDialog& add) { // cancelled
        Control<QLineEdit>(add, 1002)->setText(QStringLiteral("Neu"));
        add.reject();
    });
    dialog.OnAdd();

    QCOMPARE(german.servers.m_astrServers.size(), servers);
    QCOMPARE(list->count(), static_cast<int>(servers));
    QCOMPARE(german.profile.GetSize(), sections);
    QCOMPARE(german.profile.GetString("Preislisten", "Settings", "<none>"), std::string("<none>"));
    QCOMPARE(german.profile.GetString("Settings", "Aktualisiert", "<none>"), std::string("<none>"));
    QVERIFY(CServerDlg::IsStorableServerName("Serveur 1 FR \xE9t\xE9"));
    QVERIFY(
        reasons.value(3).startsWith(QString::fromUtf8("Den Namen „Settings“ verwendet Quotino")));
}

void SmallDialogsTest::DetailsLowersMaxLevelEvenOnCancel()
{
    Profile german("Deutsch");
    QCOMPARE(german.settings.m_nMaxLevel, 99);
    CDetailsDlg details(german.texts, german.settings);
    QCOMPARE(static_cast<int>(details.m_astrLevels.size()), 45);
    details.reject();
    QCOMPARE(german.settings.m_nMaxLevel, 45);
    QCOMPARE(german.profile.GetString("Settings", "MaxLevel"), std::string("45"));
}

void SmallDialogsTest::DetailsStoresLevelAndOrigins()
{
    Profile german("Deutsch");
    CDetailsDlg details(german.texts, german.settings);
    QCOMPARE(Label(details, 1026), QString::fromUtf8("Höchster Level:"));
    QCOMPARE(Label(details, 1028), QStringLiteral("Herkunft:"));

    QComboBox* levels = Control<QComboBox>(details, 1027);
    QCOMPARE(levels->count(), 45);
    QCOMPARE(levels->itemText(0), QStringLiteral("01 - Salatschleuderer"));
    QCOMPARE(levels->currentText(), QStringLiteral("45 - Zwergenmonarch"));
    QListWidget* origins = Control<QListWidget>(details, 1029);
    QCOMPARE(Entries(origins, true),
        (QStringList { "Bauernhof", "Baumschule", "Blumenladen", "Aquashop", "Pilzzucht" }));

    levels->setCurrentIndex(11);
    origins->clearSelection();
    details.accept();
    QCOMPARE(german.settings.m_nMaxLevel, 12);
    QCOMPARE(german.settings.m_nOriginMask, 0);
    QCOMPARE(german.profile.GetString("Settings", "OriginMask"), std::string("0"));

    // Clicks toggle entries one by one.
    german.settings.SetOriginMask(0b10100);
    CDetailsDlg again(german.texts, german.settings);
    QListWidget* list = Control<QListWidget>(again, 1029);
    QCOMPARE(Entries(list, true), (QStringList { "Blumenladen", "Pilzzucht" }));
    again.show();
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(4)).center());
    again.accept();
    QCOMPARE(german.settings.m_nOriginMask, 0b00101);
    QCOMPARE(german.settings.m_nMaxLevel, 12);
}

void SmallDialogsTest::LevelListEndsAtTheFirstGap()
{
    Profile german("Deutsch");
    german.texts.m_mapTexts.erase("TXT_LEVEL12");
    CDetailsDlg details(german.texts, german.settings);
    QCOMPARE(Control<QComboBox>(details, 1027)->count(), 11);
    QCOMPARE(german.settings.m_nMaxLevel, 11);

    CTexts none;
    CDetailsDlg empty(none, german.settings);
    QCOMPARE(Control<QComboBox>(empty, 1027)->count(), 0);
    QCOMPARE(Control<QListWidget>(empty, 1029)->count(), 0);
    empty.accept();
    QCOMPARE(german.settings.m_nMaxLevel, 1);
    QCOMPARE(german.settings.m_nOriginMask, 0);
}

QTEST_MAIN(SmallDialogsTest)
#include "SmallDialogsTest.moc"

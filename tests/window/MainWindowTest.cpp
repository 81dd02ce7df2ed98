#include "window/MainWindow.h"
#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "support/FakeUserInterface.h"
#include "support/FakeWindowView.h"
#include "support/FixedTime.h"
#include "support/HeadlessWindow.h"
#include "support/ShippedProfile.h"
#include "support/TempDir.h"
#include "window/ControlIds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

class MainWindowTest : public HeadlessWindow {
protected:
    void Open(const std::function<void(CIniFile&)>& edit = {})
    {
        ASSERT_TRUE(WriteShippedProfile(ProfilePath(), "Deutsch", edit));
        Start();
    }
};

TEST_F(MainWindowTest, TheStartPricesTheClipboardsListOnTheStoredServer)
{
    m_clipboard.m_strText = kExampleList;
    Open();
    EXPECT_EQ(m_view.Text(IDC_INPUT).rfind("Einkaufsliste\n3 x Karotte", 0), 0u);
    EXPECT_EQ(m_view[IDC_INPUT].nUndoSteps, 1);
    EXPECT_NE(m_view.Text(IDC_REPORT).find("114,3% vom Marktpreis minus 10% Geb\xFChr (21,87 wT)"),
        std::string::npos);
    EXPECT_EQ(m_window->SelectedServer(), "Server 1");
    EXPECT_EQ(m_view.m_nFocus, IDC_INPUT);
    EXPECT_TRUE(m_view.IsChecked(IDC_LOCKED));
    EXPECT_FALSE(m_window->OpensPriceEditor("Karotte"));
    m_view.SetChecked(IDC_LOCKED, false);
    EXPECT_TRUE(m_window->OpensPriceEditor("Karotte"));
    EXPECT_FALSE(m_window->OpensPriceEditor("")); // the header line
    EXPECT_FALSE(m_view.Title().empty());
    EXPECT_FALSE(m_view.m_commands[IDM_ABOUT].empty());
}

TEST_F(MainWindowTest, ActivationTakesOnlyANewListThatIsNotTheProgramsOwn)
{
    m_clipboard.m_strText = kExampleList;
    Open();
    const std::string report = m_view.Text(IDC_REPORT);

    const struct {
        const char* text;
        bool own;
        bool taken;
    } cases[] = {
        { kExampleList.c_str(), false, false }, // the same list again
        { "Einkaufsliste\n1 x Karotte", true, false }, // copied from the program
        { "http://example.org/", false, false }, // no list
        { "Einkaufsliste\n1 x Karotte", false, true },
    };
    for (const auto& c : cases) {
        m_clipboard.m_strText = c.text;
        m_clipboard.m_bOwn = c.own;
        m_window->OnActivate();
        m_view.RunPosted();
        EXPECT_EQ(m_view.Text(IDC_REPORT) != report, c.taken) << c.text;
    }
    EXPECT_NE(m_view.Text(IDC_INPUT).find("1 x Karotte"), std::string::npos);
}

TEST_F(MainWindowTest, TheSizeIsRestoredWithinTheScreenAndStoredOnlyWhenChanged)
{
    Open([](CIniFile& profile) { profile.WriteString("Settings", "WinSize", "5000,700"); });
    const SSize restored = m_view.ClientSize();
    EXPECT_EQ(restored.height, 700);
    EXPECT_LE(restored.width, 2000);
    EXPECT_EQ(m_view[IDC_INPUT].rect.Bottom() > 0, true);

    m_window->OnCloseRequest(CMainWindow::ECloseBy::WindowFrame);
    EXPECT_EQ(m_app->Profile().GetString("Settings", "WinSize", ""), "5000,700");

    m_view.ResizeClient({ restored.width, 800 });
    m_window->OnResize(m_view.ClientSize());
    m_window->OnCloseRequest(CMainWindow::ECloseBy::CloseButton);
    EXPECT_EQ(m_app->Profile().GetString("Settings", "WinSize", ""), "5000,700");
    m_window->OnSessionEnd();
    CIniFile saved;
    ASSERT_TRUE(saved.Load(m_dir.file("quotino.ini")));
    EXPECT_EQ(saved.GetString("Settings", "WinSize", ""), std::to_string(restored.width) + ",800");
}

TEST_F(MainWindowTest, ThePaneToggleMovesTheEditsEdgeAndIsStored)
{
    Open([](CIniFile& profile) { profile.WriteString("Settings", "PreisListe", "1"); });
    const int inputRight = m_view[IDC_INPUT].rect.Right();
    ASSERT_TRUE(m_view.IsShown(IDC_PRICE_LIST));
    m_window->OnCommand(IDC_TOGGLE_PANE);
    EXPECT_FALSE(m_view.IsShown(IDC_PRICE_LIST));
    EXPECT_EQ(m_view[IDC_INPUT].rect.Right(), m_view[IDC_PRICE_LIST].rect.Right());
    EXPECT_EQ(m_app->Profile().GetString("Settings", "PreisListe", ""), "0");

    m_window->OnCommand(IDC_TOGGLE_PANE);
    EXPECT_TRUE(m_view.IsShown(IDC_PRICE_LIST));
    EXPECT_EQ(m_view[IDC_INPUT].rect.Right(), inputRight);
}

// A folder in the profile's place makes every save fail until it is gone.
TEST_F(MainWindowTest, AFailingSaveIsShownUntilASaveSucceeds)
{
    Open();
    const std::string dateLabel = m_view.Text(IDC_DATE);
    const std::string profile = m_dir.file("quotino.ini");
    std::filesystem::rename(profile, profile + ".moved");
    std::filesystem::create_directories(profile + "/in-the-way");

    m_window->OnCommand(IDC_TOGGLE_PANE);
    EXPECT_EQ(m_view.Text(IDC_DATE), "Profil nicht gespeichert!");
    m_window->OnCommand(IDC_CALCULATE);
    EXPECT_EQ(m_view.Text(IDC_DATE), "Profil nicht gespeichert!");

    std::filesystem::remove_all(profile);
    m_window->OnCommand(IDC_MAX_FARM);
    EXPECT_EQ(m_view.Text(IDC_DATE), dateLabel);
    // The change made while saves failed reached the disk with the next command.
    const std::string stored = m_app->Profile().GetString("Settings", "PreisListe", "");
    EXPECT_NE(ReadWholeFile(profile).find("\r\nPreisListe=" + stored + "\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, EscapeOnlyStopsACommandWhileCloseStopsItAndCloses)
{
    // An address that answers nothing keeps Download running until it is stopped.
    Open([](CIniFile& profile) {
        profile.WriteString("Preislisten", "Server 1", "http://127.0.0.1:1/x");
    });
    using By = CMainWindow::ECloseBy;
    const struct {
        By by;
        bool closesWhileBusy;
    } cases[] = { { By::EscapeKey, false }, { By::CloseButton, true }, { By::WindowFrame, true } };
    for (const auto& c : cases) {
        EXPECT_TRUE(m_window->OnCloseRequest(c.by));
        m_window->OnCommand(IDC_DOWNLOAD);
        // The worker's answer waits among the posted tasks, so the command is still running.
        ASSERT_TRUE(m_window->IsBusy());
        EXPECT_EQ(m_window->OnCloseRequest(c.by), c.closesWhileBusy);
        EXPECT_FALSE(m_window->IsBusy());
        m_view.RunPosted();
    }
    EXPECT_TRUE(CMainWindow::TakesClicksWhileBusy(IDC_CLOSE));
    EXPECT_FALSE(CMainWindow::TakesClicksWhileBusy(IDC_DOWNLOAD_ALL));
}

TEST_F(MainWindowTest, TheWatchPricesANewListInTheBackgroundAndAnnouncesItOnce)
{
    Open([](CIniFile& profile) { profile.WriteString("Settings", "WatchClipboard", "1"); });
    EXPECT_TRUE(m_view.m_checkedCommands[IDM_WATCH_CLIPBOARD]);
    m_clipboard.m_strText = kExampleList;
    m_window->OnClipboardChanged(false);
    m_window->OnClipboardChanged(false);
    // The verdict's words are the watch's test.
    EXPECT_EQ(m_view.m_notifications.size(), 1u);
    EXPECT_EQ(m_view.Text(IDC_INPUT).rfind("Einkaufsliste", 0), 0u);

    // In front, the activation decides; switched off, nothing happens.
    m_clipboard.m_strText = "Einkaufsliste\n1 x Karotte";
    m_window->OnClipboardChanged(true);
    m_window->OnCommand(IDM_WATCH_CLIPBOARD);
    m_window->OnClipboardChanged(false);
    EXPECT_EQ(m_view.m_notifications.size(), 1u);
    EXPECT_EQ(m_app->Profile().GetString("Settings", "WatchClipboard", ""), "0");
}

// A list copied while a command may change the selected server's prices is priced once it has
// ended; while only the server list is fetched, at once.
TEST_F(MainWindowTest, TheWatchWaitsOnlyForACommandThatChangesTheSelectedPrices)
{
    Open([](CIniFile& profile) {
        profile.WriteString("Settings", "WatchClipboard", "1");
        profile.WriteString("Settings", "ServerList", "http://127.0.0.1:1/x");
        profile.WriteString("Preislisten", "Server 1", "http://127.0.0.1:1/x");
    });
    for (const auto& [command, atOnce] :
        { std::pair(IDC_DOWNLOAD, 0u), { IDC_LOAD_SERVER_LIST, 1u } }) {
        m_view.m_notifications.clear();
        m_window->OnCommand(command);
        m_clipboard.m_strText = "Einkaufsliste\n" + std::to_string(command) + " x Karotte";
        m_window->OnClipboardChanged(false);
        EXPECT_EQ(m_view.m_notifications.size(), atOnce) << command;
        // The refused connection's answer comes from the fetch's worker.
        for (int wait = 0; wait < 500 && m_window->IsBusy(); ++wait, m_view.RunPosted())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(m_view.m_notifications.size(), 1u) << command;
    }
}

TEST_F(MainWindowTest, TheWatchIsDisabledWhereTheClipboardCannotBeHeard)
{
    m_view.m_bHearsInBackground = false;
    Open([](CIniFile& profile) { profile.WriteString("Settings", "WatchClipboard", "1"); });
    EXPECT_FALSE(m_view.m_disabledCommands[IDM_WATCH_CLIPBOARD].empty());
    m_clipboard.m_strText = kExampleList;
    m_window->OnClipboardChanged(false);
    EXPECT_TRUE(m_view.m_notifications.empty());
}

// The box offers the selected servers (no Selected key counts as selected) and shows the
// stored one only where it is offered under that very name.
TEST_F(MainWindowTest, TheServerBoxOffersTheSelectedServersAndPicksTheStoredOne)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = { { "Server C", "Server C" }, { "Server B", "" }, { "server c", "" },
        { "", "Server A" } };
    for (const auto& c : cases) {
        m_window.reset();
        m_app.reset();
        m_view = CFakeWindowView();
        Open([&](CIniFile& profile) {
            profile.WriteString("Preislisten", std::nullopt, std::nullopt);
            for (const char* name : { "Server A", "Server B", "Server C" })
                profile.WriteString("Preislisten", name, "-");
            profile.WriteString("Settings", "Server", c.stored);
            profile.WriteString("Server A", "Selected", "1");
            profile.WriteString("Server B", "Selected", "0");
        });
        EXPECT_EQ(m_view.Items(IDC_SERVERS), (std::vector<std::string> { "Server A", "Server C" }));
        EXPECT_EQ(m_window->SelectedServer(), c.shown) << c.stored;
        EXPECT_EQ(m_app->Profile().GetString("Settings", "Server", ""), c.shown) << c.stored;
    }
}

// The context menu's language command offers every language with the current one preselected;
// a choice with texts relabels, recalculates and is stored, a cancel or one without texts
// changes nothing.
TEST_F(MainWindowTest, TheLanguageCommandTakesOnlyALanguageWithTexts)
{
    m_clipboard.m_strText = kExampleList;
    Open(
        [](CIniFile& profile) { profile.WriteString("Lang", "Klingonisch", "Texts Klingonisch"); });
    const std::string report = m_view.Text(IDC_REPORT);
    EXPECT_EQ(m_view[IDC_LINK].strUrl, "https://www.quotino.example/neu/");
    for (const std::string answer : { "", "Klingonisch" }) {
        m_ui.m_strLanguage = answer;
        m_window->OnCommand(IDM_LANGUAGE);
        EXPECT_EQ(m_app->Profile().GetString("Settings", "Lang", ""), "Deutsch") << answer;
        EXPECT_EQ(m_view.Text(IDC_REPORT), report) << answer;
        EXPECT_EQ(m_view.Text(IDC_CALCULATE), "Berechnen") << answer;
    }
    m_ui.m_strLanguage = "English";
    m_window->OnCommand(IDM_LANGUAGE);
    EXPECT_EQ(m_ui.m_strPreselected, "Deutsch");
    EXPECT_EQ(m_ui.m_offers.back().size(), 5u);
    EXPECT_EQ(m_app->Profile().GetString("Settings", "Lang", ""), "English");
    EXPECT_EQ(m_view.Text(IDC_CALCULATE), "Calculate");
    EXPECT_FALSE(m_view.IsShown(IDC_LINK)); // no target in English
}

TEST_F(MainWindowTest, TheFarmPriceCapIsStoredAndRecalculates)
{
    m_clipboard.m_strText = kExampleList;
    Open();
    for (const bool capped : { true, false }) {
        m_view.SetChecked(IDC_MAX_FARM, capped);
        m_window->OnCommand(IDC_MAX_FARM);
        EXPECT_EQ(m_app->Profile().GetString("Settings", "MaxFarm", ""), capped ? "1" : "0");
        EXPECT_NE(m_view.Text(IDC_REPORT)
                      .find(capped ? "\n3\tKarotte\t0,06=0,18\t0,06=0,18\t"
                                   : "\n3\tKarotte\t0,06=0,18\t0,10=0,30\t"),
            std::string::npos);
    }
}

} // namespace

// A sheet copied from a spreadsheet is taken as an import would take a file; the list stays.
TEST_F(MainWindowTest, PastedPriceSheetIsImportedAndLeavesTheListAlone)
{
    m_clipboard.m_strText = kExampleList;
    Open();
    const std::string list = m_view.Text(IDC_INPUT);
    // Without an address the date label says what to do instead.
    m_app->Servers().SetServerAddress("Server 1", "-");
    m_window->Calculate();
    EXPECT_NE(m_view[IDC_DATE].strToolTip.find("Strg+Umschalt+V"), std::string::npos);
    const struct {
        const char* sheet;
        const char* carrot;
        const char* date;
    } cases[] = {
        { "Pflanze\tPreis\tNotiz\r\nStand\t5.12.26\t20:15\r\nKarotte\t0,20\tbillig\r\n"
          "Gelbe Teichrose\t13.50\r\n",
            "0,20", "Daten von: 6.12.26 09:05" },
        { "Preise: https://example.org/preise\r\n", "0,20", "Daten von: ** 0x00001002" },
    };
    for (const auto& c : cases) {
        m_clipboard.m_strText = c.sheet;
        m_window->OnActivate();
        m_window->OnCommand(IDM_PASTE_PRICES);
        m_view.RunPosted();
        EXPECT_EQ(m_app->Servers().GetServerValue("Server 1", "Karotte", ""), c.carrot);
        EXPECT_EQ(m_view.Text(IDC_DATE), c.date);
        EXPECT_EQ(m_view.Text(IDC_INPUT), list);
    }
    EXPECT_EQ(m_app->Servers().GetServerValue("Server 1", "Stand", ""), "5.12.26 20:15");
    EXPECT_NE(m_view.Text(IDC_REPORT).find("% vom Marktpreis (27,60 wT)"), std::string::npos);
    EXPECT_EQ(m_view[IDC_DATE].strToolTip.rfind("Das ist keine Preisliste", 0), 0u);
    CIniFile saved(m_dir.file("quotino.ini"));
    EXPECT_EQ(saved.GetString("Server 1", "Gelbe Teichrose"), "13,50");
}

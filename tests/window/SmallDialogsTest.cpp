#include "app/ConfigurationLoader.h"
#include "support/FakeWindowView.h"
#include "support/ShippedWorld.h"
#include "window/AboutDialog.h"
#include "window/AddServerDialog.h"
#include "window/ControlIds.h"
#include "window/DetailsChoice.h"
#include "window/LanguageChoice.h"
#include "window/ServerSelection.h"
#include "window/UpdateNotice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using EAfter = IDialogBehaviour::EAfter;

const std::vector<std::string> kDefaultLanguages { "Deutsch", "English", "Nederlands",
    "Fran\xE7"
    "ais" };

std::vector<std::string> Selected(const CFakeWindowView& view, int id)
{
    std::vector<std::string> names;
    const std::vector<std::string> items = view.Items(id);
    const std::vector<bool> selected = view.SelectedItems(id);
    for (size_t row = 0; row < items.size(); ++row) {
        if (row < selected.size() && selected[row])
            names.push_back(items[row]);
    }
    return names;
}

// The About box's version line as its template has it.
CFakeWindowView AboutTemplate()
{
    CFakeWindowView view;
    view[IDC_ABOUT_VERSION].strText = "Quotino V%d.%02d";
    return view;
}

std::string CurrentVersion()
{
    const int minor = CConfigurationLoader::kMinorVersion;
    return "Quotino V" + std::to_string(CConfigurationLoader::kMajorVersion) + "."
        + (minor < 10 ? "0" : "") + std::to_string(minor);
}

// Types name into the add dialog and presses OK; refusals are collected.
struct SAddAnswer {
    std::string strName;
    std::vector<std::string> reasons;
    bool bCancel = false;

    bool operator()(IDialogBehaviour& dialog, CFakeWindowView& view)
    {
        dialog.OnInit(view);
        view[IDC_ADD_SERVER_NAME].strText = strName;
        if (bCancel)
            return dialog.OnCommand(view, IDC_CANCEL) == EAfter::Accept;
        const EAfter after = dialog.OnCommand(view, IDC_OK);
        reasons.insert(reasons.end(), view.m_warnings.begin(), view.m_warnings.end());
        return after == EAfter::Accept;
    }
};

} // namespace

TEST(AboutDialog, ShowsTitleVersionLinesAndLink)
{
    CShippedWorld german("Deutsch");
    CAboutDialog about(german.m_texts);
    CFakeWindowView view = AboutTemplate();
    EXPECT_TRUE(CFakeWindowView::Answer(about, view, IDC_OK));
    EXPECT_EQ(view.Title(),
        "Info \xFC"
        "ber Quotino");
    EXPECT_EQ(view.Text(IDC_ABOUT_VERSION), CurrentVersion());
    EXPECT_EQ(view[IDC_ABOUT_LINK].strText, "https://www.quotino.example/");
    EXPECT_EQ(view[IDC_ABOUT_LINK].strUrl, "https://www.quotino.example/");

    CShippedWorld english("English");
    CAboutDialog aboutEnglish(english.m_texts);
    CFakeWindowView englishView = AboutTemplate();
    EXPECT_FALSE(CFakeWindowView::Answer(aboutEnglish, englishView, IDC_CANCEL));
    EXPECT_EQ(englishView.Title(), "About Quotino");
    EXPECT_EQ(englishView.Text(IDC_ABOUT_SUBTITLE), "Calculator for NPC offers");
}

TEST(UpdateNotice, ShowsTheNewVersionOnTwoLines)
{
    CShippedWorld german("Deutsch");
    CUpdateNotice notice(german.m_texts, 1, 40);
    CFakeWindowView view = AboutTemplate();
    CFakeWindowView::Answer(notice, view, IDC_OK);
    // Title, version and link are the About box's, whose part the notice is.
    EXPECT_EQ(notice.TemplateId(), IDD_UPDATE);
    EXPECT_EQ(view.Text(IDC_UPDATE_NOTICE),
        "Quotino V1.40 ist verf\xFC"
        "gbar!\nSie k\xF6nnen die neue Version hier herunterladen:");
    EXPECT_FALSE(view.m_controls.contains(IDC_ABOUT_SUBTITLE));
}

TEST(UpdateNotice, HostileTextIsShownAsItStands)
{
    CTexts texts;
    texts.m_mapTexts["TXT_UPDATEAV"] = "%s%n%s%n V%d.%02d %p\\n%99999999d";
    CUpdateNotice notice(texts, 2, 3);
    CFakeWindowView view;
    CFakeWindowView::Answer(notice, view, IDC_OK);
    EXPECT_EQ(view.Text(IDC_UPDATE_NOTICE), "%s%n%s%n V2.03 %p\n%99999999d");
    EXPECT_EQ(view.Title(), "");
}

// Every language as the current one is the parity session's.
TEST(LanguageChoice, PreselectsTheCurrentOrElseTheFirstName)
{
    const struct {
        const char* preselected;
        const char* expected;
    } cases[] = {
        { "", "Deutsch" },
        { "Klingonisch", "Deutsch" },
    };
    for (const auto& test : cases) {
        CLanguageChoice choice(kDefaultLanguages, test.preselected);
        CFakeWindowView view;
        EXPECT_TRUE(CFakeWindowView::Answer(choice, view, IDC_OK)) << test.preselected;
        EXPECT_EQ(choice.Chosen(), test.expected);
        EXPECT_EQ(view.Items(IDC_LANGUAGE_LIST), kDefaultLanguages);
        EXPECT_EQ(
            view.Items(IDC_LANGUAGE_LIST)[static_cast<size_t>(view.CurrentItem(IDC_LANGUAGE_LIST))],
            test.expected);
    }
}

TEST(LanguageChoice, OkNeedsASelectionAndCancelChoosesNothing)
{
    CLanguageChoice empty({}, "");
    CFakeWindowView view;
    empty.OnInit(view);
    EXPECT_EQ(empty.OnCommand(view, IDC_OK), EAfter::Stay);
    EXPECT_EQ(empty.OnCommand(view, IDC_CANCEL), EAfter::Cancel);

    CLanguageChoice choice(kDefaultLanguages, "English");
    CFakeWindowView list;
    choice.OnInit(list);
    EXPECT_EQ(choice.OnCommand(list, IDC_CANCEL), EAfter::Cancel);
    EXPECT_TRUE(choice.Chosen().empty());

    list.SetSelectedItems(IDC_LANGUAGE_LIST, { false, false, true, false });
    EXPECT_EQ(choice.OnDoubleClick(list, IDC_LANGUAGE_LIST), EAfter::Accept);
    EXPECT_EQ(choice.Chosen(), "Nederlands");
}

TEST(AddServerDialog, SpeaksTheLanguageAndReturnsTheNameAsTyped)
{
    CShippedWorld german("Deutsch");
    CAddServerDialog add(german.m_texts, nullptr);
    CFakeWindowView view;
    add.OnInit(view);
    EXPECT_EQ(view.Title(), "Hinzuf\xFCgen");
    EXPECT_EQ(view.Text(IDC_ADD_SERVER_LABEL), "Server:");
    EXPECT_EQ(view.Text(IDC_CANCEL), "Abbrechen");
    view[IDC_ADD_SERVER_NAME].strText = " Gr\xFCner Server ";
    EXPECT_EQ(add.OnCommand(view, IDC_OK), EAfter::Accept);
    EXPECT_EQ(add.Name(), " Gr\xFCner Server ");
}

TEST(AddServerDialog, RefusalWarnsAndSelectsTheNameAgain)
{
    CShippedWorld german("Deutsch");
    std::string asked;
    CAddServerDialog add(german.m_texts, [&asked](const std::string& name) {
        asked = name;
        return std::string("Nein");
    });
    CFakeWindowView view;
    add.OnInit(view);
    view[IDC_ADD_SERVER_NAME].strText = "\tSettings ";
    EXPECT_EQ(add.OnCommand(view, IDC_OK), EAfter::Stay);
    EXPECT_EQ(asked, "Settings");
    EXPECT_EQ(view.m_warnings, std::vector<std::string> { "Nein" });
    EXPECT_EQ(view.m_nFocus, IDC_ADD_SERVER_NAME);
}

TEST(ServerSelection, StartsFromTheCurrentServerAndTheSelectedFlags)
{
    CShippedWorld german("Deutsch");
    for (const std::string& name : german.m_servers.Names())
        german.m_servers.SetServerInt(name, "Selected", 0);
    german.m_servers.SetServerInt("Server 7", "Selected", 1);

    CServerSelection selection(german.m_texts, german.m_servers, "Server 2");
    CFakeWindowView view;
    selection.OnInit(view);
    EXPECT_EQ(view.Items(IDC_SERVER_LIST).size(), 55u);
    EXPECT_EQ(view.Items(IDC_SERVER_LIST).front(), "Server 1");
    EXPECT_EQ(
        Selected(view, IDC_SERVER_LIST), (std::vector<std::string> { "Server 2", "Server 7" }));
}

TEST(ServerSelection, DeselectingEveryServerKeepsExactlyTheCurrentOne)
{
    CShippedWorld german("Deutsch");
    CServerSelection selection(german.m_texts, german.m_servers, "Server 3");
    CFakeWindowView view;
    selection.OnInit(view);
    view.SetSelectedItems(IDC_SERVER_LIST, {});
    EXPECT_EQ(selection.OnCommand(view, IDC_OK), EAfter::Accept);

    std::vector<std::string> offered;
    for (const std::string& name : german.m_servers.Names()) {
        if (german.m_servers.GetServerInt(name, "Selected", 1) != 0)
            offered.push_back(name);
    }
    EXPECT_EQ(offered, std::vector<std::string> { "Server 3" });
    EXPECT_EQ(german.m_profile.GetString("Server 3", "Selected"), "1");
    EXPECT_EQ(german.m_profile.GetString("Server 4", "Selected"), "0");
}

TEST(ServerSelection, AddedServerStaysWhenTheSelectionIsCancelled)
{
    CShippedWorld german("Deutsch");
    CServerSelection selection(german.m_texts, german.m_servers, "");
    CFakeWindowView view;
    selection.OnInit(view);
    view.SetSelectedItems(IDC_SERVER_LIST, {});
    view.m_fnDialog = SAddAnswer { "  Mein Server\t", {}, false };
    EXPECT_EQ(selection.OnCommand(view, IDC_SERVER_ADD), EAfter::Stay);
    EXPECT_EQ(view.m_dialogsRun, std::vector<int> { IDD_ADD_SERVER });
    EXPECT_EQ(Selected(view, IDC_SERVER_LIST), std::vector<std::string> { "Mein Server" });
    EXPECT_EQ(view.Items(IDC_SERVER_LIST).back(), "Mein Server");
    EXPECT_EQ(view.Items(IDC_SERVER_LIST).size(), view.CurrentItem(IDC_SERVER_LIST) + 1u);
    EXPECT_EQ(selection.OnCommand(view, IDC_CANCEL), EAfter::Cancel);

    EXPECT_EQ(german.m_servers.Names().back(), "Mein Server");
    EXPECT_EQ(german.m_servers.GetServerInt("Mein Server", "Selected", 1), 1);
    EXPECT_EQ(german.m_profile.GetString("Preislisten", "Mein Server"), "-");
    EXPECT_TRUE(german.m_profile.FindSection("Mein Server"));
}

TEST(ServerSelection, ExistingEmptyOrUnstorableNamesAddNothing)
{
    CShippedWorld german("Deutsch");
    CServerSelection selection(german.m_texts, german.m_servers, "");
    CFakeWindowView view;
    selection.OnInit(view);
    const size_t servers = german.m_servers.Names().size();
    const size_t sections = german.m_profile.GetSize();
    std::vector<std::string> reasons;

    for (const char* name : { "Server 1", "server 1", "   ", "a=b", "[Settings]", ";x", "Settings",
             "plants", "Texts Deutsch", "LANG", "Preislisten", "Umsetzen" }) {
        SAddAnswer answer { name, {}, false };
        // A refused name keeps the dialog open; the user then cancels it.
        view.m_fnDialog = [&answer, &reasons](IDialogBehaviour& dialog, CFakeWindowView& add) {
            const bool accepted = answer(dialog, add);
            reasons.insert(reasons.end(), answer.reasons.begin(), answer.reasons.end());
            return accepted;
        };
        selection.OnCommand(view, IDC_SERVER_ADD);
    }
    view.m_fnDialog = SAddAnswer { "Neu", {}, true };
    selection.OnCommand(view, IDC_SERVER_ADD);

    EXPECT_EQ(german.m_servers.Names().size(), servers);
    EXPECT_EQ(view.Items(IDC_SERVER_LIST).size(), servers);
    EXPECT_EQ(german.m_profile.GetSize(), sections);
    EXPECT_EQ(german.m_profile.GetString("Preislisten", "Settings", "<none>"), "<none>");
    EXPECT_EQ(german.m_profile.GetString("Settings", "Aktualisiert", "<none>"), "<none>");
    EXPECT_TRUE(CServerSelection::IsStorableServerName("Serveur 1 FR \xE9t\xE9"));
    ASSERT_GE(reasons.size(), 4u);
    EXPECT_EQ(reasons[3].rfind("Den Namen \x84Settings\x93 verwendet Quotino", 0), 0u)
        << reasons[3];
}

// Only web addresses are taken, or none; a change takes effect at once and keeps the prices.
TEST(ServerSelection, AddressesAreWebAddressesOrNone)
{
    CShippedWorld german("Deutsch");
    CServerSelection selection(german.m_texts, german.m_servers, "");
    CFakeWindowView view;
    selection.OnInit(view);
    // Which addresses are web addresses is their own test's; the dialog trims and refuses.
    const std::pair<const char*, const char*> cases[]
        = { { " https://a.example/p.tsv ", "https://a.example/p.tsv" },
              { "HTTP://a.example:8080/x?g=1", "HTTP://a.example:8080/x?g=1" }, { " ", "-" },
              { "file:///etc/passwd", "" }, { "https://a b/", "" } };
    for (const auto& [typed, stored] : cases) {
        const std::string name = "Neu " + std::to_string(view.Items(IDC_SERVER_LIST).size());
        view.m_fnDialog = [&name, typed](IDialogBehaviour& dialog, CFakeWindowView& add) {
            dialog.OnInit(add);
            add[IDC_ADD_SERVER_NAME].strText = name;
            add[IDC_ADDRESS].strText = typed;
            const bool accepted = dialog.OnCommand(add, IDC_OK) == EAfter::Accept;
            EXPECT_EQ(add.m_nFocus == IDC_ADDRESS, !accepted) << typed;
            return accepted;
        };
        selection.OnCommand(view, IDC_SERVER_ADD);
        EXPECT_EQ(german.m_profile.GetString("Preislisten", name), stored);
    }

    view.SetCurrentItem(IDC_SERVER_LIST, 0);
    for (const char* typed : { "https://b.example/s1.tsv", "" }) {
        view.m_fnDialog = [typed](IDialogBehaviour& dialog, CFakeWindowView& edit) {
            dialog.OnInit(edit);
            edit[IDC_ADDRESS].strText = typed;
            return dialog.OnCommand(edit, IDC_OK) == EAfter::Accept;
        };
        selection.OnCommand(view, IDC_SERVER_ADDRESS);
        const std::string stored = *typed ? typed : "-";
        EXPECT_EQ(german.m_servers.FindTable("Server 1")->m_strUrl, stored);
        EXPECT_EQ(german.m_profile.GetString("Preislisten", "Server 1"), stored);
    }
    EXPECT_EQ(german.m_servers.GetServerValue("Server 1", "Karotte", ""), "0,10");
}

TEST(DetailsChoice, LowersMaxLevelEvenOnCancel)
{
    CShippedWorld german("Deutsch");
    EXPECT_EQ(german.m_settings.MaxLevel(), 99);
    CDetailsChoice details(german.m_texts, german.m_settings);
    CFakeWindowView view;
    EXPECT_FALSE(CFakeWindowView::Answer(details, view, IDC_CANCEL));
    EXPECT_EQ(details.Levels().size(), 45u);
    EXPECT_EQ(german.m_settings.MaxLevel(), 45);
    EXPECT_EQ(german.m_profile.GetString("Settings", "MaxLevel"), "45");
}

// What the dialog shows first is the parity session's record.
TEST(DetailsChoice, StoresLevelAndOrigins)
{
    CShippedWorld german("Deutsch");
    CDetailsChoice details(german.m_texts, german.m_settings);
    CFakeWindowView view;
    details.OnInit(view);
    ASSERT_EQ(view.Items(IDC_DETAILS_LEVELS).size(), 45u);

    view.SetCurrentItem(IDC_DETAILS_LEVELS, 11);
    view.SetSelectedItems(IDC_DETAILS_ORIGINS, {});
    EXPECT_EQ(details.OnCommand(view, IDC_OK), EAfter::Accept);
    EXPECT_EQ(german.m_settings.MaxLevel(), 12);
    EXPECT_EQ(german.m_settings.OriginMask(), 0);
    EXPECT_EQ(german.m_profile.GetString("Settings", "OriginMask"), "0");

    german.m_settings.SetOriginMask(0b10100);
    CDetailsChoice again(german.m_texts, german.m_settings);
    CFakeWindowView againView;
    again.OnInit(againView);
    EXPECT_EQ(Selected(againView, IDC_DETAILS_ORIGINS),
        (std::vector<std::string> { "Blumenladen", "Pilzzucht" }));
    againView.SetSelectedItems(IDC_DETAILS_ORIGINS, { true, false, true });
    again.OnCommand(againView, IDC_OK);
    EXPECT_EQ(german.m_settings.OriginMask(), 0b00101);
    EXPECT_EQ(german.m_settings.MaxLevel(), 12);
}

TEST(DetailsChoice, LevelListEndsAtTheFirstGap)
{
    CShippedWorld german("Deutsch");
    german.m_texts.m_mapTexts.erase("TXT_LEVEL12");
    CDetailsChoice details(german.m_texts, german.m_settings);
    CFakeWindowView view;
    details.OnInit(view);
    EXPECT_EQ(view.Items(IDC_DETAILS_LEVELS).size(), 11u);
    EXPECT_EQ(german.m_settings.MaxLevel(), 11);

    CTexts none;
    CDetailsChoice empty(none, german.m_settings);
    CFakeWindowView emptyView;
    EXPECT_TRUE(CFakeWindowView::Answer(empty, emptyView, IDC_OK));
    EXPECT_TRUE(emptyView.Items(IDC_DETAILS_LEVELS).empty());
    EXPECT_TRUE(emptyView.Items(IDC_DETAILS_ORIGINS).empty());
    EXPECT_EQ(german.m_settings.MaxLevel(), 1);
    EXPECT_EQ(german.m_settings.OriginMask(), 0);
}

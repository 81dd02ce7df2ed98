#include "window/WindowUserInterface.h"
#include "config/Texts.h"
#include "support/FakeWindowView.h"
#include "window/ControlIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The core's questions run as the window's dialogs and warnings. Under a wait cursor (here two,
// nested) each shows the normal cursor; an end without a begin changes nothing.
TEST(WindowUserInterfaceTest, AsksOverTheWindowWithTheNormalCursor)
{
    CTexts texts;
    texts.m_mapTexts["TXT_TITLE"] = "Pirk Prozent";
    CFakeWindowView view;
    CWindowUserInterface ui(texts, view);
    std::string chosen;
    {
        const CWaitCursor outer(&ui);
        const CWaitCursor inner(&ui);
        EXPECT_TRUE(ui.ChooseLanguage({ "Deutsch", "English" }, chosen));
        ui.ShowUpdateNotice(1, 40);
        ui.ShowMessage("Profil gesperrt");
    }
    ui.EndWaitCursor();

    EXPECT_EQ(chosen, "Deutsch");
    EXPECT_EQ(view.m_dialogsRun, (std::vector<int> { IDD_LANGUAGE, IDD_UPDATE }));
    EXPECT_EQ(view.m_warnings, std::vector<std::string> { "Profil gesperrt" });
    // The message may come before the window has its title.
    EXPECT_EQ(view.m_strTitle, "Pirk Prozent");
    EXPECT_EQ(view.m_waitCursor,
        (std::vector<bool> { true, false, true, false, true, false, true, false }));
}

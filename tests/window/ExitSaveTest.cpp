#include "window/ExitSave.h"
#include "app/QuotinoApp.h"
#include "calc/OfferCalculator.h"
#include "platform/Clock.h"
#include "support/FakeUserInterface.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

// A folder in the profile's place makes each save fail until it is gone; the user answers
// every question with retry, having removed the folder first when fix is set.
TEST(ExitSave, AFailedSaveIsAskedAboutUntilItSucceedsOrTheUserQuits)
{
    const struct {
        bool inTheWay;
        bool retry;
        bool fix;
        int questions;
        bool saved;
    } cases[] = { { false, false, false, 0, true }, { true, false, false, 1, false },
        { true, true, true, 1, true } };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.file("quotino.ini");
        CFixedClock clock(std::time(nullptr));
        CQuotinoApp app(path, clock);
        app.InitInstance();
        CFakeUserInterface ui("English");
        COfferCalculator window(app.Catalog(), app.Texts(), app.Servers(), app.Settings());
        ASSERT_TRUE(app.LoadConfiguration(window, ui));
        app.Servers().SetServerValue("Server 1", "Karotte", "0,99");
        if (c.inTheWay) {
            fs::remove(path);
            fs::create_directories(path + "/in-the-way");
        }

        std::vector<SRetryQuestion> asked;
        const bool saved = SaveAtExit(app, [&](const SRetryQuestion& question) {
            asked.push_back(question);
            if (c.fix)
                fs::remove_all(path);
            return c.retry;
        });
        EXPECT_EQ(saved, c.saved);
        ASSERT_EQ(asked.size(), std::size_t(c.questions));
        EXPECT_EQ(fs::is_regular_file(path), c.saved);
        if (c.saved) {
            EXPECT_NE(ReadWholeFile(path).find("Karotte=0,99"), std::string::npos);
        }
        if (asked.empty())
            continue;
        // The question names the file and the system's reason, in the user's language.
        EXPECT_EQ(asked[0].strText.rfind("The profile " + path + " could not be saved: ", 0), 0u)
            << asked[0].strText;
        EXPECT_EQ(asked[0].strRetry, "&Try again");
        EXPECT_EQ(asked[0].strQuit, "&Quit without saving");
    }
}

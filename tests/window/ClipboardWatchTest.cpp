#include "window/ClipboardWatch.h"

#include "calc/ListPaste.h"
#include "calc/ListReader.h"
#include "support/ShippedWorld.h"
#include "window/Notifier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FakeClipboard : IClipboard {
    std::string m_strText;
    bool m_bOwn = false;
    std::string GetClipboardText() override { return m_strText; }
    bool HoldsOwnText() override { return m_bOwn; }
};

struct RecordingNotifier : INotifier {
    std::vector<std::string> m_astrShown;
    void Notify(const std::string& title, const std::string& text) override
    {
        m_astrShown.push_back(title + "|" + text);
    }
};

// A world, a clipboard and the watch over them, wired as the window wires them.
struct WatchedWorld {
    explicit WatchedWorld(const std::string& language)
        : world(language)
        , watch(clipboard, world.m_calc.m_templates, world.m_texts, notifier)
    {
        g_strLastList.clear();
    }

    // The window's part: paste what the watch takes, price it, hand back the verdict.
    bool Copy(const std::string& text, bool own = false, bool watching = true, bool active = false)
    {
        clipboard.m_strText = text;
        clipboard.m_bOwn = own;
        const std::optional<std::string> list = watch.TakeChange(watching, active);
        if (list)
            watch.AnnounceVerdict(world.m_calc.Calculate(*list).summary);
        return list.has_value();
    }

    CShippedWorld world;
    FakeClipboard clipboard;
    RecordingNotifier notifier;
    CClipboardWatch watch;
};

const std::string kGermanList = "Einkaufsliste\r\n3 x Karotte\r\n2 x gelbe Teichrose\r\n"
                                "Summe: 25,00 wT\r\nProdukte jetzt verkaufen?";

} // namespace

enum ECopy { kInBackground = 0, kOwnCopy = 1, kWatchOff = 2, kWindowActive = 4 };

TEST(ClipboardWatch, ChangeIsPastedAndAnnouncedOnlyForANewListInTheBackground)
{
    const struct {
        const char* what;
        std::string language;
        std::string text;
        int copy;
        bool pasted;
        std::string shown;
    } cases[] = {
        { "German list", "Deutsch", kGermanList, kInBackground, true,
            "Pirk Prozent|25,00 wT: 90,0% Bauernhofpreis \xB7 102,9% Markt \xB7 "
            "114,3% nach Geb\xFChr" },
        { "English list", "English",
            "Shopping list\r\n3 x Carrots\r\n2 x Cow lily\r\nTotal: 25.00 gB\r\nSell products now?",
            kInBackground, true,
            "Pirk Percent Calculator|25.00 gB: 90.0% of farm price \xB7 102.9% market \xB7 "
            "114.3% after fees" },
        { "Dutch list", "Nederlands",
            "Winkellijst\r\n3 x Wortelen\r\n2 x Gele plomp\r\nTotaal: 25,00 gB", kInBackground,
            true,
            "Pirk Percentage|25,00 gB: 90,0% boerderijprijs \xB7 102,9% markt \xB7 "
            "114,3% na kosten" },
        { "French list",
            "Fran\xE7"
            "ais",
            "Liste de courses\r\n3 x Carottes\r\n2 x N\xE9nuphar jaune\r\nTotal: 25,00 sV",
            kInBackground, true,
            "Ordinateur Pirk Pour Cent|25,00 sV : 90,0% du prix de la ferme \xB7 102,9% du "
            "march\xE9 \xB7 114,3% apr\xE8s frais" },
        { "no market price", "Deutsch", "2 x Tomate\r\nSumme: 1,50 wT", kInBackground, true,
            "Pirk Prozent|1,50 wT: 150,0% Bauernhofpreis" },
        { "a title without items", "Deutsch", "Einkaufsliste", kInBackground, true, "" },
        { "the program's own report", "Deutsch",
            "\tArtikel\tHerkunft\r\n3\tKarotte\t0,06=0,18\r\n\r\nSumme: 25,00 wT", kOwnCopy, false,
            "" },
        { "a web address", "Deutsch", "https://example.org/einkaufsliste", kInBackground, false,
            "" },
        { "an emptied clipboard", "Deutsch", "", kInBackground, false, "" },
        { "over-long", "Deutsch", kGermanList + std::string(kMaxListBytes, '\n'), kInBackground,
            false, "" },
        { "watch off", "Deutsch", kGermanList, kWatchOff, false, "" },
        { "window active", "Deutsch", kGermanList, kWindowActive, false, "" },
    };
    for (const auto& c : cases) {
        WatchedWorld watched(c.language);
        EXPECT_EQ(c.pasted,
            watched.Copy(c.text, c.copy & kOwnCopy, !(c.copy & kWatchOff), c.copy & kWindowActive))
            << c.what;
        const std::vector<std::string> shown
            = c.shown.empty() ? std::vector<std::string>() : std::vector { c.shown };
        EXPECT_EQ(shown, watched.notifier.m_astrShown) << c.what;
    }
}

TEST(ClipboardWatch, SameListCopiedAgainGivesNoSecondVerdict)
{
    WatchedWorld watched("Deutsch");
    EXPECT_TRUE(watched.Copy(kGermanList));
    EXPECT_FALSE(watched.Copy(kGermanList));
    EXPECT_FALSE(watched.Copy("https://example.org/"));
    EXPECT_FALSE(watched.Copy(kGermanList));
    EXPECT_TRUE(watched.Copy("3 x Karotte\r\nSumme: 1,00 wT"));
    EXPECT_TRUE(watched.Copy(kGermanList));
    EXPECT_EQ(3u, watched.notifier.m_astrShown.size());
}

#include "window/ClipboardWatch.h"

#include "calc/ListPaste.h"
#include "calc/ListReader.h"
#include "support/ShippedProfile.h"
#include "support/ShippedWorld.h"
#include "window/Notifier.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The clipboard, the notification area and the window's part around a watch: paste what the
// watch takes, price it, hand the verdict back.
struct WatchedWorld : CPresetClipboard, INotifier {
    explicit WatchedWorld(const std::string& language)
        : world(language)
        , watch(*this, paste, world.m_calc.Templates(), world.m_texts, *this)
    {
    }

    bool Copy(const std::string& text, bool own = false, bool watching = true, bool active = false)
    {
        m_strText = text;
        m_bOwn = own;
        const std::optional<std::string> list = watch.TakeChange(watching, active);
        if (list)
            watch.AnnounceVerdict(world.m_calc.Calculate(*list).summary);
        return list.has_value();
    }

    void Notify(const std::string& title, const std::string& text) override
    {
        m_strShown += title + "|" + text + "\n";
    }

    CShippedWorld world;
    CListPaste paste;
    CClipboardWatch watch;
    std::string m_strShown;
};

const std::string kGermanList = "Einkaufsliste\r\n3 x Karotte\r\n2 x gelbe Teichrose\r\n"
                                "Summe: 25,00 wT\r\nProdukte jetzt verkaufen?";

} // namespace

enum ECopy { kInBackground = 0, kOwnCopy = 1, kWatchOff = 2, kWindowActive = 4, kAgain = 8 };

TEST(ClipboardWatch, ChangeIsPastedAndAnnouncedOnlyForANewListInTheBackground)
{
    const struct {
        std::string language;
        std::string text;
        int copy;
        bool pasted;
        std::string shown;
    } cases[] = {
        { "Deutsch", kGermanList, kInBackground, true,
            "Pirk Prozent|25,00 wT: 90,0% Bauernhofpreis \xB7 102,9% Markt \xB7 114,3% nach "
            "Geb\xFChr" },
        { "English",
            "Shopping list\r\n3 x Carrots\r\n2 x Cow lily\r\nTotal: 25.00 gB\r\nSell products now?",
            kInBackground, true,
            "Pirk Percent Calculator|25.00 gB: 90.0% of farm price \xB7 102.9% market \xB7 114.3% "
            "after fees" },
        { "Nederlands", "Winkellijst\r\n3 x Wortelen\r\n2 x Gele plomp\r\nTotaal: 25,00 gB",
            kInBackground, true,
            "Pirk Percentage|25,00 gB: 90,0% boerderijprijs \xB7 102,9% markt \xB7 114,3% na "
            "kosten" },
        { "Fran\347ais",
            "Liste de courses\r\n3 x Carottes\r\n2 x N\xE9nuphar jaune\r\nTotal: 25 sV",
            kInBackground, true,
            "Ordinateur Pirk Pour Cent|25,00 sV : 90,0% du prix de la ferme \xB7 102,9% du "
            "march\xE9 \xB7 114,3% apr\xE8s frais" },
        // No market price for the plant on the server: the farm price alone.
        { "Deutsch", "2 x Tomate\r\nSumme: 1,50 wT", kInBackground, true,
            "Pirk Prozent|1,50 wT: 150,0% Bauernhofpreis" },
        // Items priced at zero because nobody knows them: no percentage that looks certain.
        { "Deutsch", "3 x Karotte\r\n1 x Zauberbohne\r\nSumme: 25,00 wT", kInBackground, true,
            "Pirk Prozent|25,00 wT: 1 Artikel unbekannt" },
        { "Fran\347ais", "1 x Haricot magique\r\n2 x Truc\r\nTotal: 25 sV", kInBackground, true,
            "Ordinateur Pirk Pour Cent|25,00 sV : 2 articles inconnus" },
        { "Deutsch", "Einkaufsliste", kInBackground, true, "" },
        { "Deutsch", "\tArtikel\tHerkunft\r\n3\tKarotte\t0,06=0,18\r\n\r\nSumme: 1 wT", kOwnCopy,
            false, "" },
        { "Deutsch", "https://example.org/einkaufsliste", kInBackground, false, "" },
        { "Deutsch", "", kInBackground, false, "" },
        { "Deutsch", kGermanList + std::string(kMaxListBytes, '\n'), kInBackground, false, "" },
        { "Deutsch", kGermanList, kWatchOff, false, "" },
        { "Deutsch", kGermanList, kWindowActive, false, "" },
        // The same list once more, also after another text: one verdict is enough.
        { "Deutsch", kGermanList, kAgain, false, "" },
    };
    for (const auto& c : cases) {
        WatchedWorld watched(c.language);
        if (c.copy & kAgain && watched.Copy(c.text) && !watched.Copy("https://example.org/"))
            watched.m_strShown.clear();
        const std::string label = c.text.substr(0, 40) + " " + std::to_string(c.copy);
        EXPECT_EQ(c.pasted,
            watched.Copy(c.text, c.copy & kOwnCopy, !(c.copy & kWatchOff), c.copy & kWindowActive))
            << label;
        EXPECT_EQ(c.shown.empty() ? "" : c.shown + "\n", watched.m_strShown) << label;
    }
}

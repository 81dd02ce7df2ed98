#include "calc/CalcFixtures.h"
#include "calc/ListReader.h"
#include "platform/TextCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string kExampleList = "Einkaufsliste\r\n3 x Karotte\r\n2 x gelbe Teichrose\r\n"
                                 "Summe: 25,00 wT\r\nProdukte jetzt verkaufen?";
const std::string kGermanHeader = "\tArtikel\tHerkunft\tMarkt\tPIrk\tPunkte";

const std::string kGermanExampleReport = kGermanHeader
    + "\r\n3\tKarotte\t0,06=0,18\t0,10=0,30\t0,05=0,15\t1"
      "\r\n2\tgelbe Teichrose\t13,80=27,60\t12,00=24,00\t11,42=22,83\t1"
      "\r\n"
      "\r\nSumme: 25,00 wT\t2 Punkte"
      "\r\n"
      "\r\n90,0% vom Bauernhofpreis (27,78 wT)"
      "\r\n102,9% vom Marktpreis (24,30 wT)"
      "\r\n114,3% vom Marktpreis minus 10% Geb\xFChr (21,87 wT)";

const std::string kEnglishExampleReport
    = "\tArticle\tOrigin\tMarket\tNPC\tPoints"
      "\r\n3\tCarrots\t0.06=0.18\t0.10=0.30\t0.05=0.15\t1"
      "\r\n2\tCow lily\t13.80=27.60\t12.00=24.00\t11.42=22.83\t1"
      "\r\n"
      "\r\nTotal: 25.00 gB\t2 Points"
      "\r\n"
      "\r\n90.0% of farm price (27.78 gB)"
      "\r\n102.9% of market price (24.30 gB)"
      "\r\n114.3% of market price minus 10% market fees (21.87 gB)";

TEST(OfferCalculator, ShippedProfileGivesTheWorkedExample)
{
    EXPECT_EQ(
        kGermanExampleReport, CShippedWorld("Deutsch").m_calc.Calculate(kExampleList).strReport);
    EXPECT_EQ(
        kEnglishExampleReport, CShippedWorld("English").m_calc.Calculate(kExampleList).strReport);
}

TEST(OfferCalculator, ReportCoversWhatCannotBePriced)
{
    const struct {
        const char* what;
        std::string list;
        bool withServer;
        std::string expected;
    } cases[] = {
        // An unknown plant keeps the name it was read with, priced at zero.
        { "unknown plant", "2 x Banane\r\n3 x Unbekannt Pflanze\r\nSumme: 1,00 wT", true,
            kGermanHeader
                + "\r\n2\tBanane\t0,00=0,00\t\t\t"
                  "\r\n3\tUnbekannt Pflanze\t0,00=0,00\t\t\t"
                  "\r\n\r\nSumme: 1,00 wT\t"
                  "\r\n\r\n0,0% vom Bauernhofpreis (0,00 wT)" },
        { "no total", "3 x Karotte", true,
            kGermanHeader
                + "\r\n3\tKarotte\t0,06=0,18\t0,10=0,30\t0,05=0,15\t1"
                  "\r\n\r\nSumme: 0,00 wT\t1 Punkte"
                  "\r\n\r\n0,0% vom Bauernhofpreis (0,18 wT)"
                  "\r\n0,0% vom Marktpreis (0,30 wT)"
                  "\r\n0,0% vom Marktpreis minus 10% Geb\xFChr (0,27 wT)" },
        { "no market prices", "3 x Karotte\nSumme: 1 wT", false,
            kGermanHeader
                + "\r\n3\tKarotte\t0,06=0,18\t\t0,05=0,15\t1"
                  "\r\n\r\nSumme: 1,00 wT\t1 Punkte"
                  "\r\n\r\n555,6% vom Bauernhofpreis (0,18 wT)" },
        { "same plant twice", "1 x Karotte\n1 x Karotte\nSumme: 1,00 wT", true,
            kGermanHeader
                + "\r\n1\tKarotte\t0,06=0,06\t0,10=0,10\t0,05=0,05\t1"
                  "\r\n1\tKarotte\t0,06=0,06\t0,10=0,10\t0,05=0,05\t1"
                  "\r\n\r\nSumme: 1,00 wT\t2 Punkte"
                  "\r\n\r\n833,3% vom Bauernhofpreis (0,12 wT)"
                  "\r\n500,0% vom Marktpreis (0,20 wT)"
                  "\r\n555,6% vom Marktpreis minus 10% Geb\xFChr (0,18 wT)" },
        { "NPC discount used up at 275 and negative beyond", "275 x Karotte\n300 x Karotte", false,
            kGermanHeader
                + "\r\n275\tKarotte\t0,06=16,50\t\t0,00=0,00\t1"
                  "\r\n300\tKarotte\t0,06=18,00\t\t0,00=-1,36\t1"
                  "\r\n\r\nSumme: 0,00 wT\t2 Punkte"
                  "\r\n\r\n0,0% vom Bauernhofpreis (34,50 wT)" },
        { "points that come out whole stay whole", "500 x gelbe Teichrose", false,
            kGermanHeader
                + "\r\n500\tgelbe Teichrose\t13,80=6900,00\t\t0,00=-4704,55\t240"
                  "\r\n\r\nSumme: 0,00 wT\t240 Punkte"
                  "\r\n\r\n0,0% vom Bauernhofpreis (6900,00 wT)" },
        { "no item", "Einkaufsliste\r\nSumme: 1,00 wT\r\nProdukte jetzt verkaufen?", true, "" },
        { "empty input", "", true, "" },
    };
    for (const auto& c : cases) {
        CCalcWorld world(Language::German);
        if (c.withServer)
            AddExampleServer(world);
        EXPECT_EQ(c.expected, world.m_calc.Calculate(c.list).strReport) << c.what;
    }
}

TEST(OfferCalculator, ZeroFarmTotalGivesZeroPercent)
{
    CCalcWorld world(Language::German);
    world.AddPlant("Testkraut", { "1", "0", "500" }, "Testkraut");
    EXPECT_EQ(kGermanHeader
            + "\r\n1\tTestkraut\t0,00=0,00\t\t\t1"
              "\r\n\r\nSumme: 9,00 wT\t1 Punkte"
              "\r\n\r\n0,0% vom Bauernhofpreis (0,00 wT)",
        world.m_calc.Calculate("1 x Testkraut\nSumme: 9 wT").strReport);
}

// Absurd sums and prices give a report of ordinary numbers, never "inf", "nan" or 309 digits.
TEST(OfferCalculator, AbsurdTotalsGiveAReadableReport)
{
    for (const auto& [farmPrice, sum, summary] :
        std::vector<std::tuple<const char*, std::string, const char*>> {
            { "0,06", "1e400", "Summe: 0,00 wT" },
            { "0,06", std::string(309, '9'), "Summe: 0,00 wT" },
            { "0,06", "-1e13", "Summe: 0,00 wT" },
            { "1e-300", "25", "\r\n0,0% vom Bauernhofpreis" },
            { "1e300", "25", "\r\n0,0% vom Bauernhofpreis (0,00 wT)" } }) {
        CCalcWorld world(Language::German);
        world.AddPlant("Testkraut", { "1", "0", "500", "", "", farmPrice }, "Testkraut");
        const std::string report
            = world.m_calc.Calculate("3 x Testkraut\nSumme: " + sum + " wT").strReport;
        EXPECT_NE(report.find(summary), std::string::npos) << report;
        EXPECT_TRUE(report.find("inf") == report.find("nan") && report.size() < 200) << report;
    }
}

// Decimal replacement applies to whole formatted pieces, labels included, but never to the
// header or to points.
TEST(OfferCalculator, DecimalTextReplacesPointsInPricedPiecesOnly)
{
    CCalcWorld world(Language::German);
    AddExampleServer(world);
    for (const auto& [key, text] : { std::pair { "Txt_Decimal", "" }, { "Txt_Article", "Art." },
             { "Txt_Points", "Pkt." }, { "Txt_Total", "Ges. Summe" } })
        world.m_texts.m_mapTexts[MakeUpper(key)] = text;
    world.m_calc.ReadTexts();
    EXPECT_EQ("\tArt.\tHerkunft\tMarkt\tPIrk\tPkt."
              "\r\n3\tKarotte\t006=018\t010=030\t005=015\t1"
              "\r\n2\tgelbe Teichrose\t1380=2760\t1200=2400\t1142=2283\t1"
              "\r\n"
              "\r\nGes Summe: 2500 wT\t2 Pkt."
              "\r\n"
              "\r\n900% vom Bauernhofpreis (2778 wT)"
              "\r\n1029% vom Marktpreis (2430 wT)"
              "\r\n1143% vom Marktpreis minus 10% Geb\xFChr (2187 wT)",
        world.m_calc.Calculate(kExampleList).strReport);
}

TEST(OfferCalculator, CalculatesBeforeTheTextsAreRead)
{
    CCalcWorld world(Language::German);
    AddExampleServer(world);
    world.m_texts.m_mapTexts.clear();
    world.m_calc.ReadTexts();
    world.m_calc.SetDateLabel("");
    const CCalculation result = world.m_calc.Calculate(kExampleList);
    EXPECT_EQ(0u, result.strReport.find("\t\t\t\t\t\r\n3\tKarotte\t006=018\t010=030\t005=015\t1"));
    EXPECT_EQ(" 6.12.26 09:05", result.strDateLabel);
}

TEST(OfferCalculator, LabelsShowTheSelectedServersDates)
{
    CCalcWorld world(Language::German);
    CCalculation result = world.m_calc.Calculate("");
    EXPECT_EQ("Daten von: (noch nicht geladen)", result.strDateLabel);
    EXPECT_EQ("Marktpreise von: ", result.strMarketLabel);

    AddExampleServer(world);
    result = world.m_calc.Calculate("");
    EXPECT_EQ("Daten von: 6.12.26 09:05", result.strDateLabel);
    EXPECT_EQ("Marktpreise von: 05.12.2026 18:00", result.strMarketLabel);

    // The market label's text is looked up on every run, the others once.
    world.m_texts.m_mapTexts[MakeUpper("Txt_DateMarket")] = "Stand:";
    world.m_texts.m_mapTexts[MakeUpper("Txt_DefaultDate")] = "nie";
    world.m_calc.SelectServer("Server 2");
    result = world.m_calc.Calculate("");
    EXPECT_EQ("Daten von: (noch nicht geladen)", result.strDateLabel);
    EXPECT_EQ("Stand: ", result.strMarketLabel);
}

TEST(OfferCalculator, PriceListPaneShowsStoredTextsWithTheDecimalText)
{
    CCalcWorld world(Language::English);
    world.AddServer(
        "Server 1", { { "Karotte", "0,10" }, { "gelbe Teichrose", "12,00" }, { "Salat", "1.5" } });
    world.m_calc.RebuildMarketPrices();
    world.m_settings.SetOriginMask(1);
    EXPECT_EQ("\tOrigin\tMarket"
              "\r\nCarrots\t0,06\t0,10"
              "\r\nLettuce\t0,08\t1.5"
              "\r\nPumpkins\t22,80\t0,0",
        world.m_calc.Calculate("").strPriceList);

    CCalcWorld german(Language::German);
    german.AddServer("Server 1", { { "Salat", "1.5" } });
    german.m_calc.RebuildMarketPrices();
    german.m_settings.SetOriginMask(1);
    german.m_settings.SetMaxLevel(1);
    EXPECT_EQ("\tHerkunft\tMarkt\r\nKarotte\t0,06\t0,0\r\nSalat\t0,08\t1,5",
        german.m_calc.Calculate("").strPriceList);
}

std::vector<std::string> PaneNames(const std::string& pane)
{
    std::vector<std::string> names;
    for (size_t row = pane.find("\r\n"); row != std::string::npos; row = pane.find("\r\n", row + 2))
        names.push_back(pane.substr(row + 2, pane.find('\t', row) - row - 2));
    return names;
}

TEST(OfferCalculator, PriceListPaneFiltersByLevelAndOriginButTheReportDoesNot)
{
    const struct {
        int maxLevel;
        int originMask;
        std::vector<std::string> names;
    } cases[] = {
        { 99, -1,
            { "Brombeere", "gelbe Teichrose", "Himbeere", "Karotte", "K\xFCrbis", "Ringelblume",
                "Salat", "Steinpilz", "Testkraut" } },
        { 10, -1, { "Himbeere", "Karotte", "Ringelblume", "Salat", "Testkraut" } },
        { 99, 0b00101, { "Karotte", "K\xFCrbis", "Ringelblume", "Salat", "Testkraut" } },
        { 99, 0b11010, { "Brombeere", "gelbe Teichrose", "Himbeere", "Steinpilz" } },
        { 99, 0, {} },
        { 0, -1, {} },
    };
    for (const auto& c : cases) {
        CCalcWorld world(Language::German);
        world.AddPlant("Testkraut", { "1", "0", "0", "1", "1", "0,5" }, "Testkraut");
        world.AddPlant("Leerkraut", { "1", "0", "0", "1", "1", "0,00" }, "Leerkraut");
        // Through the document: the setter would raise a level of 0 to 1.
        world.m_profile.WriteInt("Settings", "MaxLevel", c.maxLevel);
        world.m_profile.WriteInt("Settings", "OriginMask", c.originMask);
        world.m_settings.ReadMirrors();
        const CCalculation result = world.m_calc.Calculate("1 x Steinpilz");
        EXPECT_EQ(c.names, PaneNames(result.strPriceList)) << c.maxLevel << " " << c.originMask;
        EXPECT_NE(std::string::npos, result.strReport.find("1\tSteinpilz\t32,00=32,00"));
    }
}

// 1 << 32 and 1 << -1 would be undefined; such origins have no bit and are not shown.
TEST(OfferCalculator, OriginsWithoutAMaskBitAreNotListed)
{
    CCalcWorld world(Language::German);
    world.AddPlant("Kraut31", { "1", "31", "0", "1", "1", "1,00" }, "Kraut31");
    world.AddPlant("Kraut32", { "1", "32", "0", "1", "1", "1,00" }, "Kraut32");
    world.AddPlant("KrautMinus", { "1", "-1", "0", "1", "1", "1,00" }, "KrautMinus");
    world.AddPlant(
        "KrautHuge", { "1", "99999999999999999999", "0", "1", "1", "1,00" }, "KrautHuge");
    world.AddPlant("KrautText", { "1", "drei", "0", "1", "1", "1,00" }, "KrautText");
    world.m_settings.SetOriginMask(-1);
    const std::vector<std::string> all = PaneNames(world.m_calc.Calculate("").strPriceList);
    EXPECT_EQ(1, std::count(all.begin(), all.end(), "Kraut31"));
    EXPECT_EQ(1, std::count(all.begin(), all.end(), "KrautText")) << "no number reads as origin 0";
    for (const char* name : { "Kraut32", "KrautMinus", "KrautHuge" })
        EXPECT_EQ(0, std::count(all.begin(), all.end(), name)) << name;

    world.m_settings.SetOriginMask(1);
    const std::vector<std::string> farm = PaneNames(world.m_calc.Calculate("").strPriceList);
    EXPECT_EQ(0, std::count(farm.begin(), farm.end(), "Kraut31"));
    EXPECT_EQ(0, std::count(farm.begin(), farm.end(), "Kraut32"));
}

TEST(OfferCalculator, RebuildTakesTheServersPricesCappedAtTheFarmPriceOnRequest)
{
    const struct {
        Language language;
        bool maxFarm;
        bool downloaded;
        const char* karotte;
        const char* teichrose;
    } cases[] = {
        { Language::German, false, true, "0,10", "12,00" },
        { Language::German, true, true, "0,06", "12,00" },
        { Language::English, true, true, "0,06", "12,00" },
        { Language::German, true, false, "0,00", "0,00" },
        { Language::German, false, false, "0,00", "0,00" },
    };
    for (const auto& c : cases) {
        CCalcWorld world(c.language);
        if (c.downloaded)
            AddExampleServer(world);
        world.m_settings.SetMaxLevel(99);
        world.m_settings.SetCapAtFarmPrice(c.maxFarm);
        world.m_calc.RebuildMarketPrices();
        const COfferCalculator& calc = world.m_calc;
        EXPECT_EQ(8,
            std::count_if(world.m_catalog.m_astrPlants.begin(), world.m_catalog.m_astrPlants.end(),
                [&](const std::string& plant) { return calc.MarketPrice(MakeUpper(plant)); }));
        EXPECT_EQ(c.karotte, calc.MarketPrice("KAROTTE")) << c.maxFarm << c.downloaded;
        EXPECT_EQ(c.teichrose, calc.MarketPrice("GELBE TEICHROSE")) << c.maxFarm << c.downloaded;
    }
}

TEST(OfferCalculator, CapChangesOnlyTheEffectiveTableNeverTheCache)
{
    CCalcWorld world(Language::German);
    world.AddServer("Server 1", { { "Karotte", "0,10" }, { "Salat", "0,05" } });
    world.m_settings.SetCapAtFarmPrice(true);
    world.m_calc.RebuildMarketPrices();
    EXPECT_EQ("0,06", world.m_calc.MarketPrice("KAROTTE"));
    EXPECT_EQ("0,05", world.m_calc.MarketPrice("SALAT"));
    EXPECT_EQ("0,10", world.m_servers.GetServerValue("Server 1", "Karotte", ""));

    world.m_settings.SetCapAtFarmPrice(false);
    world.m_calc.RebuildMarketPrices();
    EXPECT_EQ("0,10", world.m_calc.MarketPrice("KAROTTE"));
}

TEST(OfferCalculator, SetMarketPriceTakesPricesAboveZeroUpToAThousand)
{
    const struct {
        Language language;
        const char* name;
        const char* text;
        const char* stored; // nullptr: refused
    } cases[] = {
        { Language::German, "Karotte", "12,5", "12,50" },
        { Language::English, "Carrots", "12,5", "12.50" },
        { Language::German, "karotte", "1000", "1000,00" },
        { Language::German, "Karotte", "1000,01", nullptr },
        { Language::German, "Karotte", "0", nullptr },
        { Language::German, "Karotte", "-3", nullptr },
        { Language::German, "Karotte", "abc", nullptr },
        { Language::German, "Karotte", "", nullptr },
        { Language::German, "Banane", "5", nullptr },
        { Language::German, "Karotte", "0,004", "0,00" },
    };
    for (const auto& c : cases) {
        CCalcWorld world(c.language);
        AddExampleServer(world);
        const bool taken = world.m_calc.SetMarketPrice(c.name, c.text);
        EXPECT_EQ(c.stored != nullptr, taken) << c.name << " " << c.text;
        const std::string expected = c.stored ? c.stored : "0,10";
        EXPECT_EQ(expected, world.m_calc.MarketPrice("KAROTTE")) << c.text;
        EXPECT_EQ(expected, world.m_servers.GetServerValue("Server 1", "Karotte", ""));
        EXPECT_EQ(c.stored ? c.stored : "", world.m_profile.GetString("Server 1", "Karotte", ""));
        EXPECT_FALSE(world.m_calc.MarketPrice("BANANE"));
    }
}

TEST(OfferCalculator, ManualPriceLastsThroughARebuild)
{
    CCalcWorld world(Language::German);
    AddExampleServer(world);
    ASSERT_TRUE(world.m_calc.SetMarketPrice("gelbe Teichrose", "9,99"));
    world.m_calc.RebuildMarketPrices();
    EXPECT_EQ("9,99", world.m_calc.MarketPrice("GELBE TEICHROSE"));
    EXPECT_NE(
        std::string::npos, world.m_calc.Calculate(kExampleList).strReport.find("\t9,99=19,98\t"));
}

TEST(OfferCalculator, ManualPriceWithoutACachedTableLastsUntilTheNextRebuild)
{
    CCalcWorld world(Language::German);
    world.m_calc.SelectServer("Server 9");
    world.m_calc.RebuildMarketPrices();
    ASSERT_TRUE(world.m_calc.SetMarketPrice("Karotte", "0,20"));
    EXPECT_EQ("0,20", world.m_calc.MarketPrice("KAROTTE"));
    EXPECT_EQ(nullptr, world.m_profile.FindSection("Server 9"));
    world.m_calc.RebuildMarketPrices();
    EXPECT_EQ("0,00", world.m_calc.MarketPrice("KAROTTE"));
}

// The stored price must read back as typed; a decimal text that is neither a point nor a
// comma would store 12.50 as "1250".
TEST(OfferCalculator, ManualPriceIsStoredReadableWhateverTheDecimalText)
{
    for (const char* decimal : { "", "<>" }) {
        CCalcWorld world(Language::German);
        AddExampleServer(world);
        world.m_texts.m_mapTexts[MakeUpper("Txt_Decimal")] = decimal;
        world.m_calc.ReadTexts();
        ASSERT_TRUE(world.m_calc.SetMarketPrice("Karotte", "12,5"));
        EXPECT_EQ("12,50", world.m_servers.GetServerValue("Server 1", "Karotte", "")) << decimal;
    }
}

// A list past the bound is priced up to its last whole line within it, and the report's
// last line says so in the user's language.
TEST(OfferCalculator, AListPastTheBoundIsPricedUpToItAndSaysSo)
{
    std::string atBound = "    1 x Karotte\n"; // 16 bytes, then lines of 12 up to the bound
    while (atBound.size() < kMaxListBytes)
        atBound += "1 x Karotte\n";
    const std::tuple<const char*, std::string, std::string> cases[] = {
        { "Deutsch", atBound, "wT)" },
        { "Deutsch", atBound + "2 x Salat",
            "\r\n\r\nDie Liste ist zu lang: berechnet sind nur ihre ersten 256 KB." },
        // The line that crosses the bound is left out whole, not read as "Karotte2".
        { "English", atBound.substr(0, kMaxListBytes - 1) + "2 x Salat\n",
            "\r\n\r\nThe list is too long: only its first 256 KB are priced." },
    };
    for (const auto& [language, text, end] : cases) {
        const std::string report = CShippedWorld(language).m_calc.Calculate(text).strReport;
        EXPECT_EQ(report.find("\r\n2\t"), std::string::npos) << language;
        EXPECT_EQ(report.find("Karotte2"), std::string::npos) << language;
        EXPECT_TRUE(report.ends_with(end)) << report.substr(report.size() - 100);
    }
}

} // namespace

#include "config/CatalogLoader.h"
#include "config/PlantCatalog.h"
#include "config/PlantTables.h"
#include "config/Texts.h"
#include "platform/TextCase.h"

#include "ProfileTestText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

// What the loader fills for one chosen language.
struct LoadedCatalog {
    CTexts texts;
    CPlantCatalog catalog;
    CPlantTables tables;

    explicit LoadedCatalog(CIniFile& profile)
    {
        texts.LoadTexts(profile);
        LoadPlantCatalog(profile, texts, catalog, tables);
        catalog.LoadTranslations(profile);
    }

    Fields FieldsOf(const std::string& plant) const
    {
        const std::string upper = MakeUpper(plant);
        return { CPlantTables::Field(tables.m_mapLevel, upper),
            CPlantTables::Field(tables.m_mapOrigin, upper),
            CPlantTables::Field(tables.m_mapPoints, upper),
            CPlantTables::Field(tables.m_mapTime, upper),
            CPlantTables::Field(tables.m_mapFields, upper),
            CPlantTables::Field(tables.m_mapOriginPrice, upper),
            CPlantTables::Field(tables.m_mapNpcPrice, upper) };
    }
};

void ReadDefaultProfileIn(CIniFile& profile, const std::string& language)
{
    profile.SetAutoSave(false);
    ReadDefaultProfile(profile);
    profile.WriteString("Settings", "Lang", language);
}

const char* const kLanguages[] = { "Deutsch", "English", "Nederlands",
    "Fran\xE7"
    "ais" };

} // namespace

TEST(Catalog, RecordSplitsIntoSevenTrimmedFields)
{
    struct Case {
        const char* record;
        Fields fields;
    } const cases[] = {
        { "  1 ; 0 ;  0 ; 10 ; 1 ; 0,06 ; 0,05  ", { "1", "0", "0", "10", "1", "0,06", "0,05" } },
        { "12;1", { "12", "1", "", "", "", "", "" } },
        { "", { "", "", "", "", "", "", "" } },
        { "1;2;3;4;5;6;7;8;9", { "1", "2", "3", "4", "5", "6", "7" } },
        { "a ;\t; b c ;", { "a", "", "b c", "", "", "", "" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fields, SplitPlantRecord(c.record)) << c.record;
}

// Names equal but for case fall back to byte order, so the order never depends on the
// catalogue's; a name that occurs twice keeps both entries.
TEST(Catalog, DisplayNamesSortIgnoringCaseAndEqualNamesFallBackToByteOrder)
{
    CIniFile profile;
    ReadProfileText(profile,
        "[Settings]\r\nLang=X\r\n[Lang]\r\nX=Texts X\r\n"
        "[Texts X]\r\nTxt_Zeta=beta\r\nTxt_Alpha=Beta\r\nTxt_Delta=alpha\r\n"
        "[Plants]\r\nZeta=1;0\r\nAlpha=2;1\r\nGamma=3;2\r\nDelta=4;3\r\n");
    LoadedCatalog loaded(profile);

    EXPECT_EQ((Fields { "", "alpha", "Beta", "beta" }), loaded.tables.m_astrDisplayNames);
    EXPECT_EQ((Fields { "Zeta", "Alpha", "Gamma", "Delta" }), loaded.tables.m_astrPlantNames);
    EXPECT_EQ("Beta", loaded.tables.m_mapPlantToDisplay.at("Alpha"));
    EXPECT_EQ("", loaded.tables.m_mapPlantToDisplay.at("Gamma"));
    EXPECT_EQ((Fields { "2", "1", "", "", "", "", "" }), loaded.FieldsOf("alpha"));
    EXPECT_EQ("Delta", loaded.catalog.TranslatePlantName("DELTA"));
}

TEST(Catalog, OldProfilesNameTheirPlantsInBauernhof)
{
    CIniFile old;
    ReadProfileText(old, "[Bauernhof]\r\nKarotte=1;0;0;10;1;0,06;0,05\r\nSalat=8;8\r\n");
    LoadedCatalog loaded(old);
    EXPECT_EQ((Fields { "Karotte", "Salat" }), loaded.catalog.m_astrPlants);
    // Records are only ever read from [Plants].
    EXPECT_EQ((Fields { "", "", "", "", "", "", "" }), loaded.FieldsOf("Karotte"));

    CIniFile both;
    ReadProfileText(both,
        "[Bauernhof]\r\nKarotte=9;9\r\nSalat=8;8\r\n"
        "[Plants]\r\nKarotte=1;0;0;10;1;0,06;0,05\r\n");
    EXPECT_EQ((Fields { "Karotte" }), LoadedCatalog(both).catalog.m_astrPlants);
}

TEST(Catalog, WithoutAPlantSectionThePlantListStaysAsItWas)
{
    CIniFile profile;
    ReadProfileText(profile, "[Settings]\r\n");
    CPlantCatalog catalog;
    catalog.m_astrPlants = { "Karotte" };
    catalog.ReadPlantNames(profile);
    EXPECT_EQ((Fields { "Karotte" }), catalog.m_astrPlants);
}

TEST(Catalog, TranslationsTakeTheFirstNonEmptyValueAndMayReplaceAPlant)
{
    CIniFile profile;
    ReadProfileText(profile,
        "[Plants]\r\nApfel=13;1\r\nBirne=14;1\r\n"
        "[Umsetzen]\r\nApples=Apfel\r\napples=Birne\r\nPear=\r\n"
        "Birne=Apfel\r\n");
    LoadedCatalog loaded(profile);
    const CPlantCatalog& catalog = loaded.catalog;

    struct Case {
        const char* name;
        const char* canonical;
    } const cases[] = {
        { "Apples", "Apfel" },
        { "APPLES", "Apfel" },
        { "apfel", "Apfel" },
        { "birne", "Apfel" },
        { "Pear", "Pear" },
        { "Unknown plant ", "Unknown plant " },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.canonical, catalog.TranslatePlantName(c.name)) << c.name;
}

TEST(Catalog, DefaultCatalogueKeepsTheStoredFields)
{
    CIniFile profile;
    ReadDefaultProfileIn(profile, "Deutsch");
    LoadedCatalog loaded(profile);

    EXPECT_EQ(64u, loaded.tables.m_astrPlantNames.size());
    EXPECT_EQ("Karotte", loaded.tables.m_astrPlantNames.front());
    EXPECT_EQ((Fields { "1", "0", "1", "14", "1", "0,08", "0,07" }), loaded.FieldsOf("Salat"));
    EXPECT_EQ((Fields { "1", "0", "0", "10", "1", "0,06", "0,05" }), loaded.FieldsOf("KAROTTE"));
    EXPECT_EQ(
        (Fields { "11", "1", "0", "2880", "1", "30,00", "12,50" }), loaded.FieldsOf("Brombeere"));
    EXPECT_EQ((Fields { "19", "3", "240", "600", "1", "13,80", "11,50" }),
        loaded.FieldsOf("gelbe Teichrose"));
    // Names of every game language, the price list's date label, and a name nobody knows.
    for (const auto& [name, plant] :
        std::vector<std::pair<const char*, const char*>> { { "Apples", "Apfel" },
            { "APPLES", "Apfel" }, { "apfel", "Apfel" }, { "Datum/Uhrzeit", "Stand" },
            { "Carrots", "Karotte" }, { "Karotten", "Karotte" }, { "Krokusse", "Krokus" },
            { "Wallnuss", "Walnuss" }, { "Aardappelen", "Kartoffel" }, { "Ail", "Knoblauch" },
            { "Cow lily", "gelbe Teichrose" }, { "Pumpernickel", "Pumpernickel" } })
        EXPECT_EQ(plant, loaded.catalog.TranslatePlantName(name)) << name;
}

TEST(Catalog, DefaultDisplayNamesAreSortedInEveryLanguage)
{
    for (const char* language : kLanguages) {
        CIniFile profile;
        ReadDefaultProfileIn(profile, language);
        LoadedCatalog loaded(profile);
        const Fields& names = loaded.tables.m_astrDisplayNames;

        ASSERT_EQ(64u, names.size()) << language;
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const auto& a, const auto& b) {
            return CompareForSorting(a, b) < 0;
        })) << language;
        EXPECT_EQ(0, std::count(names.begin(), names.end(), "")) << language;
    }
}

// A catalogue is a file's content: sorting its names must not cost the square of their number.
TEST(Catalog, TwentyThousandDisplayNamesSortInLinearithmicTime)
{
    CIniFile profile;
    ReadDefaultProfileIn(profile, "Deutsch");
    std::uint32_t seed = 7;
    const auto letter = [&seed] {
        seed = seed * 1103515245u + 12345u;
        static const char letters[] = "aAbB\xE4\xC4oO\xF6\xD6sS\xDF";
        return letters[(seed >> 16) % (sizeof letters - 1)];
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string key = "Pflanze" + std::to_string(i);
        std::string display(1 + i % 9, ' ');
        for (char& c : display)
            c = letter();
        profile.WriteString("Plants", key, "1;0;1;10;1;0,06;0,05");
        profile.WriteString("Texts Deutsch", "Txt_" + key, display);
    }

    LoadedCatalog loaded(profile);
    const auto start = std::chrono::steady_clock::now();
    LoadDisplayNames(loaded.catalog, loaded.texts, loaded.tables);
    const auto seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const Fields& names = loaded.tables.m_astrDisplayNames;
    ASSERT_EQ(20064u, names.size());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
        [](const auto& a, const auto& b) { return CompareForSorting(a, b) < 0; }));
    EXPECT_LT(seconds, 2.5);
}

TEST(Catalog, DisplayNamesOfTheExamples)
{
    CIniFile english;
    ReadDefaultProfileIn(english, "English");
    const Fields& englishNames = LoadedCatalog(english).tables.m_astrDisplayNames;
    EXPECT_EQ((Fields { "Angel's trumpet", "Apples", "Asparagus", "Basil" }),
        Fields(englishNames.begin(), englishNames.begin() + 4));

    CIniFile german;
    ReadDefaultProfileIn(german, "Deutsch");
    const Fields germanNames = LoadedCatalog(german).tables.m_astrDisplayNames;
    const auto teichrose = std::find(germanNames.begin(), germanNames.end(), "gelbe Teichrose");
    // A byte-wise sort would put it behind every capital, at the very end.
    ASSERT_NE(germanNames.end(), teichrose);
    ASSERT_NE(germanNames.begin(), teichrose);
    ASSERT_NE(germanNames.end(), teichrose + 1);
    const auto initial = [](const std::string& name) {
        return static_cast<unsigned char>(UpperChar(name.front()));
    };
    EXPECT_LE(initial(teichrose[-1]), 'G') << teichrose[-1];
    EXPECT_EQ('G', initial(teichrose[1])) << teichrose[1];
}

TEST(Catalog, EveryDisplayNameTranslatesBackToItsPlant)
{
    for (const char* language : kLanguages) {
        CIniFile profile;
        ReadDefaultProfileIn(profile, language);
        LoadedCatalog loaded(profile);
        for (const std::string& plant : loaded.tables.m_astrPlantNames) {
            const std::string& display = loaded.tables.m_mapPlantToDisplay.at(plant);
            EXPECT_EQ(plant, loaded.catalog.TranslatePlantName(display))
                << language << ": " << display;
            if (language == kLanguages[0]) {
                EXPECT_EQ(plant, display); // German shows the plants' own names
            }
        }
    }
}

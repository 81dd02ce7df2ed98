#include "config/CatalogLoader.h"
#include "config/DefaultProfileData.h"
#include "config/Resource.h"
#include "platform/Cp1252.h"
#include "platform/TextCase.h"
#include "platform/Version.h"
#include "profile/ProfileText.h"

#include "ProfileTestText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The default profile is what every user starts with: these tests read the embedded bytes and
// check the shape and the data the program relies on.

namespace {

using Strings = std::vector<std::string>;

// Test literals are UTF-8; the profile is Windows-1252.
std::string Cp(std::string_view utf8)
{
    return Utf8ToCp1252(utf8);
}

Strings CpAll(const Strings& utf8)
{
    Strings result;
    for (const std::string& text : utf8)
        result.push_back(Cp(text));
    return result;
}

CIniFile& DefaultProfile()
{
    static const std::unique_ptr<CIniFile> profile = ReadProfile(DefaultProfileBytes());
    return *profile;
}

const CIniSection& Section(std::string_view name)
{
    const CIniSection* section = DefaultProfile().FindSection(name);
    if (!section) {
        ADD_FAILURE() << "no section " << name;
        static const CIniSection empty("");
        return empty;
    }
    return *section;
}

Strings Keys(std::string_view section, bool withValues = false)
{
    Strings keys;
    Section(section).GetKeys(keys, withValues);
    return keys;
}

Strings ServerNames()
{
    Strings names;
    for (int n = 1; n <= 50; ++n)
        names.push_back("Server " + std::to_string(n));
    for (int n = 1; n <= 10; ++n)
        names.push_back("Server " + std::to_string(n) + " English");
    for (int n = 1; n <= 5; ++n)
        names.push_back("Server " + std::to_string(n) + " NL");
    for (int n = 1; n <= 5; ++n)
        names.push_back("Serveur " + std::to_string(n) + " FR");
    return names;
}

const char* const kTextSections[]
    = { "Texts Deutsch", "Texts English", "Texts NL", "Texts Francais" };

// Catalogue names in [Plants] order with their seven fields.
struct PlantRow {
    const char* name;
    const char* fields;
};
const PlantRow kPlants[] = {
    { "Karotte", "1;0;0;10;1;0,06;0,05" },
    { "Salat", "1;0;1;14;1;0,08;0,07" },
    { "Gurke", "2;0;0;40;1;0,14;0,12" },
    { "Radieschen", "2;0;0;50;1;0,22;0,18" },
    { "Erdbeere", "3;0;0;120;1;0,44;0,37" },
    { "Tomate", "3;0;0;140;1;0,50;0,42" },
    { "Zwiebel", "4;0;0;480;1;1,76;1,47" },
    { "Spinat", "4;0;0;560;1;2,10;1,75" },
    { "Ringelblume", "5;2;0;360;1;1,80;1,20" },
    { "Blumenkohl", "5;0;0;1000;1;3,78;3,15" },
    { "Kartoffel", "6;0;0;960;1;3,60;3,00" },
    { "Knoblauch", "6;0;0;1320;1;5,10;4,25" },
    { "Brokkoli", "7;0;0;1200;1;4,48;3,73" },
    { "Paprika", "7;0;0;2400;1;7,32;6,10" },
    { "Sonnenblume", "8;2;0;300;1;1,50;1,30" },
    { "Spargel", "8;0;0;2520;2;7,80;6,50" },
    { "Aubergine", "9;0;0;2880;1;8,88;7,40" },
    { "Zucchini", "9;0;0;2880;1;11,04;9,20" },
    { "Heidelbeere", "10;0;0;1920;1;5,04;4,20" },
    { "Himbeere", "10;1;0;2880;1;7,60;7,60" },
    { "Johannisbeere", "11;1;0;2160;1;5,75;4,79" },
    { "Brombeere", "11;1;0;2880;1;30,00;12,50" },
    { "Rose", "12;2;0;420;1;3,50;2,80" },
    { "Mirabelle", "12;1;0;8640;4;56,28;46,90" },
    { "Apfel", "13;1;0;5760;4;30,96;25,80" },
    { "Kürbis", "13;0;0;8640;1;22,80;19,00" },
    { "Birne", "14;1;0;7200;4;46,80;39,00" },
    { "Kirsche", "14;1;0;11520;4;41,40;34,50" },
    { "Pflaume", "15;1;0;14400;4;62,40;52,00" },
    { "Traube", "15;1;0;720;2;22,10;18,34" },
    { "Walnuss", "16;1;0;20160;4;68,40;57,00" },
    { "Basilikum", "16;0;0;1080;1;8,95;7,43" },
    { "Lilie", "17;2;0;980;1;8,00;8,00" },
    { "Champignon", "17;0;0;2880;2;32,49;26,97" },
    { "Orchidee", "18;2;0;5760;1;55,00;55,00" },
    { "Kornblume", "18;2;0;360;1;1,90;1,90" },
    { "Krokus", "19;2;0;420;1;2,40;2,40" },
    { "Olive", "19;1;0;14400;4;78,00;78,00" },
    { "Tulpe", "20;2;0;1200;1;4,00;3,40" },
    { "Rotkohl", "20;0;0;4320;1;18,00;15,30" },
    { "Gerbera", "21;2;0;560;1;3,00;2,60" },
    { "Lavendel", "21;2;0;7200;2;66,60;56,60" },
    { "Kaffee", "22;0;0;15000;2;137,50;113,44" },
    { "Zitrone", "22;1;0;960;4;44,98;37,33" },
    { "Orange", "23;1;0;5760;4;102,00;84,66" },
    { "Kakao", "23;0;0;1260;4;45,66;37,90" },
    { "Engelstrompete", "25;1;0;6360;4;118,12;98,43" },
    { "Bohne", "26;0;0;1700;1;26,83;22,36" },
    { "gelbe Teichrose", "19;3;240;600;1;13,80;11,50" },
    { "Scheincalla", "19;3;432;540;2;13,22;11,01" },
    { "Sumpfdotterblume", "19;3;144;360;1;11,71;9,76" },
    { "Wassersellerie", "20;3;640;800;4;28,36;23,63" },
    { "Rohrkolben", "21;3;576;720;2;27,20;22,67" },
    { "Reis", "21;3;288;720;1;17,18;14,32" },
    { "Wasserfeder", "21;3;376;940;1;36,20;30,17" },
    { "Krebsschere", "22;3;424;1060;1;21,22;17,68" },
    { "Schwertlilie", "22;3;1888;1180;4;39,60;33,00" },
    { "Seerose", "23;3;2112;1320;4;95,12;79,26" },
    { "Wasserknöterich", "24;3;616;1540;1;37,26;31,05" },
    { "Steinpilz", "17;4;0;720;4;32,00;32,00" },
    { "Pfifferling", "17;4;0;1440;4;37,00;37,00" },
    { "Speisemorchel", "17;4;0;1080;4;38,00;38,00" },
    { "Kräuter-Seitling", "17;4;0;3120;4;48,00;48,00" },
    { "Riesenträuschling", "17;4;0;2880;4;53,00;53,00" },
};

Strings PlantNames()
{
    Strings names;
    for (const PlantRow& row : kPlants)
        names.push_back(Cp(row.name));
    return names;
}

} // namespace

TEST(Resource, LoadsOnlyTheDefaultProfileByNumberAndType)
{
    struct Case {
        int id;
        const char* type;
        bool found;
    } const cases[] = {
        { 129, "TXT", true },
        { 128, "TXT", false },
        { 130, "TXT", false },
        { 129, "RCDATA", false },
        { 129, "", false },
        { 0, "TXT", false },
    };
    for (const Case& c : cases) {
        CResource resource;
        EXPECT_EQ(resource.Load(c.id, c.type), c.found) << c.id << " " << c.type;
        EXPECT_EQ(resource.Data() != nullptr, c.found) << c.id << " " << c.type;
        EXPECT_EQ(resource.Size(), c.found ? kDefaultProfileSize : 0u);
    }
}

TEST(Resource, FailedLoadAndFreeDropWhatWasHeld)
{
    CResource resource;
    ASSERT_TRUE(resource.Load(129, "TXT"));
    EXPECT_FALSE(resource.Load(129, "HTML"));
    EXPECT_EQ(resource.Data(), nullptr);
    EXPECT_EQ(resource.Size(), 0u);
    EXPECT_EQ(resource.Type(), "HTML");

    ASSERT_TRUE(resource.Load(129, "TXT"));
    resource.Free();
    EXPECT_EQ(resource.Data(), nullptr);
    EXPECT_EQ(resource.Size(), 0u);
    EXPECT_EQ(resource.Id(), 0);
    EXPECT_EQ(resource.Type(), "");
}

TEST(DefaultProfile, IsWindows1252TextWithCrLfLineEnds)
{
    const std::string_view bytes(
        reinterpret_cast<const char*>(kDefaultProfileData), kDefaultProfileSize);
    EXPECT_GE(bytes.size(), 40'000u);
    EXPECT_LE(bytes.size(), 80'000u);
    ASSERT_TRUE(bytes.ends_with("\r\n"));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            ASSERT_EQ(bytes[i - 1], '\r') << "bare line feed at byte " << i;
        } else if (byte == '\r') {
            ASSERT_EQ(bytes[i + 1], '\n') << "bare carriage return at byte " << i;
        } else {
            ASSERT_TRUE(byte >= 0x20 && byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90
                && byte != 0x9D)
                << "byte " << int(byte) << " at " << i << " is no Windows-1252 character";
        }
    }
}

TEST(DefaultProfile, SectionsComeInFileOrder)
{
    Strings expected = { "", "Lang", "Settings", "Texts Deutsch", "Texts English", "Texts NL",
        "Texts Francais", "Plants", "Liste", "Umsetzen", "Preislisten" };
    for (const std::string& server : ServerNames())
        expected.push_back(server);

    CIniFile& profile = DefaultProfile();
    Strings names;
    for (std::size_t i = 0; i < profile.GetSize(); ++i)
        names.push_back(profile.GetAt(i)->GetName());
    EXPECT_EQ(names, expected);
}

TEST(DefaultProfile, BeginsWithANamelessCommentBlock)
{
    const CIniSection& nameless = *DefaultProfile().GetAt(0);
    ASSERT_EQ(nameless.GetName(), "");
    ASSERT_GT(nameless.Lines().size(), 20u);
    for (const std::string& line : nameless.Lines())
        EXPECT_TRUE(line.empty() || line.starts_with(";")) << line;
}

TEST(DefaultProfile, OffersFourLanguagesAndTheDefaultSettings)
{
    EXPECT_EQ(Keys("Lang", true),
        CpAll({ "Deutsch=Texts Deutsch", "English=Texts English", "Nederlands=Texts NL",
            "Français=Texts Francais" }));
    EXPECT_EQ(Keys("Settings", true),
        (Strings { std::string("Version=") + kVersionText,
            "Lang=", "Server=", "ServerList=https://lists.quotino.example/servers.tsv",
            "ServerListFallback=https://lists.quotino.example/fallback.txt",
            "PreisListe=", "MaxFarm=", "MaxLevel=99", "OriginMask=-1", "WatchClipboard=" }));
}

TEST(DefaultProfile, PlantsMatchTheCatalogue)
{
    ASSERT_EQ(Keys("Plants"), PlantNames());
    for (const PlantRow& row : kPlants) {
        const Strings fields = SplitPlantRecord(Section("Plants").GetValue(Cp(row.name)));
        EXPECT_EQ(fields, SplitPlantRecord(row.fields)) << row.name;
    }
}

TEST(DefaultProfile, ListeHoldsTheShoppingListPatternsInOrder)
{
    EXPECT_EQ(Keys("Liste", true),
        CpAll({ "Titel1=Einkaufsliste", "Titel2=Shopping list", "Titel3=Winkellijst",
            "Titel4=Liste de courses", "Titel5=Lista de la compra", "Titel6=Lista de compras",
            "Titel7=Inköpslista", "Titel8=Lista spesa", "Zeile1=%d x %s %s %s %s",
            "Total1=Summe: %s %s", "Total2=Total: %s %s", "Total3=Totaal: %s %s",
            "Total4=Suma: %s %s", "Total5=Soma: %s %s", "Total6=Belopp: %s %s %s",
            "Total7=Totale: %s %s", "Frage1=Produkte jetzt verkaufen?", "Frage2=Sell products now?",
            "Frage3=Producten nu verkopen?", "Frage4=Vendre des produits tout de suite?",
            "Frage5=¿Vender productos ahora?", "Frage6=Vender os produtos agora?",
            "Frage7=Vill du sälja produkterna?", "Frage8=Vendere i prodotti adesso?" }));
}

TEST(DefaultProfile, ListsSeventyServersOfWhichFiftyFiveHaveAnAddress)
{
    const Strings servers = ServerNames();
    ASSERT_EQ(Keys("Preislisten"), servers);

    const std::set<std::string> withAddress = [&] {
        std::set<std::string> names(servers.begin(), servers.begin() + 46);
        for (const char* name :
            { "Server 1 English", "Server 2 English", "Server 3 English", "Server 4 English",
                "Server 1 NL", "Server 2 NL", "Serveur 1 FR", "Serveur 2 FR", "Serveur 3 FR" })
            names.insert(name);
        return names;
    }();
    ASSERT_EQ(withAddress.size(), 55u);
    for (const std::string& server : servers) {
        const std::string address = Section("Preislisten").GetValue(server);
        if (withAddress.contains(server)) {
            EXPECT_TRUE(address.starts_with("https://prices.quotino.example/")) << server;
        } else {
            EXPECT_EQ(address, "") << server;
        }
        EXPECT_TRUE(Section(server).Lines().empty()) << server;
    }
}

TEST(DefaultProfile, TextSectionsShareTheirKeysButTheAdvertisingLine)
{
    const auto upperKeys = [](const char* section) {
        std::set<std::string> keys;
        for (const std::string& key : Keys(section))
            EXPECT_TRUE(keys.insert(MakeUpper(key)).second) << section << ": " << key;
        return keys;
    };
    std::set<std::string> german = upperKeys("Texts Deutsch");
    EXPECT_EQ(german.erase("TXT_ADV") + german.erase("TXT_ADV_LINK"), 2u);
    for (const char* section : { "Texts English", "Texts NL", "Texts Francais" })
        EXPECT_EQ(upperKeys(section), german) << section;

    EXPECT_NE(Section("Texts Deutsch").GetValue("Txt_Adv"), "");
    EXPECT_TRUE(Section("Texts Deutsch").GetValue("Txt_Adv_Link").starts_with("https://"));
    for (const char* section : kTextSections) {
        const Strings keys = Keys(section);
        EXPECT_NE(std::find(keys.begin(), keys.end(), "Txt_ServerSel"), keys.end()) << section;
        EXPECT_TRUE(Section(section).GetValue("Txt_Link").starts_with("https://")) << section;
    }
}

TEST(DefaultProfile, EveryLanguageHasFortyFiveDistinctLevelTitles)
{
    for (const char* section : kTextSections) {
        std::set<std::string> titles;
        for (int level = 1; level <= 45; ++level) {
            const std::string title
                = Section(section).GetValue("Txt_Level" + std::to_string(level));
            EXPECT_NE(title, "") << section << " level " << level;
            EXPECT_TRUE(titles.insert(title).second) << section << ": " << title;
        }
        EXPECT_EQ(Section(section).GetValue("Txt_Level46", "absent"), "absent") << section;
    }
    // The German titles in order are the parity session's record of the Details dialog.
    EXPECT_EQ(Section("Texts English").GetValue("Txt_Level1"), "Salad Spinner");
    EXPECT_EQ(Section("Texts English").GetValue("Txt_Level2"), "Bean Counter");
    EXPECT_EQ(Section("Texts English").GetValue("Txt_Level45"), "Gnome Monarch");
}

// The texts that the main window shows in every language are the parity session's record
// (tests/parity/session.expected); these are the others.
TEST(DefaultProfile, UserInterfaceTextsAreThoseOfEveryLanguage)
{
    struct Row {
        const char* key;
        const char* texts[4]; // German, English, Dutch, French
    } const rows[] = {
        { "Txt_UpdateAv",
            { "Quotino V%d.%02d ist verfügbar!\\nSie können die neue Version hier herunterladen:",
                "Quotino V%d.%02d is available!\\nYou can download the new version here:",
                "Quotino V%d.%02d is beschikbaar!\\nU kunt de nieuwe versie hier downloaden:",
                "Quotino V%d.%02d est disponible!\\nVous pouvez télécharger la nouvelle version "
                "ici:" } },
        { "Txt_DefaultDate",
            { "(noch nicht geladen)", "(not loaded yet)", "(nog niet geïnstalleerd)",
                "(pas encore téléchargé)" } },
        { "Txt_ServerSel",
            { "Server auswählen", "Select Used Servers", "Server", "Sélectionner les serveurs" } },
        { "Txt_ServerAdd", { "Server:", "Server:", "Server:", "Serveur:" } },
        { "Txt_OK", { "OK", "OK", "OK", "OK" } },
        { "Txt_Cancel", { "Abbrechen", "Cancel", "Cancel", "Annuler" } },
        { "Txt_Add", { "Hinzufügen...", "Add...", "Toevoegen...", "Ajouter..." } },
        { "Txt_Origin0", { "Bauernhof", "Farm", "Boerderij", "Ferme" } },
        { "Txt_Origin1", { "Baumschule", "Tree nursery", "Boomverzorging", "Pépinière" } },
        { "Txt_Origin2", { "Blumenladen", "Flower shop", "Bloemist", "Fleuriste" } },
        { "Txt_Origin3", { "Aquashop", "Aquashop", "Aquashop", "Aqua shop" } },
        { "Txt_Origin4",
            { "Pilzzucht", "Mushroom Farm", "Paddenstoelenkwekerij", "Culture de champignons" } },
        { "Txt_MaxLevel",
            { "Höchster Level", "Highest level", "Hoogste level", "Niveau plus haut" } },
        { "Txt_AboutLine",
            { "Rechner für Pirk-Angebote", "Calculator for NPC offers",
                "Rekenhulp voor NPC-aanbiedingen", "Calculatrice des offres des NPC" } },
    };
    for (const Row& row : rows)
        for (int language = 0; language < 4; ++language)
            EXPECT_EQ(Section(kTextSections[language]).GetValue(row.key), Cp(row.texts[language]))
                << kTextSections[language] << " " << row.key;
}

TEST(DefaultProfile, UmsetzenMapsEveryNameToOnePlant)
{
    const Strings keys = Keys("Umsetzen");
    EXPECT_EQ(keys.size(), 472u);
    EXPECT_EQ(keys.front(), "Apple");
    EXPECT_EQ(keys.back(), "Datum/Uhrzeit");

    std::set<std::string> plants;
    for (const std::string& plant : PlantNames())
        plants.insert(MakeUpper(plant));
    // Every line, not only the first of a key: a duplicate must not disagree either.
    std::map<std::string, std::string> targets;
    for (const std::string& line : Section("Umsetzen").Lines()) {
        std::string_view key, value;
        if (!CIniSection::ParseKeyLine(line, key, value))
            continue;
        const std::string upperKey = MakeUpper(key);
        const auto [entry, added] = targets.emplace(upperKey, std::string(value));
        EXPECT_EQ(entry->second, value) << key;
        EXPECT_TRUE(plants.contains(MakeUpper(value)) || value == "Stand") << line;
        if (plants.contains(upperKey)) {
            EXPECT_EQ(upperKey, MakeUpper(value)) << "key names another plant: " << line;
        }
    }
    // A remote assignment adds "Carrot" later; the default must not have it already.
    EXPECT_FALSE(targets.contains("CARROT"));
}

#include "config/Texts.h"

#include "ProfileTestText.h"

#include <gtest/gtest.h>

namespace {

const char* const kTwoLanguages = "[Settings]\r\n"
                                  "Lang=%LANG%\r\n"
                                  "[Lang]\r\n"
                                  "Deutsch=Texts Deutsch\r\n"
                                  "English=Texts English\r\n"
                                  "Leer=Texts Missing\r\n"
                                  "[Texts Deutsch]\r\n"
                                  "Txt_ServerSel=Server ausw\xE4hlen\r\n"
                                  "Txt_Adv=Werbung\r\n"
                                  "Txt_K\xFCrbis=K\xFCrbis\r\n"
                                  "Txt_Twice=first\r\n"
                                  "txt_twice=second\r\n"
                                  "[Texts English]\r\n"
                                  "Txt_ServerSel=Select Used Servers\r\n";

CTexts LoadWithLanguage(const std::string& language)
{
    std::string text = kTwoLanguages;
    text.replace(text.find("%LANG%"), 6, language);
    CIniFile profile;
    ReadProfileText(profile, text);
    CTexts texts;
    texts.LoadTexts(profile);
    return texts;
}

} // namespace

TEST(Texts, LookupIgnoresLetterCaseOfKeysIncludingUmlauts)
{
    const CTexts texts = LoadWithLanguage("Deutsch");
    for (const char* key : { "Txt_ServerSel", "Txt_Serversel", "TXT_SERVERSEL", "txt_serversel" })
        EXPECT_EQ("Server ausw\xE4hlen", texts.GetText(key)) << key;
    EXPECT_EQ("K\xFCrbis", texts.GetText("TXT_K\xDCRBIS"));
}

TEST(Texts, FirstOccurrenceOfADuplicateKeyWins)
{
    EXPECT_EQ("first", LoadWithLanguage("Deutsch").GetText("Txt_Twice"));
}

TEST(Texts, MissingTextIsEmptyWithoutFallbackToAnotherLanguage)
{
    const CTexts english = LoadWithLanguage("English");
    EXPECT_EQ("Select Used Servers", english.GetText("Txt_ServerSel"));
    EXPECT_EQ("", english.GetText("Txt_Adv"));
    EXPECT_EQ("", english.GetText("Txt_Nothing"));
}

TEST(Texts, LanguageChoiceSelectsTheTextSection)
{
    struct Case {
        const char* language;
        const char* expectedServerSel;
    } const cases[] = {
        { "English", "Select Used Servers" },
        { "english", "Select Used Servers" }, // [Lang] keys are looked up ignoring case
        { "Klingonisch", "Server ausw\xE4hlen" }, // unlisted: German texts
        { "", "Server ausw\xE4hlen" }, { "Leer", "" }, // listed, but its section is missing
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expectedServerSel, LoadWithLanguage(c.language).GetText("Txt_ServerSel"))
            << c.language;
}

TEST(Texts, TextMissingFromAnOlderProfileComesFromTheBuiltInProfileOfTheSameLanguage)
{
    // The test profile's English section holds one text only; every other English text comes
    // from the built-in profile, and the profile's own texts still win.
    const CTexts english = LoadWithLanguage("English");
    EXPECT_EQ("Select Used Servers", english.GetText("Txt_ServerSel"));
    EXPECT_EQ("Calculate", english.GetText("Txt_Calc"));
    const CTexts german = LoadWithLanguage("Deutsch");
    EXPECT_EQ("Berechnen", german.GetText("Txt_Calc"));
    EXPECT_EQ("Werbung", german.GetText("Txt_Adv"));
}

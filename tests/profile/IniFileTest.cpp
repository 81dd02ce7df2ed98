#include "ProfileText.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const char* const kSettings = "Lang=\r\n"
                              "MaxFarm=0\r\n"
                              "[Settings]\r\n"
                              "Lang=\r\n"
                              "MaxFarm=0\r\n"
                              "Server = Server 3 \r\n";

TEST(IniFile, GetStringFallsBackToTheDefaultOnlyWhenSectionOrKeyIsMissing)
{
    auto profile = ReadProfile(kSettings);
    EXPECT_EQ(profile->GetString("Settings", "Lang", "deflt"), "");
    EXPECT_EQ(profile->GetString("Settings", "Server", "deflt"), "Server 3");
    EXPECT_EQ(profile->GetString("Settings", "Missing", "deflt"), "deflt");
    EXPECT_EQ(profile->GetString("Missing", "Lang", "deflt"), "deflt");
    EXPECT_EQ(profile->GetString("Missing", "Lang"), "");
    // The lines before the first header are the nameless section's.
    EXPECT_EQ(profile->GetString("", "MaxFarm", "x"), "0");
}

TEST(IniFile, SectionNamesAreNormalisedAndCompareWithoutCase)
{
    auto profile
        = ReadProfile("top=nameless\r\n[Settings]\r\nLang=de\r\n[K\xFCrbis]\r\nFarbe=orange\r\n");
    for (const char* name :
        { "Settings", "[Settings]", "settings", "[ settings ]", "  SETTINGS\t", " [ Settings] " })
        EXPECT_EQ(profile->GetString(name, "lang"), "de") << name;
    EXPECT_EQ(profile->GetString("K\xDCRBIS", "FARBE"), "orange");
    for (const char* name : { "", "[]", "[ \t ]", "   " })
        EXPECT_EQ(profile->GetString(name, "TOP"), "nameless") << '"' << name << '"';
    // Brackets only count as a pair.
    EXPECT_EQ(profile->FindSection("[Settings"), nullptr);
    EXPECT_EQ(CIniFile::NormalizeSectionName(" [ Pl\xE4tze ] "), "Pl\xE4tze");
}

TEST(IniFile, GetIntFollowsAtoiAndKeepsTheDefaultForMissingKeys)
{
    struct Case {
        const char* line;
        int expected;
    };
    const Case cases[] = {
        { "N=42", 42 },
        { "N=", 0 },
        { "N=  -17 apples", -17 },
        { "N=+8", 8 },
        { "N=0x1F", 0 },
        { "N=abc", 0 },
        { "N=12.9", 12 },
        { "N=2147483647", INT_MAX },
        { "N=99999999999999999999", INT_MAX },
        { "N=-2147483648", INT_MIN },
        { "N=-99999999999999999999", INT_MIN },
        // The value "*" is the marker of a missing key.
        { "N=*", 55 },
        { "Other=1", 55 },
    };
    for (const Case& c : cases) {
        auto profile = ReadProfile(std::string("[S]\n") + c.line + "\n");
        EXPECT_EQ(profile->GetInt("S", "n", 55), c.expected) << c.line;
    }
}

TEST(IniFile, RewrittenKeyTakesTheWritersSpelling)
{
    auto profile = ReadProfile("[Settings]\r\nlang=en\r\n");
    EXPECT_TRUE(profile->WriteString("settings", "Lang", "de"));
    EXPECT_EQ(WriteProfile(*profile), "[Settings]\r\nLang=de\r\n");
}

TEST(IniFile, NewKeyGoesAfterTheLastKeyLine)
{
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        { "[S]\r\na=1\r\nb=2\r\n; note\r\n\r\n", "[S]\r\na=1\r\nb=2\r\nNew=v\r\n; note\r\n\r\n" },
        { "[S]\r\n; only\r\n; comments\r\n", "[S]\r\nNew=v\r\n; only\r\n; comments\r\n" },
        { "[S]\r\n", "[S]\r\nNew=v\r\n" },
        { "[S]\r\na=1\r\nno key here\r\nb=2\r\n\r\n[T]\r\n",
            "[S]\r\na=1\r\nno key here\r\nb=2\r\nNew=v\r\n\r\n[T]\r\n" },
    };
    for (const Case& c : cases) {
        auto profile = ReadProfile(c.before);
        EXPECT_TRUE(profile->WriteString("S", " New ", "v"));
        EXPECT_EQ(WriteProfile(*profile), c.after) << c.before;
        EXPECT_EQ(profile->GetString("S", "NEW"), "v");
    }
}

TEST(IniFile, DuplicateKeyReadsTheFirstAndWritesTheLast)
{
    const char* text = "[S]\r\nKey=1\r\nx=0\r\nkey=2\r\n";
    auto profile = ReadProfile(text);
    EXPECT_EQ(profile->GetString("S", "KEY"), "1");

    profile->WriteString("S", "Key", "3");
    EXPECT_EQ(profile->GetString("S", "key"), "3");
    EXPECT_EQ(WriteProfile(*profile), "[S]\r\nKey=1\r\nx=0\r\nKey=3\r\n");

    auto deleting = ReadProfile(text);
    deleting->WriteString("S", "KEY", std::nullopt);
    EXPECT_EQ(WriteProfile(*deleting), "[S]\r\nKey=1\r\nx=0\r\n");
    EXPECT_EQ(deleting->GetString("S", "Key", "gone"), "gone");
}

TEST(IniFile, DeletingKeysKeepsOtherLinesInPlace)
{
    auto profile = ReadProfile("[S]\r\na=1\r\n; c\r\nb=2\r\n\r\n");
    EXPECT_TRUE(profile->WriteString("S", "a", std::nullopt));
    EXPECT_TRUE(profile->WriteString("S", "missing", std::nullopt));
    EXPECT_EQ(WriteProfile(*profile), "[S]\r\n; c\r\nb=2\r\n\r\n");
    EXPECT_EQ(profile->GetString("S", "B"), "2");
    EXPECT_TRUE(profile->WriteString("S", "c", "3"));
    EXPECT_EQ(WriteProfile(*profile), "[S]\r\n; c\r\nb=2\r\nc=3\r\n\r\n");
}

TEST(IniFile, AWriteWithANulByteIsRefused)
{
    using namespace std::string_view_literals;
    auto profile = ReadProfile("[S]\r\na=1\r\n");
    EXPECT_FALSE(profile->WriteString("S", "a", "2\0junk"sv));
    EXPECT_FALSE(profile->WriteString("S", "b\0"sv, "2"));
    EXPECT_FALSE(profile->WriteString("\0S"sv, "a", "2"));
    EXPECT_FALSE(profile->WriteString("S\0"sv, std::nullopt, std::nullopt));
    EXPECT_EQ(WriteProfile(*profile), "[S]\r\na=1\r\n");
}

TEST(IniFile, ValuesKeepTheirBlanksUntilReadFromText)
{
    auto profile = ReadProfile("");
    profile->WriteString("S", "Key", "  padded value \t");
    EXPECT_EQ(profile->GetString("S", "Key"), "  padded value \t");
    const std::string text = WriteProfile(*profile);
    EXPECT_EQ(text, "[S]\r\nKey=  padded value \t\r\n");
    EXPECT_EQ(ReadProfile(text)->GetString("S", "Key"), "padded value");
}

TEST(IniFile, ValuesAreReturnedWholeWithSemicolonsAndEquals)
{
    auto profile = ReadProfile(
        "[Plants]\r\nKarotte =  10; 17 ;  a=b ; c  \r\n=empty key\r\n;k=comment\r\nplain text\r\n");
    EXPECT_EQ(profile->GetString("Plants", "KAROTTE"), "10; 17 ;  a=b ; c");
    EXPECT_EQ(profile->GetString("Plants", ""), "empty key");
    EXPECT_EQ(profile->GetString("Plants", ";k", "none"), "none");
    EXPECT_EQ(profile->GetString("Plants", "plain text", "none"), "none");
}

TEST(IniFile, DeletingAKeyOfAMissingSectionCreatesTheSection)
{
    auto profile = ReadProfile("[A]\r\nx=1\r\n");
    EXPECT_TRUE(profile->WriteString("New", "Key", std::nullopt));
    ASSERT_NE(profile->FindSection("new"), nullptr);
    EXPECT_EQ(WriteProfile(*profile), "[A]\r\nx=1\r\n[New]\r\n");
}

TEST(IniFile, DeletingASectionRemovesItsHeaderAndAllItsLines)
{
    auto profile = ReadProfile("; top\r\n[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_TRUE(profile->WriteString("[missing]", std::nullopt, std::nullopt));
    EXPECT_EQ(profile->GetSize(), 3u);
    EXPECT_TRUE(profile->WriteString("a", std::nullopt, std::nullopt));
    EXPECT_EQ(profile->FindSection("A"), nullptr);
    EXPECT_EQ(profile->GetString("A", "x", "gone"), "gone");
    EXPECT_EQ(WriteProfile(*profile), "; top\r\n[B]\r\ny=2\r\n");
    // A section created afresh under the same name starts empty.
    profile->WriteString("A", "z", "3");
    EXPECT_EQ(WriteProfile(*profile), "; top\r\n[B]\r\ny=2\r\n[A]\r\nz=3\r\n");
}

TEST(IniFile, GetSectionKeepsTheFirstSpellingAndAppends)
{
    auto profile = ReadProfile("[Alpha]\r\n");
    CIniSection* created = profile->GetSection(" [ Beta ] ");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetName(), "Beta");
    EXPECT_EQ(created->GetName(true), "BETA");
    EXPECT_EQ(profile->GetSection("BETA"), created);
    EXPECT_EQ(profile->GetAt(profile->GetSize() - 1), created);
    EXPECT_EQ(profile->GetSize(), 3u); // nameless, Alpha, Beta
}

TEST(IniFile, GetKeysListsKeyLinesInOrderWithDuplicates)
{
    auto profile
        = ReadProfile("[S]\r\n; c\r\n  First = 1 \r\nSecond=a=b\r\nno key\r\nfirst=2\r\n\r\n");
    std::vector<std::string> keys { "stale" };
    EXPECT_TRUE(profile->FindSection("S")->GetKeys(keys));
    EXPECT_EQ(keys, (std::vector<std::string> { "First", "Second", "first" }));
    EXPECT_TRUE(profile->FindSection("S")->GetKeys(keys, true));
    EXPECT_EQ(keys, (std::vector<std::string> { "First=1", "Second=a=b", "first=1" }));
}

} // namespace

#include "platform/Cp1252.h"
#include "platform/TextCase.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCase, UpperCasesLettersWithAPartnerOnly)
{
    struct Case {
        char in;
        char out;
    };
    const Case cases[] = {
        { 'a', 'A' }, { 'z', 'Z' }, { 'A', 'A' }, { '1', '1' }, { '[', '[' }, { '{', '{' }, { '`', '`' },
        { '\xE4', '\xC4' }, // ä
        { '\xF6', '\xD6' }, // ö
        { '\xFC', '\xDC' }, // ü
        { '\xE9', '\xC9' }, // é
        { '\xE0', '\xC0' }, // à
        { '\xFE', '\xDE' }, // þ
        { '\x9A', '\x8A' }, // š
        { '\x9C', '\x8C' }, // œ
        { '\x9E', '\x8E' }, // ž
        { '\xFF', '\x9F' }, // ÿ
        { '\xDF', '\xDF' }, // ß has no single upper-case letter
        { '\xB5', '\xB5' }, // µ
        { '\xF7', '\xF7' }, // ÷
        { '\xD7', '\xD7' }, // ×
        { '\xC4', '\xC4' }, { '\x8A', '\x8A' }, { '\x9F', '\x9F' }, { '\0', '\0' },
    };
    for (const Case& c : cases)
        EXPECT_EQ(UpperChar(c.in), c.out) << Cp1252ToUtf8(std::string(1, c.in));
}

TEST(TextCase, UpperCasingIsStableAndKeepsLength)
{
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        EXPECT_EQ(UpperChar(UpperChar(c)), UpperChar(c)) << byte;
    }
    EXPECT_EQ(MakeUpper("Gr\xFC\xDF" "e aus K\xF6ln, \x9Ckonomie"), "GR\xDC\xDF" "E AUS K\xD6LN, \x8CKONOMIE");
    EXPECT_EQ(MakeUpper(""), "");
}

TEST(TextCase, ComparesUpperCasedBytesAsUnsigned)
{
    EXPECT_TRUE(EqualNoCase("Txt_ServerSel", "TXT_serversel"));
    EXPECT_TRUE(EqualNoCase("K\xFCrbis", "K\xDCRBIS"));
    EXPECT_FALSE(EqualNoCase("Stra\xDF" "e", "STRASSE"));
    EXPECT_FALSE(EqualNoCase("abc", "abcd"));
    EXPECT_EQ(CompareNoCase("apfel", "APFEL"), 0);
    EXPECT_LT(CompareNoCase("Apfel", "birne"), 0);
    EXPECT_LT(CompareNoCase("ab", "ABC"), 0);
    EXPECT_GT(CompareNoCase("abc", "AB"), 0);
    // Umlauts sort after plain letters, as bytes above 0x7F.
    EXPECT_GT(CompareNoCase("\xE4pfel", "zebra"), 0);
}

} // namespace

// Accented letters sort with their base letter, ligatures and ß as two letters; what is equal
// that way falls back to byte order.
TEST(TextCase, SortingFoldsCaseAndAccentsThenFallsBackToBytes)
{
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        { "\xC9pinards", "Tomates", -1 },         // Épinards before Tomates
        { "\xC9pinards", "epinards", 1 },         // tie: É (0xC9) after e in byte order
        { "epinards", "\xC9pinards", -1 },
        { "Fu\xDF" "ball", "Fussball", 1 },       // ß as ss, then bytes
        { "Fu\xDF" "ball", "Futter", -1 },
        { "\xC6gir", "Aeb", 1 },                  // Æ as AE
        { "K\xFCrbis", "Kumquat", 1 },            // ü as u: "KURBIS" after "KUMQUAT"
        { "K\xFCrbis", "Kuss", -1 },
        { "\x8Apinat", "Spinat", 1 },             // Š as S, then bytes
        { "\xDEorn", "Tiger", -1 },               // Þ as TH
        { "\xD8l", "Ol", 1 },                     // Ø as O
        { "\xFF" "ard", "Yacht", 1 },             // ÿ as Y: "YARD" after "YACHT"
        { "\xFF" "ard", "Zaun", -1 },
        { "same", "same", 0 },
        { "", "a", -1 },
    };
    for (const auto& c : cases) {
        const int result = CompareForSorting(c.a, c.b);
        EXPECT_EQ(c.sign, (result > 0) - (result < 0)) << c.a << " / " << c.b;
    }
}

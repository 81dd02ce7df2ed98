#include "platform/TextCase.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

// That upper-case letters stay as they are is UpperCasingIsStableAndKeepsLength's rule.
TEST(TextCase, UpperCasesLettersWithAPartnerOnly)
{
    struct Case {
        char in;
        char out;
    };
    const Case cases[] = {
        { 'a', 'A' },
        { 'z', 'Z' },
        { '1', '1' },
        { '[', '[' },
        { '{', '{' },
        { '`', '`' },
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
        { '\0', '\0' },
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
    EXPECT_EQ(MakeUpper("Gr\xFC\xDF"
                        "e aus K\xF6ln, \x9Ckonomie"),
        "GR\xDC\xDF"
        "E AUS K\xD6LN, \x8CKONOMIE");
    EXPECT_EQ(MakeUpper(""), "");
}

// Texts of one length compare as EqualNoCaseAgreesWithComparingUpperCasedCopies shows.
TEST(TextCase, ComparesUpperCasedBytesAsUnsigned)
{
    EXPECT_FALSE(EqualNoCase("abc", "abcd"));
    EXPECT_EQ(CompareNoCase("apfel", "APFEL"), 0);
    EXPECT_LT(CompareNoCase("Apfel", "birne"), 0);
    EXPECT_LT(CompareNoCase("ab", "ABC"), 0);
    EXPECT_GT(CompareNoCase("abc", "AB"), 0);
    // Umlauts sort after plain letters, as bytes above 0x7F.
    EXPECT_GT(CompareNoCase("\xE4pfel", "zebra"), 0);
}

// A copy of text in a buffer of exactly its size, so that AddressSanitizer sees any read
// past its end.
std::string_view ExactCopy(std::unique_ptr<char[]>& buffer, const std::string& text)
{
    buffer = std::make_unique<char[]>(text.size());
    text.copy(buffer.get(), text.size());
    return { buffer.get(), text.size() };
}

TEST(TextCase, WordsLoadAndUpperCaseLikeTheirBytes)
{
    const std::string text = "aZ\xE4\xFF\x9A\xF7~\x01{";
    for (std::size_t count = 0; count <= 8; ++count) {
        std::unique_ptr<char[]> buffer;
        const std::string_view bytes = ExactCopy(buffer, text.substr(0, count));
        std::uint64_t expected = 0;
        for (std::size_t i = 0; i < count; ++i)
            expected |= std::uint64_t { static_cast<unsigned char>(bytes[i]) } << (8 * i);
        EXPECT_EQ(LoadWord(bytes.data(), count), expected) << count;
    }
    // Every byte at every place, among ASCII neighbours (the arithmetic path) and beside a
    // byte above 0x7F (the table).
    for (const std::uint64_t around : { 0x6161616161616161u, 0x61E1614161E1617Au }) {
        for (unsigned shift = 0; shift < 64; shift += 8) {
            for (std::uint64_t byte = 0; byte < 256; ++byte) {
                const std::uint64_t word
                    = (around & ~(std::uint64_t { 0xFF } << shift)) | (byte << shift);
                std::uint64_t expected = 0;
                for (unsigned i = 0; i < 64; i += 8)
                    expected |= std::uint64_t {
                        static_cast<unsigned char>(UpperChar(static_cast<char>(word >> i)))
                    } << i;
                ASSERT_EQ(UpperWord(word), expected) << byte << " at " << shift;
            }
        }
    }
}

// The word-wise comparison against upper-casing both texts, on texts of every length up to
// 40 that are equal but for letter case, or differ in one byte anywhere, the last included.
TEST(TextCase, EqualNoCaseAgreesWithComparingUpperCasedCopies)
{
    // Plain ASCII, with the neighbours of letters that differ from them in the case bit only
    // (@ `, [ {, ^ ~), and Windows-1252 letters and non-letters.
    const std::string alphabets[]
        = { "aAzZ09@`[{^~_=;", "aAzZ09 =;_\xE4\xC4\xFF\x9F\x9A\x8A\xDF\xF7\xD7\xE0\xC0\xB5" };
    std::uint32_t seed = 7;
    const auto next = [&seed](std::size_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (std::size_t size = 0; size <= 40; ++size) {
        for (int round = 0; round < 200; ++round) {
            const std::string& alphabet = alphabets[round / 100];
            std::string a(size, ' ');
            for (char& c : a)
                c = alphabet[next(alphabet.size())];
            std::string b = a;
            for (char& c : b)
                c = next(2) ? UpperChar(c) : c;
            if (size > 0 && round % 2)
                b[round % 4 == 1 ? size - 1 : next(size)] = alphabet[next(alphabet.size())];
            std::unique_ptr<char[]> bufferA, bufferB;
            const bool equal = EqualNoCase(ExactCopy(bufferA, a), ExactCopy(bufferB, b));
            ASSERT_EQ(equal, MakeUpper(a) == MakeUpper(b))
                << Cp1252ToUtf8(a) << " / " << Cp1252ToUtf8(b);
        }
    }
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
        { "\xC9pinards", "Tomates", -1 }, // Épinards before Tomates
        { "\xC9pinards", "epinards", 1 }, // tie: É (0xC9) after e in byte order
        { "epinards", "\xC9pinards", -1 },
        { "Fu\xDF"
          "ball",
            "Fussball", 1 }, // ß as ss, then bytes
        { "Fu\xDF"
          "ball",
            "Futter", -1 },
        { "\xC6gir", "Aeb", 1 }, // Æ as AE
        { "K\xFCrbis", "Kumquat", 1 }, // ü as u: "KURBIS" after "KUMQUAT"
        { "K\xFCrbis", "Kuss", -1 },
        { "\x8Apinat", "Spinat", 1 }, // Š as S, then bytes
        { "\xDEorn", "Tiger", -1 }, // Þ as TH
        { "\xD8l", "Ol", 1 }, // Ø as O
        { "\xFF"
          "ard",
            "Yacht", 1 }, // ÿ as Y: "YARD" after "YACHT"
        { "\xFF"
          "ard",
            "Zaun", -1 },
        { "same", "same", 0 },
        { "", "a", -1 },
    };
    for (const auto& c : cases) {
        const int result = CompareForSorting(c.a, c.b);
        EXPECT_EQ(c.sign, (result > 0) - (result < 0)) << c.a << " / " << c.b;
    }
}

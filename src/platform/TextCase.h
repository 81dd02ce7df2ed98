#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The one upper-casing of the program: a-z and the Windows-1252 letters that have an upper-case
// partner (ä→Ä, é→É, š→Š, œ→Œ, ÿ→Ÿ …). Letters without one (ß, µ) and all other bytes stay.
// Every case-insensitive lookup and comparison goes through these.
char UpperChar(char c);
std::string MakeUpper(std::string_view text);
// Byte-wise comparison of the upper-cased texts: negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);
// Eight bytes at a time, inline (below): it decides every key lookup.
inline bool EqualNoCase(std::string_view a, std::string_view b);

// The order in which a reader looks names up: letters compared without case and without
// accents (É as E, ß as SS, Æ as AE, for every Windows-1252 letter); names that are equal that
// way fall back to byte order, so that the order never depends on where a name started.
int CompareForSorting(std::string_view a, std::string_view b);
// The text as CompareForSorting sees it before falling back to bytes: comparing these keys
// with std::string's compare, then the texts themselves, gives the same order. For sorting many
// names, each key is made once.
std::string SortingKey(std::string_view text);

// UpperChar of every byte, as constant data: loops over many keys index it directly, with no
// call and no first-use check per byte.
extern const std::array<unsigned char, 256> g_upperCase;

// The word-wise tools behind EqualNoCase and the key hash. A word holds up to eight bytes of
// text, the first in its lowest byte.
static_assert(std::endian::native == std::endian::little);

// The count (at most 8) bytes at text as a word, the bytes above them zero. Reads no byte past
// text + count, so that it is safe at the very end of a buffer.
inline std::uint64_t LoadWord(const char* text, std::size_t count)
{
    if (count >= 8) {
        std::uint64_t word;
        std::memcpy(&word, text, 8);
        return word;
    }
    if (count >= 4) {
        // Two 4-byte reads that overlap in the middle: the shared bytes are the same in both.
        std::uint32_t low, high;
        std::memcpy(&low, text, 4);
        std::memcpy(&high, text + count - 4, 4);
        return low | (std::uint64_t { high } << (8 * (count - 4)));
    }
    if (count == 0)
        return 0;
    const auto byte = [text](std::size_t i) {
        return std::uint64_t { static_cast<unsigned char>(text[i]) } << (8 * i);
    };
    return byte(0) | byte(count / 2) | byte(count - 1);
}

constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
constexpr std::uint64_t kEveryHighBit = 0x80 * kEveryByte;

// 0x80 in each byte of a word of 7-bit bytes that lies in [low, high]. Adding at most 0x80 to
// a byte below 0x80 carries nothing into the next one.
constexpr std::uint64_t BytesBetween(std::uint64_t low7, unsigned low, unsigned high)
{
    return (low7 + (0x80 - low) * kEveryByte) & ~(low7 + (0x7F - high) * kEveryByte)
        & kEveryHighBit;
}

// UpperWord for words with bytes above 0x7F, out of line so that UpperWord stays small enough
// to inline.
std::uint64_t UpperWordWithLatin(std::uint64_t word);

// UpperChar of each byte of a word.
inline std::uint64_t UpperWord(std::uint64_t word)
{
    if ((word & kEveryHighBit) == 0) // plain ASCII, most words: 'a' to 'z' lose 0x20
        return word - (BytesBetween(word, 'a', 'z') >> 2);
    return UpperWordWithLatin(word);
}

// 0x20 in each byte of a lower-cased word (every case bit set) that is a letter whose upper-case
// partner lies 0x20 below it: a-z, and à-þ but ÷ (0xE0-0xFE but 0xF7).
inline std::uint64_t LettersCasedByBit(std::uint64_t lower)
{
    const std::uint64_t high = lower & kEveryHighBit;
    const std::uint64_t low7 = lower & ~kEveryHighBit;
    const std::uint64_t ascii = BytesBetween(low7, 'a', 'z') & ~high;
    const std::uint64_t latin
        = BytesBetween(low7, 0x60, 0x7E) & ~BytesBetween(low7, 0x77, 0x77) & high;
    return (ascii | latin) >> 2;
}

// Whether UpperWord(x) != UpperWord(y), mostly without upper-casing either: words that differ
// in the case bit (0x20) alone are equal when each such byte is a letter cased by that bit.
inline bool WordsDifferNoCase(std::uint64_t x, std::uint64_t y)
{
    constexpr std::uint64_t kCaseBits = 0x20 * kEveryByte;
    const std::uint64_t differ = x ^ y;
    if (((x | y) & kEveryHighBit) == 0) // plain ASCII, most words: one range test
        return (differ & ~(BytesBetween(x | kCaseBits, 'a', 'z') >> 2)) != 0;
    if ((differ & ~kCaseBits) == 0)
        return (differ & ~LettersCasedByBit(x | kCaseBits)) != 0;
    // Other differences: real ones, or the four pairs further apart (Š š, Œ œ, Ž ž, Ÿ ÿ).
    return UpperWord(x) != UpperWord(y);
}

inline bool EqualNoCase(std::string_view a, std::string_view b)
{
    const std::size_t size = a.size();
    if (size != b.size())
        return false;
    if (size < 8)
        return !WordsDifferNoCase(LoadWord(a.data(), size), LoadWord(b.data(), size));
    // Whole words from the front, then the last eight bytes, which may overlap the word before
    // them: no word is partial, which spares the branches on how many bytes are left.
    for (std::size_t i = 0; i + 8 < size; i += 8) {
        if (WordsDifferNoCase(LoadWord(a.data() + i, 8), LoadWord(b.data() + i, 8)))
            return false;
    }
    return !WordsDifferNoCase(LoadWord(a.data() + size - 8, 8), LoadWord(b.data() + size - 8, 8));
}

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

// UpperWord for words with bytes above 0x7F, out of line so that UpperWord stays small enough
// to inline.
std::uint64_t UpperWordWithLatin(std::uint64_t word);

// UpperChar of each byte of a word. Plain ASCII words, most of them, take a few arithmetic
// steps: every byte from 'a' to 'z' loses 0x20.
inline std::uint64_t UpperWord(std::uint64_t word)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x80 * kOnes;
    if ((word & kHighBits) == 0) {
        // Bytes below 0x80 do not carry: the top bit of each sum tells byte >= 'a' and > 'z'.
        const std::uint64_t atLeastA = word + (0x80 - 'a') * kOnes;
        const std::uint64_t aboveZ = word + (0x80 - 'z' - 1) * kOnes;
        return word - (((atLeastA & ~aboveZ) & kHighBits) >> 2);
    }
    return UpperWordWithLatin(word);
}

inline bool WordsDifferNoCase(std::uint64_t x, std::uint64_t y)
{
    // Most words of a key asked for match the stored key as they are.
    return x != y && UpperWord(x) != UpperWord(y);
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

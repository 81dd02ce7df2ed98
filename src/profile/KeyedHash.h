#pragma once

#include "platform/TextCase.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// A hash of text without regard to letter case, under a secret drawn once per run, so that no
// file can pick names that collide in advance. The text (upper-cased, in 7-byte pieces, its
// length first) is read as a polynomial evaluated at a secret point modulo the prime 2^61-1;
// two different texts of up to n pieces agree there with a chance of at most (n + 1) / 2^61.
// A secret odd multiplier then spreads the value so that the top bits serve as a table index.
class CKeyedHash {
public:
    CKeyedHash(std::uint64_t point, std::uint64_t multiplier);
    // The hash of this run.
    static const CKeyedHash& Run();

    // Use the top bits (Index) for a table position: they are the well-mixed ones. Inline
    // (below), with what it uses: every lookup hashes twice.
    std::uint64_t operator()(std::string_view text) const;
    static std::size_t Index(std::uint64_t hash, unsigned bits)
    {
        return bits ? hash >> (64 - bits) : 0;
    }

    // The modulus, 2^61 - 1.
    static constexpr std::uint64_t kPrime = (std::uint64_t { 1 } << 61) - 1;

private:
    static constexpr std::size_t kPieceBytes = 7;
    static std::uint64_t Fold(unsigned __int128 x);
    static std::uint64_t Piece(std::string_view text, std::size_t i);

    std::uint64_t m_nPoint;
    std::uint64_t m_nPointSquared; // modulo the prime, for two pieces per step
    std::uint64_t m_nMultiplier;
};

// Congruent to x modulo the prime, for any x below 2^124, and below 2^61 + 5. The hash keeps its
// running value in this form and reduces it fully once, at the end: no comparison per step.
inline std::uint64_t CKeyedHash::Fold(unsigned __int128 x)
{
    const std::uint64_t sum
        = (static_cast<std::uint64_t>(x) & kPrime) + static_cast<std::uint64_t>(x >> 61);
    return (sum & kPrime) + (sum >> 61);
}

// The piece of text that begins at i, upper-cased: its up to 7 bytes as the low bytes of a word.
inline std::uint64_t CKeyedHash::Piece(std::string_view text, std::size_t i)
{
    constexpr std::uint64_t kPieceMask = (std::uint64_t { 1 } << (8 * kPieceBytes)) - 1;
    const std::size_t rest = text.size() - i;
    std::uint64_t word;
    if (rest >= 8)
        word = LoadWord(text.data() + i, 8) & kPieceMask;
    else if (text.size() >= 8) // the last piece: the top of the text's last eight bytes
        word = LoadWord(text.data() + text.size() - 8, 8) >> (8 * (8 - rest));
    else
        word = LoadWord(text.data() + i, rest);
    return UpperWord(word);
}

// Two pieces per step, value * point^2 + first * point + second: the same polynomial as one
// piece per step, but the two products do not wait for each other, which halves the chain of
// dependent multiplications that bounds a hash of a short key. value stays below 2^62, so
// that each step's products sum to less than 2^124.
inline std::uint64_t CKeyedHash::operator()(std::string_view text) const
{
    using Wide = unsigned __int128;
    const std::size_t size = text.size();
    std::uint64_t value = size;
    std::size_t i = 0;
    for (; i + kPieceBytes < size; i += 2 * kPieceBytes) {
        const std::uint64_t first = Piece(text, i);
        const std::uint64_t second = Piece(text, i + kPieceBytes);
        value = Fold(Wide { value } * m_nPointSquared + Wide { first } * m_nPoint) + second;
    }
    if (i < size)
        value = Fold(Wide { value } * m_nPoint + Piece(text, i));
    value = Fold(value);
    value = value >= kPrime ? value - kPrime : value;
    return value * m_nMultiplier;
}

#pragma once

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

    // Use the top bits (Index) for a table position: they are the well-mixed ones.
    std::uint64_t operator()(std::string_view text) const;
    static std::size_t Index(std::uint64_t hash, unsigned bits) { return bits ? hash >> (64 - bits) : 0; }

private:
    std::uint64_t m_nPoint;
    std::uint64_t m_nPointSquared; // modulo the prime, for two pieces per step
    std::uint64_t m_nMultiplier;
};

#include "profile/KeyedHash.h"

#include "platform/TextCase.h"

#include <array>
#include <bit>
#include <cstring>
#include <random>

namespace {

// The fast path reads a piece as the top of a little-endian word; both paths must agree.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint64_t kPrime = (std::uint64_t { 1 } << 61) - 1;

std::uint64_t MultiplyModPrime(std::uint64_t a, std::uint64_t b)
{
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    const std::uint64_t low = static_cast<std::uint64_t>(product) & kPrime;
    const std::uint64_t high = static_cast<std::uint64_t>(product >> 61);
    const std::uint64_t sum = low + high;
    return sum >= kPrime ? sum - kPrime : sum;
}

// UpperChar from a table of its results: hashing runs over every key of every profile read.
const std::array<unsigned char, 256>& UpperTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> result {};
        for (std::size_t c = 0; c < result.size(); ++c)
            result[c] = static_cast<unsigned char>(UpperChar(static_cast<char>(c)));
        return result;
    }();
    return table;
}

std::uint64_t RandomWord(std::random_device& device)
{
    return (std::uint64_t { device() } << 32) ^ device();
}

} // namespace

CKeyedHash::CKeyedHash(std::uint64_t point, std::uint64_t multiplier)
    : m_nPoint(point % (kPrime - 1) + 1)
    , m_nMultiplier(multiplier | 1)
{
}

const CKeyedHash& CKeyedHash::Run()
{
    static const CKeyedHash hash = [] {
        std::random_device device;
        const std::uint64_t point = RandomWord(device);
        return CKeyedHash(point, RandomWord(device));
    }();
    return hash;
}

namespace {

// Eight bytes of ASCII text upper-cased at once: a byte from 'a' to 'z' loses 0x20.
std::uint64_t UpperAscii(std::uint64_t word)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    const std::uint64_t atLeastA = word + (0x80 - 'a') * kOnes;
    const std::uint64_t aboveZ = word + (0x80 - 'z' - 1) * kOnes;
    return word - (((atLeastA & ~aboveZ) & (0x80 * kOnes)) >> 2);
}

// The 7-byte piece at bytes[0..count), upper-cased; wide when 8 bytes may be read from
// bytes + count - 8 on (the piece is then the top of that word).
std::uint64_t Piece(const unsigned char* bytes, std::size_t count, bool wide)
{
    if (wide) {
        std::uint64_t word;
        std::memcpy(&word, bytes + count - 8, 8);
        if ((word & 0x8080808080808080u) == 0)
            return UpperAscii(word) >> (8 * (8 - count));
    }
    const std::array<unsigned char, 256>& upper = UpperTable();
    std::uint64_t piece = 0;
    for (std::size_t i = 0; i < count; ++i)
        piece |= std::uint64_t { upper[bytes[i]] } << (8 * i);
    return piece;
}

} // namespace

std::uint64_t CKeyedHash::operator()(std::string_view text) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::uint64_t value = size;
    for (std::size_t i = 0; i < size; i += 7) {
        const std::size_t count = size - i < 7 ? size - i : 7;
        const std::uint64_t piece = Piece(bytes + i, count, i + count >= 8);
        value = MultiplyModPrime(value, m_nPoint) + piece;
        value = value >= kPrime ? value - kPrime : value;
    }
    return value * m_nMultiplier;
}

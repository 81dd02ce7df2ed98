#include "profile/KeyedHash.h"

#include "platform/TextCase.h"

#include <array>
#include <random>

namespace {

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

std::uint64_t CKeyedHash::operator()(std::string_view text) const
{
    const std::array<unsigned char, 256>& upper = UpperTable();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::uint64_t value = text.size();
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = i + 7 < text.size() ? i + 7 : text.size();
        std::uint64_t piece = 0;
        for (unsigned shift = 0; i < end; ++i, shift += 8)
            piece |= std::uint64_t { upper[bytes[i]] } << shift;
        value = MultiplyModPrime(value, m_nPoint) + piece;
        value = value >= kPrime ? value - kPrime : value;
    }
    return value * m_nMultiplier;
}

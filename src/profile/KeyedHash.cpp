#include "profile/KeyedHash.h"

#include <random>

namespace {

constexpr std::uint64_t kPrime = CKeyedHash::kPrime;

std::uint64_t MultiplyModPrime(std::uint64_t a, std::uint64_t b)
{
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    const std::uint64_t low = static_cast<std::uint64_t>(product) & kPrime;
    const std::uint64_t high = static_cast<std::uint64_t>(product >> 61);
    const std::uint64_t sum = low + high;
    return sum >= kPrime ? sum - kPrime : sum;
}

std::uint64_t RandomWord(std::random_device& device)
{
    return (std::uint64_t { device() } << 32) ^ device();
}

} // namespace

CKeyedHash::CKeyedHash(std::uint64_t point, std::uint64_t multiplier)
    : m_nPoint(point % (kPrime - 1) + 1)
    , m_nPointSquared(MultiplyModPrime(m_nPoint, m_nPoint))
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

#include "profile/KeyedHash.h"

#include "platform/TextCase.h"

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

constexpr std::size_t kPieceBytes = 7;

// The piece of text that begins at i, upper-cased: its up to 7 bytes as the low bytes of a word.
std::uint64_t Piece(std::string_view text, std::size_t i)
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

// Two pieces per step, value * point^2 + first * point + second: the same polynomial as one
// piece per step, but the two products do not wait for each other, which halves the chain of
// dependent multiplications that bounds a hash of a short key.
std::uint64_t CKeyedHash::operator()(std::string_view text) const
{
    const std::size_t size = text.size();
    std::uint64_t value = size;
    std::size_t i = 0;
    for (; i + kPieceBytes < size; i += 2 * kPieceBytes) {
        const std::uint64_t first = Piece(text, i);
        const std::uint64_t second = Piece(text, i + kPieceBytes);
        // Each sum stays below twice the prime, so one subtraction after each keeps value reduced.
        value = MultiplyModPrime(value, m_nPointSquared) + MultiplyModPrime(first, m_nPoint);
        value = value >= kPrime ? value - kPrime : value;
        value += second;
        value = value >= kPrime ? value - kPrime : value;
    }
    if (i < size) {
        value = MultiplyModPrime(value, m_nPoint) + Piece(text, i);
        value = value >= kPrime ? value - kPrime : value;
    }
    return value * m_nMultiplier;
}

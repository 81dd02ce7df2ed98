// The keyed hash against its definition: the upper-cased text in 7-byte pieces, its length
// first, as a polynomial at the point modulo 2^61-1, times the odd multiplier.
#include "profile/KeyedHash.h"
#include "platform/TextCase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

std::uint64_t OnePiecePerStep(std::string_view text, std::uint64_t point, std::uint64_t multiplier)
{
    constexpr std::uint64_t kPrime = (std::uint64_t { 1 } << 61) - 1;
    point = point % (kPrime - 1) + 1;
    const std::string upper = MakeUpper(text);
    unsigned __int128 value = upper.size();
    for (std::size_t i = 0; i < upper.size(); i += 7) {
        std::uint64_t piece = 0;
        for (std::size_t j = i; j < i + 7 && j < upper.size(); ++j)
            piece |= std::uint64_t { static_cast<unsigned char>(upper[j]) } << (8 * (j - i));
        value = (value * point + piece) % kPrime;
    }
    return static_cast<std::uint64_t>(value) * (multiplier | 1);
}

TEST(KeyedHash, AgreesWithTheOnePiecePerStepDefinitionForEveryLength)
{
    const std::string alphabet = "aBz09=;\xE4\xC4\xFF\x9F\xDF";
    std::uint32_t seed = 99;
    const auto next = [&seed](std::size_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    const std::uint64_t points[]
        = { 0, 1, 0x1FFFFFFFFFFFFFFEu, 0xFFFFFFFFFFFFFFFFu, 0x123456789ABCDEFu };
    for (const std::uint64_t point : points) {
        const CKeyedHash hash(point, 0x9E3779B97F4A7C15u);
        for (std::size_t size = 0; size <= 40; ++size) {
            std::string text(size, ' ');
            for (char& c : text)
                c = alphabet[next(alphabet.size())];
            // Exactly sized, so that AddressSanitizer sees a read past the end.
            auto buffer = std::make_unique<char[]>(size);
            text.copy(buffer.get(), size);
            const std::string_view view(buffer.get(), size);
            ASSERT_EQ(hash(view), OnePiecePerStep(text, point, 0x9E3779B97F4A7C15u)) << size;
            ASSERT_EQ(hash(view), hash(MakeUpper(text))) << size;
        }
    }
}

} // namespace

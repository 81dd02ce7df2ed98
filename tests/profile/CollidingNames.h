#pragma once

// Key names that all share one value of the profile's former key hash (32-bit FNV-1a over the
// upper-cased bytes), as a hostile server list could have sent them, and random names of the
// same count and length to compare with. Shared by the test and the benchmark.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace colliding {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t kBlock = 6;

inline std::uint32_t FormerHash(std::uint32_t state, std::string_view upperText)
{
    for (const char c : upperText) {
        state ^= static_cast<unsigned char>(c);
        state *= 16777619u;
    }
    return state;
}

inline std::string RandomBlock(std::uint64_t& seed)
{
    std::string block;
    for (std::size_t i = 0; i < kBlock; ++i) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        block += kAlphabet[(seed >> 33) % (sizeof kAlphabet - 1)];
    }
    return block;
}

} // namespace colliding

// 2^stages names: at every stage two blocks that lead from the same hash state to the same
// next one (found by the birthday paradox), so any choice of one block per stage collides.
inline std::vector<std::string> CollidingNames(unsigned stages)
{
    std::uint64_t seed = 99;
    std::uint32_t state = 2166136261u;
    std::vector<std::pair<std::string, std::string>> pairs;
    while (pairs.size() < stages) {
        std::unordered_map<std::uint32_t, std::string> seen;
        for (;;) {
            std::string block = colliding::RandomBlock(seed);
            const std::uint32_t next = colliding::FormerHash(state, block);
            const auto [found, added] = seen.emplace(next, block);
            if (!added && found->second != block) {
                pairs.emplace_back(found->second, std::move(block));
                state = next;
                break;
            }
        }
    }
    std::vector<std::string> names { "" };
    for (const auto& [first, second] : pairs) {
        std::vector<std::string> longer;
        longer.reserve(2 * names.size());
        for (const std::string& name : names) {
            longer.push_back(name + first);
            longer.push_back(name + second);
        }
        names = std::move(longer);
    }
    return names;
}

inline std::vector<std::string> RandomNames(unsigned stages)
{
    std::uint64_t seed = 42;
    std::vector<std::string> names(std::size_t { 1 } << stages);
    for (std::string& name : names) {
        for (unsigned i = 0; i < stages; ++i)
            name += colliding::RandomBlock(seed);
    }
    return names;
}

// A server list's worth of keys in one section.
inline std::string SectionOfKeys(const std::vector<std::string>& names)
{
    std::string text = "[Preislisten]\r\n";
    for (const std::string& name : names)
        text += name + "=http://example.invalid/" + name + "\r\n";
    return text;
}

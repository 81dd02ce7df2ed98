// The key map of a section against what it must agree with: the letter-case rules of the
// program, large sections, a table that grows, and long runs of edits.
#include "CollidingNames.h"
#include "ProfileText.h"

#include "platform/TextCase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Key(int number)
{
    return "Sch\xFCssel" + std::to_string(number);
}

// Which letters are case pairs is TextCase's table; here the key map must follow it.
TEST(KeyIndex, KeysThatDifferOnlyInLetterCaseAreOneKey)
{
    struct Case {
        const char* written;
        const char* asked;
        bool same;
    };
    const Case cases[] = {
        { "K\xFCrbis", "K\xDCRBIS", true }, // ü Ü
        { "Stra\xDF"
          "e",
            "STRASSE", false }, // ß has no upper-case letter of its own
        { "\xF7", "\xD7", false }, // ÷ and × are no letters
        { "K\xFCrbis", "Kurbis", false }, { "a", "a ", true }, // the question is trimmed
    };
    for (const Case& c : cases) {
        auto profile = ReadProfile(std::string("[S]\r\n") + c.written + "=1\r\n");
        CIniSection& section = *profile->FindSection("S");
        EXPECT_EQ(section.GetValue(c.asked, "none"), c.same ? "1" : "none") << c.asked;

        section.SetValue(c.asked, "2");
        EXPECT_EQ(section.GetValue(c.written), c.same ? "2" : "1") << c.asked;
        EXPECT_EQ(section.Lines().size(), c.same ? 1u : 2u) << c.asked;
    }
}

TEST(KeyIndex, LargeSectionsFindEveryKeyAndKeepItsFirstOccurrence)
{
    std::string text = "[S]\r\n";
    for (int i = 0; i < 3000; ++i)
        text += Key(i) + "=first" + std::to_string(i) + "\r\n; comment\r\n";
    for (int i = 0; i < 3000; i += 7)
        text += MakeUpper(Key(i)) + "=later\r\n";
    auto profile = ReadProfile(text);
    const CIniSection& section = *profile->FindSection("S");
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(section.GetValue(MakeUpper(Key(i))), "first" + std::to_string(i)) << i;
    EXPECT_EQ(section.GetValue(Key(3000), "none"), "none");
}

TEST(KeyIndex, KeysAddedOneByOneStayFoundAsTheTableGrows)
{
    auto profile = ReadProfile("[S]\r\n; only a comment\r\n");
    CIniSection& section = *profile->GetSection("S");
    for (int added = 0; added < 600; ++added) {
        section.SetValue(Key(added), std::to_string(added));
        // Check everything whenever the count passes a power of two.
        if ((added & (added + 1)) != 0)
            continue;
        for (int i = 0; i <= added; ++i)
            ASSERT_EQ(section.GetValue(MakeUpper(Key(i))), std::to_string(i))
                << i << " of " << added;
    }
    std::vector<std::string> keys;
    section.GetKeys(keys);
    ASSERT_EQ(keys.size(), 600u);
    EXPECT_EQ(keys.front(), Key(0));
    EXPECT_EQ(keys.back(), Key(599));
    EXPECT_EQ(section.Lines().back(), "; only a comment");
}

// Random writes, rewrites and deletes of keys from a small pool, asked in random letter case,
// checked against a plain map after every step and once more after writing and reading back.
TEST(KeyIndex, LongRunsOfEditsAgreeWithAPlainMap)
{
    std::uint32_t seed = 2024;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    const auto randomCase = [&next](std::string key) {
        for (char& c : key)
            c = next(2) ? UpperChar(c) : c;
        return key;
    };
    std::vector<std::string> pool;
    for (int i = 0; i < 40; ++i)
        pool.push_back(i % 2 ? Key(i) : "k\xE4se" + std::to_string(i));

    auto profile = ReadProfile("[S]\r\n" + pool[0] + "=start\r\n; note\r\n\r\n");
    CIniSection& section = *profile->FindSection("S");
    std::map<std::string, std::string> expected { { MakeUpper(pool[0]), "start" } };
    for (int step = 0; step < 3000; ++step) {
        const std::string& key = pool[next(static_cast<std::uint32_t>(pool.size()))];
        if (next(3) == 0) {
            section.SetValue(randomCase(key), std::nullopt);
            expected.erase(MakeUpper(key));
        } else {
            const std::string value = "v" + std::to_string(step);
            section.SetValue(randomCase(key), value);
            expected[MakeUpper(key)] = value;
        }
        for (const std::string& asked : pool) {
            const auto found = expected.find(MakeUpper(asked));
            ASSERT_EQ(section.GetValue(randomCase(asked), "none"),
                found == expected.end() ? "none" : found->second)
                << "step " << step << " " << asked;
        }
    }
    auto reread = ReadProfile(WriteProfile(*profile));
    std::vector<std::string> keys;
    reread->FindSection("S")->GetKeys(keys, true);
    std::map<std::string, std::string> written;
    for (const std::string& line : keys)
        written[MakeUpper(line.substr(0, line.find('=')))] = line.substr(line.find('=') + 1);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(keys.size(), expected.size());
}

// Names chosen to collide under the former fixed hash made every insert and lookup walk one
// long probe run: quadratic time. Under the keyed hash they cost what random names cost.
double SecondsToApplyReloadAndLookUp(const std::vector<std::string>& names)
{
    const std::clock_t start = std::clock();
    auto profile = ReadProfile("");
    for (const std::string& name : names)
        profile->WriteString("Preislisten", name, "http://example.invalid/");
    auto reread = ReadProfile(WriteProfile(*profile));
    std::size_t found = 0;
    for (const std::string& name : names)
        found += reread->GetString("preislisten", name, "").size();
    EXPECT_EQ(found, names.size() * 23);
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

TEST(KeyIndex, NamesThatCollidedUnderTheFormerHashCostNoMoreThanRandomOnes)
{
    const std::vector<std::string> colliding = CollidingNames(14);
    ASSERT_EQ(colliding.size(), 16384u);
    std::uint32_t former = 0;
    for (const std::string& name : colliding)
        former |= colliding::FormerHash(2166136261u, name)
            ^ colliding::FormerHash(2166136261u, colliding[0]);
    ASSERT_EQ(former, 0u) << "the names must collide under the former hash";

    const double random = SecondsToApplyReloadAndLookUp(RandomNames(14));
    const double chosen = SecondsToApplyReloadAndLookUp(colliding);
    EXPECT_LE(chosen, 5 * random + 0.1)
        << "colliding " << chosen << " s, random " << random << " s";
}

} // namespace

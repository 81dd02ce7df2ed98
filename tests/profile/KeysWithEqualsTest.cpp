// Keys that contain "=" (a server name can) are written into lines that the file reads as
// another, shorter key. Whatever happens to those lines, a read gives the value last written
// for the key or nothing, never a piece of some other line.
#include "ProfileText.h"

#include "platform/TextCase.h"
#include "platform/TextUtil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kAbsent = "<absent>";

struct Step {
    const char* key;
    std::optional<const char*> value; // nullopt deletes the key
};

TEST(KeysWithEquals, StaleLinesNeverAnswerForAKey)
{
    struct Case {
        std::vector<Step> steps;
        const char* asked;
        std::string expected;
    };
    const Case cases[] = {
        // A key written again after its line went with another key's deletion.
        { { { "a", "0" }, { "a=b", "1" }, { "a", std::nullopt }, { "a=b", "22" } }, "a=b", "22" },
        // Writing "a" takes the last line that reads as "a", which held "a=b": that key is gone.
        { { { "a", "" }, { "a=b", "b" }, { "a", "b=x" } }, "a=b", kAbsent },
        { { { "a", "" }, { "a=b", "b" }, { "a", "b=x" } }, "a", "b=x" },
        // Deleting "a" removes the line of "A=B"; a longer key later must not answer for it.
        { { { "a", "b=x" }, { "A=B", "b=x" }, { "a", std::nullopt }, { "a=b=c", "bQQ" } }, "a=b",
            kAbsent },
        { { { "a", "b=x" }, { "A=B", "b=x" }, { "a", std::nullopt }, { "a=b=c", "bQQ" } }, "A=b=C",
            "bQQ" },
    };
    for (const Case& c : cases) {
        auto profile = ReadProfile("");
        for (const Step& step : c.steps)
            profile->WriteString("S", step.key, step.value);
        EXPECT_EQ(profile->GetString("S", c.asked, kAbsent), c.expected) << c.asked;
    }
}

TEST(KeysWithEquals, RewritingSuchAKeyReplacesItsLine)
{
    auto profile = ReadProfile("[S]\r\nx=1\r\n");
    for (const char* value : { "1", "2", "3" })
        profile->WriteString("S", "Server=Eins", value);
    EXPECT_EQ(WriteProfile(*profile), "[S]\r\nx=1\r\nServer=Eins=3\r\n");
    profile->WriteString("S", "server=eins", std::nullopt);
    EXPECT_EQ(WriteProfile(*profile), "[S]\r\nx=1\r\n");
}

// The key in the file that a written key's line reads as, when an edit of that key can take
// the line: the text before the first "=". Lines of keys that begin with ";" are comments.
std::optional<std::string> LineKey(const std::string& key)
{
    const std::size_t equals = key.find('=');
    if (key.starts_with(';') || equals == std::string::npos)
        return std::nullopt;
    return MakeUpper(TrimRight(std::string_view(key).substr(0, equals)));
}

// Long random runs of writes, deletes and reads over keys and values from a tiny alphabet,
// against a plain map. The one departure allowed: an edit of key "a" may take the line of a
// key "a=..." (the file reads that line as "a"), after which that key reads as absent.
TEST(KeysWithEquals, RandomEditsAgreeWithAPlainMap)
{
    static const char kAlphabet[] = "aAb=; ";
    for (std::uint32_t run = 1; run <= 20; ++run) {
        std::uint32_t seed = run;
        const auto next = [&seed](std::uint32_t range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % range;
        };
        const auto text = [&](std::size_t maxLength) {
            std::string result;
            for (std::size_t n = 1 + next(static_cast<std::uint32_t>(maxLength)); n > 0; --n)
                result += kAlphabet[next(sizeof kAlphabet - 1)];
            return result;
        };
        std::vector<std::string> pool;
        for (int i = 0; i < 40; ++i)
            pool.push_back(std::string(Trim(text(4))));

        auto profile = ReadProfile("[S]\r\n; note\r\n");
        CIniSection& section = *profile->FindSection("S");
        std::map<std::string, std::string> model;
        std::set<std::string> mayBeGone;
        const auto check = [&](const std::string& key, int step) {
            const std::string upper = MakeUpper(key);
            const std::string read = section.GetValue(key, kAbsent);
            const auto found = model.find(upper);
            if (found != model.end() && read == kAbsent && mayBeGone.count(upper)) {
                model.erase(found);
                return;
            }
            ASSERT_EQ(read, found == model.end() ? kAbsent : found->second)
                << "run " << run << " step " << step << " key '" << key << "'";
        };
        for (int step = 0; step < 2000; ++step) {
            const std::string& key = pool[next(static_cast<std::uint32_t>(pool.size()))];
            const std::string upper = MakeUpper(key);
            if (!key.starts_with(';') && key.find('=') == std::string::npos) {
                for (const auto& [other, value] : model) {
                    if (other != upper && LineKey(other) == upper)
                        mayBeGone.insert(other);
                }
            }
            mayBeGone.erase(upper);
            if (next(3) == 0) {
                section.SetValue(key, std::nullopt);
                model.erase(upper);
            } else {
                const std::string value = text(5);
                section.SetValue(key, value);
                model[upper] = value;
            }
            check(key, step);
            for (const std::string& asked : pool)
                check(next(2) ? MakeUpper(asked) : asked, step);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

} // namespace

// Our profile document against two INI libraries from the distribution, on the same realistic
// profile: loading from memory, looking keys up in mixed letter case, one change plus a save
// to memory. inih only parses (it builds no document), so it bounds what any loader can do.

#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "profile/IniFile.h"

#include "../tests/profile/CollidingNames.h"
#include "../tests/profile/RealisticProfile.h"

// The 8-bit profile needs no character conversion (and the generic one needs extra sources).
#define SI_NO_CONVERSION
// Debian keeps the template definitions behind this switch; compile them here like ours.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <benchmark/benchmark.h>
#include <ini.h>

#include <cctype>
#include <memory>

namespace {

// Results are added here so the compiler cannot drop the work that produced them.
volatile std::size_t g_sink = 0;

const RealisticProfile& Profile()
{
    static const RealisticProfile profile = MakeRealisticProfile();
    return profile;
}

std::string MixCase(const std::string& text, std::size_t salt)
{
    std::string mixed = text;
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(mixed[i]);
        if (std::isalpha(c) && (i + salt) % 3 == 0)
            mixed[i] = static_cast<char>(std::isupper(c) ? std::tolower(c) : std::toupper(c));
    }
    return mixed;
}

// 10,000 (section, key) questions about existing keys, spelled in mixed letter case.
const std::vector<std::pair<std::string, std::string>>& Questions()
{
    static const auto questions = [] {
        const auto& keys = Profile().keys;
        std::vector<std::pair<std::string, std::string>> result;
        for (std::size_t i = 0; result.size() < 10000; ++i) {
            const auto& [section, key] = keys[(i * 7919) % keys.size()];
            result.emplace_back(MixCase(section, i), MixCase(key, i + 1));
        }
        return result;
    }();
    return questions;
}

std::unique_ptr<CIniFile> LoadOurs()
{
    auto profile = std::make_unique<CIniFile>();
    profile->SetAutoReload(false);
    profile->SetAutoSave(false);
    CMemorySource source(Profile().text.data(), Profile().text.size());
    profile->ReadFrom(source);
    return profile;
}

std::unique_ptr<CSimpleIniA> LoadSimpleIni()
{
    auto ini = std::make_unique<CSimpleIniA>();
    ini->LoadData(Profile().text.data(), Profile().text.size());
    return ini;
}

void Load_Quotino(benchmark::State& state)
{
    const std::string& text = Profile().text;
    for (auto _ : state) {
        CIniFile profile;
        CMemorySource source(text.data(), text.size());
        const bool ok = profile.ReadFrom(source);
        benchmark::DoNotOptimize(&profile);
        g_sink = g_sink + ok + profile.GetSize();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Load_SimpleIni(benchmark::State& state)
{
    const std::string& text = Profile().text;
    for (auto _ : state) {
        CSimpleIniA ini;
        const SI_Error rc = ini.LoadData(text.data(), text.size());
        benchmark::DoNotOptimize(&ini);
        g_sink = g_sink + static_cast<std::size_t>(rc + 1);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

int CountEntry(void* user, const char*, const char*, const char*)
{
    ++*static_cast<std::size_t*>(user);
    return 1;
}

void Load_InihBareParse(benchmark::State& state)
{
    const std::string& text = Profile().text;
    for (auto _ : state) {
        std::size_t entries = 0;
        const int rc = ini_parse_string(text.c_str(), CountEntry, &entries);
        g_sink = g_sink + entries + static_cast<std::size_t>(rc);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Lookup10k_Quotino(benchmark::State& state)
{
    auto profile = LoadOurs();
    const auto& questions = Questions();
    for (auto _ : state) {
        std::size_t found = 0;
        for (const auto& [section, key] : questions)
            found += profile->GetString(section, key, "\x01").size() > 0;
        g_sink = g_sink + found;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * questions.size()));
}

void Lookup10k_SimpleIni(benchmark::State& state)
{
    auto ini = LoadSimpleIni();
    const auto& questions = Questions();
    for (auto _ : state) {
        std::size_t found = 0;
        for (const auto& [section, key] : questions)
            found += ini->GetValue(section.c_str(), key.c_str(), nullptr) != nullptr;
        g_sink = g_sink + found;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * questions.size()));
}

void ChangeAndSave_Quotino(benchmark::State& state)
{
    auto profile = LoadOurs();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        profile->WriteString("Settings", "Lang", flip ? "Deutsch" : "English");
        CMemorySink sink;
        const bool ok = profile->WriteTo(sink);
        benchmark::DoNotOptimize(sink.m_data);
        g_sink = g_sink + ok + sink.m_data.size();
        benchmark::ClobberMemory();
    }
}

void ChangeAndSave_SimpleIni(benchmark::State& state)
{
    auto ini = LoadSimpleIni();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        ini->SetValue("Settings", "Lang", flip ? "Deutsch" : "English");
        std::string out;
        const SI_Error rc = ini->Save(out);
        benchmark::DoNotOptimize(out);
        g_sink = g_sink + static_cast<std::size_t>(rc + 1) + out.size();
        benchmark::ClobberMemory();
    }
}

// A server list of 65,536 names that all collided under the former fixed hash, against random
// names of the same count and length: the keyed hash must make them cost the same.
void LoadServerList(benchmark::State& state, const std::vector<std::string>& names)
{
    const std::string text = SectionOfKeys(names);
    for (auto _ : state) {
        CIniFile profile;
        CMemorySource source(text.data(), text.size());
        g_sink = g_sink + profile.ReadFrom(source);
        g_sink = g_sink + profile.GetString("Preislisten", names.back()).size();
        benchmark::ClobberMemory();
    }
}

void Flood_CollidingNames(benchmark::State& state)
{
    static const std::vector<std::string> names = CollidingNames(16);
    LoadServerList(state, names);
}

void Flood_RandomNames(benchmark::State& state)
{
    static const std::vector<std::string> names = RandomNames(16);
    LoadServerList(state, names);
}

int RememberEntry(void* user, const char* section, const char* key, const char*)
{
    *static_cast<std::pair<std::string, std::string>*>(user) = { section, key };
    return 1;
}

// Warns when the contenders do not see the same profile: ours and SimpleIni must find every
// question. inih takes an indented line for the continuation of the value before it, so its
// keys are not ours; it must still read the profile up to its last key.
bool SameProfileEverywhere()
{
    auto ours = LoadOurs();
    auto ini = LoadSimpleIni();
    for (const auto& [section, key] : Questions()) {
        if (ours->GetString(section, key, "\x01") == "\x01"
            || !ini->GetValue(section.c_str(), key.c_str()))
            return false;
    }
    std::pair<std::string, std::string> last;
    ini_parse_string(Profile().text.c_str(), RememberEntry, &last);
    return last == Profile().keys.back();
}

const bool g_checked = [] {
    if (!SameProfileEverywhere())
        std::fprintf(stderr, "The benchmark profile is not read alike by all contenders\n");
    return true;
}();

} // namespace

BENCHMARK(Load_Quotino)->Unit(benchmark::kMicrosecond);
BENCHMARK(Load_SimpleIni)->Unit(benchmark::kMicrosecond);
BENCHMARK(Load_InihBareParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(Lookup10k_Quotino)->Unit(benchmark::kMicrosecond);
BENCHMARK(Lookup10k_SimpleIni)->Unit(benchmark::kMicrosecond);
BENCHMARK(ChangeAndSave_Quotino)->Unit(benchmark::kMicrosecond);
BENCHMARK(ChangeAndSave_SimpleIni)->Unit(benchmark::kMicrosecond);
BENCHMARK(Flood_CollidingNames)->Unit(benchmark::kMillisecond);
BENCHMARK(Flood_RandomNames)->Unit(benchmark::kMillisecond);

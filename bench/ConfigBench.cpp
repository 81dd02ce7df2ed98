// Start-up cost of the configuration: a first start that rebuilds the profile from the
// embedded default and saves it, and an ordinary start from a current profile file.
#include "app/ConfigurationLoader.h"
#include "config/ListTemplates.h"
#include "config/PlantCatalog.h"
#include "config/PlantTables.h"
#include "config/ServerListUpdate.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "platform/Clock.h"
#include "platform/UserInterface.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

class GermanSpeaker : public IUserInterface {
public:
    bool ChooseLanguage(const std::vector<std::string>&, std::string& chosen) override
    {
        chosen = "Deutsch";
        return true;
    }
    void ShowUpdateNotice(int, int) override { }
};

class NoServerListUpdate : public IServerListUpdate {
public:
    void NoteServerListDue() override { }
};

class BenchFolder {
public:
    BenchFolder()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "quotino-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~BenchFolder() { std::filesystem::remove_all(m_path); }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// One program start: fresh objects, wired as the application wires them.
bool StartProgram(const std::string& profilePath)
{
    CIniFile profile;
    profile.SetAutoReload(false);
    profile.SetAutoSave(false);
    CSettings settings(profile);
    CTexts texts;
    CPlantCatalog catalog;
    CServerCache servers(profile, texts, catalog);
    CFixedClock clock(1'800'000'000);
    NoServerListUpdate serverList;
    GermanSpeaker ui;
    CConfigurationLoader loader(
        profile, settings, texts, catalog, servers, clock, serverList, profilePath);
    CPlantTables tables;
    CListTemplates templates;
    std::string server;
    return loader.LoadConfiguration(tables, templates, server, ui);
}

void LoadConfigurationFromMissingFile(benchmark::State& state)
{
    BenchFolder folder;
    const std::string path = folder.File("quotino.ini");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        if (!StartProgram(path))
            state.SkipWithError("load failed");
    }
}

void LoadConfigurationFromCurrentFile(benchmark::State& state)
{
    BenchFolder folder;
    const std::string path = folder.File("quotino.ini");
    StartProgram(path);
    for (auto _ : state) {
        if (!StartProgram(path))
            state.SkipWithError("load failed");
    }
    if (std::filesystem::exists(path + ".bak"))
        state.SkipWithError("the current profile was rebuilt");
}

} // namespace

BENCHMARK(LoadConfigurationFromMissingFile)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadConfigurationFromCurrentFile)->Unit(benchmark::kMillisecond);

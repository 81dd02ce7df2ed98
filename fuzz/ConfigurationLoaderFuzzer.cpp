// Any bytes as the profile file, loaded by the whole configuration loader as at a start. The
// load never throws or crashes; where a rebuild replaced the file, the backup holds exactly
// the bytes that were there; and the profile that the run saves loads again without a rebuild.
#include "FuzzCheck.h"

#include "app/QuotinoApp.h"
#include "calc/OfferCalculator.h"
#include "platform/Clock.h"
#include "platform/UserInterface.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Takes the first language offered, as a user at a first start might.
class CFirstLanguageUi : public IUserInterface {
public:
    bool ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen) override
    {
        if (languages.empty())
            return false;
        chosen = languages.front();
        return true;
    }
    void ShowUpdateNotice(int, int) override { }
};

struct CStart {
    explicit CStart(const std::string& path)
        : app(path, clock)
    {
        app.InitInstance();
    }
    bool Load() { return app.LoadConfiguration(window, ui); }

    CFixedClock clock { 1'765'000'000 };
    CQuotinoApp app;
    COfferCalculator window { app.Catalog(), app.Texts(), app.Servers(), app.Settings() };
    CFirstLanguageUi ui;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

const fs::path& Folder()
{
    static const fs::path folder = [] {
        fs::path made = fs::temp_directory_path() / ("quotino-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = (Folder() / "quotino.ini").string();
    const std::string backup = path + ".bak";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fs::remove(backup);
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    bool loaded = false;
    {
        CStart start(path);
        loaded = start.Load();
        if (fs::exists(backup))
            FuzzCheck(ReadFile(backup) == bytes, "the backup holds the replaced file");
        else
            FuzzCheck(ReadFile(path) == bytes, "a file that was not rebuilt is not changed");
        FuzzCheck(start.app.SaveProfile(), "the run's profile is saved");
    }
    if (!loaded)
        return 0;

    // The saved profile is current: the next start reads it as it is, unless its language
    // is not one of [Lang], which is rebuilt at every start by design.
    fs::remove(backup);
    const std::string saved = ReadFile(path);
    CStart next(path);
    FuzzCheck(next.Load(), "the saved profile loads");
    CIniFile& profile = next.app.Profile();
    const std::string language = profile.GetString("Settings", "Lang", "");
    const bool listed = !profile.GetString("Lang", language, "").empty();
    FuzzCheck(!fs::exists(backup) || !listed, "the saved profile loads without a rebuild");
    if (!listed)
        return 0;
    FuzzCheck(
        next.app.SaveProfile() && ReadFile(path) == saved, "a second save writes the same bytes");
    return 0;
}

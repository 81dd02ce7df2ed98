#include "platform/ProfileLocation.h"
#include "platform/Utf8Path.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Points %APPDATA% at a folder of the test for its lifetime.
class ApplicationData {
public:
    explicit ApplicationData(const fs::path& folder)
    {
        if (const wchar_t* old = ::_wgetenv(L"APPDATA"))
            m_old = old;
        ::_wputenv_s(L"APPDATA", folder.c_str());
    }
    ~ApplicationData() { ::_wputenv_s(L"APPDATA", m_old ? m_old->c_str() : L""); }

private:
    std::optional<std::wstring> m_old;
};

fs::path RunningExecutable()
{
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return fs::path(std::wstring(buffer, length));
}

// The test program stands in for the installed program: without a profile beside it the
// profile goes to %APPDATA%\quotino (a folder with non-ASCII letters here, created on demand);
// with one beside it, that one is used and the user folder is not created.
TEST(ProfileLocationWindows, BesideTheExecutableOnlyWhereAProfileIsElseApplicationData)
{
    TempDir dir;
    const fs::path appData = dir.path() / PathFromUtf8("J\u00FCrgen\\AppData\\Roaming");
    ApplicationData redirected(appData);
    const fs::path beside = fs::path(RunningExecutable()).replace_extension(".ini");
    ASSERT_FALSE(fs::exists(beside)) << Utf8FromPath(beside);

    EXPECT_EQ(PathFromUtf8(LocateProfile()), appData / "quotino" / "quotino.ini");
    EXPECT_TRUE(fs::is_directory(appData / "quotino"));

    fs::remove_all(dir.path() / PathFromUtf8("J\u00FCrgen"));
    WriteWholeFile(Utf8FromPath(beside), "[Settings]\r\n");
    EXPECT_EQ(PathFromUtf8(LocateProfile()), beside);
    fs::remove(beside);
    EXPECT_FALSE(fs::exists(appData));
}

TEST(ProfileLocationWindows, NamedProfileMustBeUsable)
{
    TempDir dir;
    const std::string folder = dir.file("Zo\u00EB");
    fs::create_directory(PathFromUtf8(folder));
    const std::string normal = folder + "\\quotino.ini";
    const std::string readOnly = folder + "\\read-only.ini";
    WriteWholeFile(normal, "[Settings]\r\n");
    WriteWholeFile(readOnly, "[Settings]\r\n");
    ::SetFileAttributesW(PathFromUtf8(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);

    struct Case {
        std::string path;
        std::string reason; // the start of it
    };
    const Case cases[] = {
        { normal, "" },
        { folder + "\\new.ini", "" },
        { readOnly, "it is read-only" },
        { folder, "it is a folder" },
        { folder + "\\missing\\p.ini", "the folder " },
    };
    for (const Case& c : cases) {
        const std::string reason = ProfileUnusableReason(c.path);
        EXPECT_EQ(reason.substr(0, c.reason.size()), c.reason) << c.path << ": " << reason;
        EXPECT_EQ(reason.empty(), c.reason.empty()) << c.path << ": " << reason;
    }
    ::SetFileAttributesW(PathFromUtf8(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(std::distance(fs::directory_iterator(PathFromUtf8(folder)), {}), 2);
}

} // namespace

#include "platform/ProfileLocation.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProfileLocation, ProfileIsNamedLikeTheExecutable)
{
    struct Case {
        const char* executable;
        const char* profile;
    };
    const Case cases[] = {
        { "/opt/quotino/quotino", "/opt/quotino/quotino.ini" },
        { "/opt/quotino/Quotino.exe", "/opt/quotino/Quotino.ini" },
        { "/opt/q/quotino.bin", "/opt/q/quotino.ini" },
        { "/opt/q/quotino.x86_64", "/opt/q/quotino.x86_64.ini" },
        { "/opt/q/quotino.1", "/opt/q/quotino.1.ini" },
        { "/opt/q.d/quotino", "/opt/q.d/quotino.ini" },
        { "quotino", "quotino.ini" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProfilePathBesideExecutable(c.executable), c.profile) << c.executable;
}

TEST(ProfileLocation, WritableFolderOfTheExecutableWins)
{
    TempDir dir;
    const std::string executable = dir.file("quotino");
    EXPECT_EQ(LocateProfile(executable, dir.file("xdg"), dir.file("home")), dir.file("quotino.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("xdg")));
}

TEST(ProfileLocation, ReadOnlyInstallationUsesTheUserConfigurationFolder)
{
    TempDir dir;
    const auto readOnly = [](const std::string&) { return false; };
    struct Case {
        std::string xdg;
        std::string expected;
    };
    const Case cases[] = {
        { dir.file("xdg"), dir.file("xdg/quotino/quotino.ini") },
        { "", dir.file("home/.config/quotino/quotino.ini") },
        { "relative/config", dir.file("home/.config/quotino/quotino.ini") },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocateProfile("/usr/bin/quotino", c.xdg, dir.file("home"), readOnly), c.expected) << c.xdg;
        EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(c.expected).parent_path()));
    }
}

TEST(ProfileLocation, FolderWritabilityIsChecked)
{
    TempDir dir;
    EXPECT_TRUE(IsFolderWritable(dir.path().string()));
    EXPECT_FALSE(IsFolderWritable(dir.file("missing")));
}

} // namespace

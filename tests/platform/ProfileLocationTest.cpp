#include "platform/ProfileLocation.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

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

// Links, POSIX permissions and the XDG rule; ProfileLocationWindowsTest.cpp has Windows' own.
#ifndef _WIN32
// Anything standing beside the executable under the profile's name is the user's profile,
// even a link whose target is gone; the user's folder is then neither used nor created.
TEST(ProfileLocation, ExistingProfileBesideTheExecutableWins)
{
    for (const bool danglingLink : { false, true }) {
        TempDir dir;
        if (danglingLink)
            fs::create_symlink(dir.file("gone.ini"), dir.file("quotino.ini"));
        else
            WriteWholeFile(dir.file("quotino.ini"), "[Settings]\r\n");
        EXPECT_EQ(LocateProfile(dir.file("quotino"), dir.file("config/quotino")),
            dir.file("quotino.ini"));
        EXPECT_FALSE(fs::exists(dir.file("config"))) << danglingLink;
    }
}

// A writable program folder without a profile (~/.local/bin) gets no profile either: the
// user's folder is created, private to the user, below an existing parent that keeps its mode.
TEST(ProfileLocation, WithoutProfileBesideTheExecutableTheUserFolderIsCreated)
{
    TempDir dir;
    fs::create_directory(dir.file("home"));
    fs::permissions(dir.file("home"), fs::perms(0755));
    const std::string folder = dir.file("home/.config/quotino");

    EXPECT_EQ(LocateProfile(dir.file("quotino"), folder), folder + "/quotino.ini");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(dir.file("home/.config")).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(dir.file("home")).permissions(), fs::perms(0755));
    EXPECT_FALSE(fs::exists(dir.file("quotino.ini")));

    // A second start finds the folder as it left it.
    fs::permissions(folder, fs::perms(0750));
    EXPECT_EQ(LocateProfile(dir.file("quotino"), folder), folder + "/quotino.ini");
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms(0750));
}

TEST(ProfileLocation, UserFolderFollowsXdgConfigHome)
{
    struct Case {
        const char* xdg;
        const char* folder;
    };
    const Case cases[] = {
        { "/srv/cfg", "/srv/cfg/quotino" },
        { "/srv/cfg/", "/srv/cfg/quotino" },
        { "", "/home/ann/.config/quotino" },
        // Relative values are invalid by the XDG rule and ignored.
        { "relative/config", "/home/ann/.config/quotino" },
        { "./cfg", "/home/ann/.config/quotino" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            fs::path(UserProfileFolder(c.xdg, "/home/ann")).lexically_normal(), fs::path(c.folder))
            << c.xdg;
}
#endif

} // namespace

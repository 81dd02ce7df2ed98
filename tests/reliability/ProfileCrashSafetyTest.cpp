#include "config/ProfileTestText.h"
#include "profile/ProfileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<CIniFile> DefaultProfile()
{
    return ReadProfile(DefaultProfileBytes());
}

std::set<std::string> FolderContents(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

int WaitForExit(pid_t child)
{
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A child saves the shipped profile and an edited copy in turn without end and is killed at
// random moments, a few hundred times. After every kill the file must be one of the two
// documents, byte for byte: never a mix, a truncation or nothing.
TEST(ProfileCrashSafety, KilledSavesLeaveTheOldOrTheNewProfileEveryTime)
{
    TempDir dir;
    const std::string path = dir.file("quotino.ini");
    auto older = DefaultProfile();
    auto newer = DefaultProfile();
    newer->WriteString("Settings", "Lang", "Deutsch");
    newer->WriteString("Server 1", "Karotte", "0,45");
    const std::string olderBytes = WriteProfile(*older);
    const std::string newerBytes = WriteProfile(*newer);
    ASSERT_NE(olderBytes, newerBytes);

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(older->Save(path));
    const auto saveTime = std::chrono::steady_clock::now() - start;
    const long window
        = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 3).count() + 300;

    constexpr int kKills = 300;
    std::mt19937 random(20261207);
    int damaged = 0;
    int killedMidSave = 0;
    for (int round = 0; round < kKills; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                newer->Save(path);
                older->Save(path);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % window));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string bytes = ReadWholeFile(path);
        if (bytes != olderBytes && bytes != newerBytes) {
            ++damaged;
            ADD_FAILURE() << "kill " << round << " left " << bytes.size() << " bytes";
        }
        killedMidSave += FolderContents(dir.path()).size() > 1;
    }
    std::cout << "[ kills    ] " << kKills << " kills, " << killedMidSave
              << " of them in the middle of a save, " << damaged << " damaged profiles\n";
    EXPECT_EQ(damaged, 0);
    EXPECT_GT(killedMidSave, 0) << "no kill hit a save: the test proves nothing";

    // The next save clears away what the killed ones left behind.
    EXPECT_TRUE(older->Save(path));
    EXPECT_EQ(FolderContents(dir.path()), std::set<std::string> { "quotino.ini" });
}

enum FullDiskOutcome {
    kOldKept = 0,
    kSaveSucceeded = 1,
    kOldChanged = 2,
    kLeftovers = 3,
    kCannotFill = 10
};

// In the child: saves the small profile, then the large one into a folder that cannot take it.
int SaveIntoFullFolder(const std::string& path, CIniFile& small, CIniFile& large)
{
    if (!small.Save(path))
        return kCannotFill;
    const std::string before = ReadWholeFile(path);
    if (large.Save(path))
        return kSaveSucceeded;
    if (ReadWholeFile(path) != before)
        return kOldChanged;
    return FolderContents(fs::path(path).parent_path()) == std::set<std::string> { "quotino.ini" }
        ? kOldKept
        : kLeftovers;
}

// A real full file system: a 64 KB tmpfs in a mount namespace of the child's own, so nothing
// outside the test sees it. Needs root with CAP_SYS_ADMIN; otherwise kCannotFill.
int SaveIntoSmallTmpfs(const std::string& folder, CIniFile& small, CIniFile& large)
{
    if (::unshare(CLONE_NEWNS) != 0
        || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
        return kCannotFill;
    return SaveIntoFullFolder(folder + "/quotino.ini", small, large);
}

// The same through a file size limit, which fails write() with EFBIG as a full disk would.
int SaveOverFileSizeLimit(const std::string& folder, CIniFile& small, CIniFile& large)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit { 64 * 1024, 64 * 1024 };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return SaveIntoFullFolder(folder + "/quotino.ini", small, large);
}

TEST(ProfileCrashSafety, SaveIntoAFullFileSystemKeepsTheOldFileAndReportsFalse)
{
    auto small = ReadProfile("[Settings]\r\nLang=Deutsch\r\n");
    auto large = DefaultProfile();
    large->WriteString("Notes", "Text", std::string(100 * 1024, 'x'));

    const std::pair<const char*, int (*)(const std::string&, CIniFile&, CIniFile&)> ways[]
        = { { "64 KB tmpfs", SaveIntoSmallTmpfs }, { "file size limit", SaveOverFileSizeLimit } };
    int tried = 0;
    for (const auto& [name, saveInto] : ways) {
        TempDir dir;
        fs::create_directory(dir.file("disk"));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(saveInto(dir.file("disk"), *small, *large));
        const int outcome = WaitForExit(child);
        if (outcome == kCannotFill) {
            std::cout << "[ full fs  ] " << name << ": not available here\n";
            continue;
        }
        EXPECT_EQ(outcome, kOldKept) << name;
        std::cout << "[ full fs  ] " << name << ": old file kept: " << (outcome == kOldKept)
                  << "\n";
        ++tried;
    }
    EXPECT_GT(tried, 0) << "no way to fill a file system was available";
}

} // namespace

#include "platform/ProfileLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using EState = CProfileLock::EState;

// What stands at "quotino.ini.lock" before the first run starts.
enum class ELockName { Free, Folder, Link };

// A first run holds "quotino.ini" (and there is a folder "sub"); what a second start gets.
// A lock file that cannot be opened (a folder, a link, another user's file) never lets the
// second start in.
TEST(ProfileLock, OneRunPerProfileFile)
{
    struct Case {
        const char* name;
        const char* leftOver; // a lock file a crashed run left, for another profile
        ELockName lockName;
        EState second;
    };
    const Case cases[] = {
        { "quotino.ini", nullptr, ELockName::Free, EState::HeldElsewhere },
        { "sub/../quotino.ini", nullptr, ELockName::Free, EState::HeldElsewhere },
        { "hard.ini", nullptr, ELockName::Free, EState::HeldElsewhere },
        { "quotino.ini", nullptr, ELockName::Folder, EState::HeldElsewhere },
        { "quotino.ini", nullptr, ELockName::Link, EState::HeldElsewhere },
        { "hard.ini", nullptr, ELockName::Folder, EState::HeldElsewhere },
        { "other.ini", nullptr, ELockName::Free, EState::Held },
        { "other.ini", "other.ini.lock", ELockName::Free, EState::Held },
        { "other.ini", nullptr, ELockName::Folder, EState::Held },
        { "missing/quotino.ini", nullptr, ELockName::Free, EState::Held },
    };
    for (const Case& c : cases) {
        TempDir dir;
        fs::create_directory(dir.file("sub"));
        WriteWholeFile(dir.file("quotino.ini"), "[Settings]\r\n");
        fs::create_hard_link(dir.file("quotino.ini"), dir.file("hard.ini"));
        if (c.leftOver)
            WriteWholeFile(dir.file(c.leftOver), "4711\n");
        if (c.lockName == ELockName::Folder)
            fs::create_directory(dir.file("quotino.ini.lock"));
        if (c.lockName == ELockName::Link) {
#ifdef _WIN32
            continue; // links need a privilege there
#endif
            fs::create_symlink(dir.file("elsewhere"), dir.file("quotino.ini.lock"));
        }
        CProfileLock first(dir.file("quotino.ini"));
        ASSERT_EQ(first.Lock(), EState::Held);
        CProfileLock second(dir.file(c.name));
        EXPECT_EQ(second.Lock(), c.second) << c.name;
        // Once the first run ends, its profile is free again and no lock file of its stays.
        first.Unlock();
        EXPECT_EQ(fs::exists(fs::symlink_status(first.LockPath())), c.lockName != ELockName::Free)
            << c.name;
        EXPECT_FALSE(fs::exists(dir.file("elsewhere")));
        CProfileLock third(dir.file("quotino.ini"));
        EXPECT_EQ(third.Lock(), EState::Held) << c.name;
    }
}

} // namespace

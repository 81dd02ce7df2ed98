#include "platform/ProfileLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using EState = CProfileLock::EState;

// A first run holds "quotino.ini" (and has a folder "sub"); what a second start gets.
TEST(ProfileLock, OneRunPerProfileFile)
{
    struct Case {
        const char* name;
        const char* leftOver; // a lock file a crashed run left, for another profile
        EState second;
    };
    const Case cases[] = {
        { "quotino.ini", nullptr, EState::HeldElsewhere },
        { "sub/../quotino.ini", nullptr, EState::HeldElsewhere },
        { "other.ini", nullptr, EState::Held },
        { "other.ini", "other.ini.lock", EState::Held },
        { "missing/quotino.ini", nullptr, EState::Failed },
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::filesystem::create_directory(dir.file("sub"));
        if (c.leftOver)
            WriteWholeFile(dir.file(c.leftOver), "4711\n");
        CProfileLock first(dir.file("quotino.ini"));
        ASSERT_EQ(first.Lock(), EState::Held);
        CProfileLock second(dir.file(c.name));
        EXPECT_EQ(second.Lock(), c.second) << c.name;
        // Once the first run ends, its profile is free again and no lock file stays.
        first.Unlock();
        EXPECT_FALSE(std::filesystem::exists(first.LockPath())) << c.name;
        CProfileLock third(dir.file("quotino.ini"));
        EXPECT_EQ(third.Lock(), EState::Held) << c.name;
    }
}

} // namespace

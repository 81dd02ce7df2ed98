#include "window/ProfileInUse.h"
#include "platform/ProfileLock.h"
#include "support/ShippedProfile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

#ifndef _WIN32
// Sets a variable of the environment for the scope.
struct SEnvironment {
    SEnvironment(const char* name, const std::string& value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~SEnvironment() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }
    const char* m_name;
    std::optional<std::string> m_old;
};

// A lock held by another run, and one that cannot be made at all: the lock file is a folder
// and no private folder can be had. The start is told in the profile's language, and in the
// second case which file to remove.
TEST(ProfileInUse, TheMessageSaysWhyTheStartDoesNotRun)
{
    TempDir dir;
    const std::string profile = dir.file("quotino.ini");
    ASSERT_TRUE(WriteShippedProfile(profile, "English", {}));
    CProfileLock first(profile);
    ASSERT_EQ(first.Lock(), CProfileLock::EState::Held);
    CProfileLock second(profile);
    second.Lock();
    EXPECT_EQ(ProfileInUseMessage(profile, second)
                  .strText.rfind("Quotino is already running on the profile " + profile + ",", 0),
        0u);
    first.Unlock();

    std::filesystem::create_directory(profile + ".lock");
    CProfileLock refused(profile);
    {
        // Neither is a folder.
        const SEnvironment runtime("XDG_RUNTIME_DIR", profile), temporary("TMPDIR", profile);
        EXPECT_EQ(refused.Lock(), CProfileLock::EState::Failed);
    }
    EXPECT_EQ(ProfileInUseMessage(profile, refused).strText,
        "The profile " + profile + " cannot be locked; a second run could overwrite its changes.\n"
            + "Remove " + profile + ".lock and start Quotino again.");
}
#endif

} // namespace

// The user's profile file is never lost to a start or a save: one that cannot be read is left
// alone, one that the user made read-only is not replaced, a replaced one keeps its mode and
// owner, and a rebuild carries every readable price.
#include "app/QuotinoApp.h"
#include "calc/OfferCalculator.h"
#include "platform/Clock.h"
#include "support/FakeUserInterface.h"
#include "support/FilePermissionsApply.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One run of the program's core on the profile at path, up to the save at its end.
class ProgramRun {
public:
    explicit ProgramRun(const std::string& path)
        : m_app(path, m_clock)
    {
        m_app.InitInstance();
    }

    bool Load() { return m_app.LoadConfiguration(m_window, m_ui); }

    CFixedClock m_clock { std::time(nullptr) };
    CQuotinoApp m_app;
    COfferCalculator m_window { m_app.Catalog(), m_app.Texts(), m_app.Servers(), m_app.Settings() };
    CFakeUserInterface m_ui { "English" };
};

// A profile of the current version, as a user's first run leaves it.
std::string FirstRunProfile(const std::string& path)
{
    ProgramRun first(path);
    EXPECT_TRUE(first.Load());
    first.m_app.Servers().SetServerValue("Server 1", "Karotte", "0,45");
    EXPECT_TRUE(first.m_app.SaveProfile());
    return ReadWholeFile(path);
}

class ProfileFileSafetyTest : public ::testing::Test {
protected:
    TempDir m_dir;
    const std::string m_path = m_dir.file("quotino.ini");
};

// Mode 000 and a folder in the file's place: neither is read, so neither may be replaced. The
// run goes on with the built-in profile and says why, naming the file and the reason.
TEST_F(ProfileFileSafetyTest, AProfileThatCannotBeReadIsLeftAsItIsAndReported)
{
    const std::string users = FirstRunProfile(m_path);
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;
    };
    const std::vector<Case> cases = {
        { "mode 000", [&] { fs::permissions(m_path, fs::perms::none); }, "Permission denied" },
        { "a folder",
            [&] {
                fs::remove(m_path);
                fs::create_directory(m_path);
            },
            "Is a directory" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        CFilePermissionsApply asAUser;
        {
            ProgramRun run(m_path);
            ASSERT_TRUE(run.Load());
            EXPECT_FALSE(run.m_app.Texts().GetText("Txt_Currency").empty());
            ASSERT_EQ(run.m_ui.m_messages.size(), 1u);
            EXPECT_NE(run.m_ui.m_messages[0].find(m_path), std::string::npos);
            EXPECT_NE(run.m_ui.m_messages[0].find(c.reason), std::string::npos);
            EXPECT_TRUE(run.m_app.ProfileProblemShown());
            EXPECT_FALSE(run.m_app.SaveProfile());
        }
        EXPECT_FALSE(fs::exists(m_path + ".bak"));
        fs::permissions(m_path, fs::perms::owner_all);
        if (fs::is_regular_file(m_path)) {
            EXPECT_EQ(ReadWholeFile(m_path), users);
        }
        fs::remove(m_path);
        WriteWholeFile(m_path, users);
    }
}

TEST_F(ProfileFileSafetyTest, AReadOnlyProfileIsNotReplacedAndTheSaveFails)
{
    const std::string users = FirstRunProfile(m_path);
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    CFilePermissionsApply asAUser;

    ProgramRun run(m_path);
    ASSERT_TRUE(run.Load());
    EXPECT_TRUE(run.m_ui.m_messages.empty());
    run.m_app.Servers().SetServerValue("Server 1", "Karotte", "0,99");
    EXPECT_FALSE(run.m_app.SaveProfile());
    EXPECT_EQ(run.m_app.Profile().LastFileError(), EACCES);
    EXPECT_EQ(ReadWholeFile(m_path), users);

    // Made writable again, the same run saves.
    fs::permissions(m_path, fs::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_TRUE(run.m_app.SaveProfile());
    EXPECT_EQ(run.m_app.Profile().LastFileError(), 0);
}

TEST_F(ProfileFileSafetyTest, AReplacedProfileKeepsItsModeAndOwnerOrIsNotReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "handing a file to another owner needs the superuser";
    const std::string users = FirstRunProfile(m_path);
    constexpr uid_t kOther = 12345;
    ASSERT_EQ(::chown(m_path.c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chmod(m_path.c_str(), 0664), 0);
    {
        ProgramRun run(m_path);
        ASSERT_TRUE(run.Load());
        ASSERT_TRUE(run.m_app.SaveProfile());
        struct stat info { };
        ASSERT_EQ(::stat(m_path.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, kOther);
        EXPECT_EQ(info.st_gid, kOther);
        EXPECT_EQ(info.st_mode & 07777, 0664u);
    }

    // Without the power to give the new file that owner, the old file stays.
    ASSERT_EQ(::chmod(m_path.c_str(), 0666), 0);
    const std::string before = ReadWholeFile(m_path);
    CFilePermissionsApply asAUser;
    ProgramRun run(m_path);
    ASSERT_TRUE(run.Load());
    run.m_app.Servers().SetServerValue("Server 1", "Karotte", "0,99");
    EXPECT_FALSE(run.m_app.SaveProfile());
    EXPECT_EQ(run.m_app.Profile().LastFileError(), EPERM);
    EXPECT_EQ(ReadWholeFile(m_path), before);
    struct stat info { };
    ASSERT_EQ(::stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kOther);
}

// No folder to create the profile in: said once at start, and the language is still asked
// so that the run speaks the user's language.
TEST_F(ProfileFileSafetyTest, AProfileThatCannotBeCreatedIsSaidOnce)
{
    const std::string path = m_dir.file("missing/quotino.ini");
    ProgramRun run(path);
    ASSERT_TRUE(run.Load());
    ASSERT_EQ(run.m_ui.m_messages.size(), 1u);
    EXPECT_NE(run.m_ui.m_messages[0].find(path), std::string::npos);
    EXPECT_NE(run.m_ui.m_messages[0].find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(run.m_app.ProfileProblemShown());
    EXPECT_EQ(run.m_app.Texts().GetText("Txt_Currency"), "gB");
}

// A rebuild from an older version takes every price line of every server section, whatever
// the old catalogue says; the replaced file is the backup.
TEST_F(ProfileFileSafetyTest, ARebuildKeepsEveryServersPricesWhateverTheCatalogueSays)
{
    const std::string users = FirstRunProfile(m_path);
    const auto older = [&users](const std::string& plants) {
        std::string bytes = users;
        bytes.replace(bytes.find("Version=1.39"), 12, "Version=1.38");
        const std::size_t header = bytes.find("\r\n[Plants]\r\n");
        bytes.replace(header, 12, plants);
        return bytes + "[Server 2]\r\nSalat=0,30\r\nFremdpflanze=1,25\r\n";
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        { "[Plants] renamed", older("\r\n[Pflanzen]\r\n") },
        { "[Plants] header broken", older("\r\n[Plants\r\n") },
        { "catalogue intact", older("\r\n[Plants]\r\n") },
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        WriteWholeFile(m_path, bytes);
        ProgramRun run(m_path);
        ASSERT_TRUE(run.Load());
        EXPECT_EQ(ReadWholeFile(m_path + ".bak"), bytes);
        CIniFile& profile = run.m_app.Profile();
        EXPECT_EQ(profile.GetString("Settings", "Version"), "1.39");
        EXPECT_EQ(profile.GetString("Server 1", "Karotte"), "0,45");
        EXPECT_EQ(profile.GetString("Server 2", "Salat"), "0,30");
        EXPECT_EQ(profile.GetString("Server 2", "Fremdpflanze"), "1,25");
        EXPECT_EQ(run.m_app.Servers().GetServerValue("Server 2", "Salat", ""), "0,30");
    }
}

} // namespace

#include "platform/AtomicFile.h"
#include "platform/ByteSink.h"
#include "platform/Utf8Path.h"
#include "support/TempDir.h"

#include "../profile/ProfileText.h"
#include "Writing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <stdexcept>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

std::set<std::string> FolderContents(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(Utf8FromPath(entry.path().filename()));
    return names;
}

// Permission bits and the umask are POSIX; the Windows tests check the file attributes instead.
#ifndef _WIN32
mode_t PermissionBits(const std::string& path)
{
    struct stat info { };
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(AtomicFile, ReplacesTheContentAndKeepsThePermissionBits)
{
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteWholeFile(path, "old content that is longer than the new one");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    EXPECT_TRUE(ReplaceFileAtomically(path, Writing("new")));
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(PermissionBits(path), 0640u);
    EXPECT_EQ(FolderContents(dir.path()), std::set<std::string> { "p.ini" });
}

TEST(AtomicFile, NewFileGetsTheUsualPermissions)
{
    TempDir dir;
    const mode_t previous = ::umask(022);
    EXPECT_TRUE(ReplaceFileAtomically(dir.file("p.ini"), Writing("fresh")));
    ::umask(previous);
    EXPECT_EQ(ReadWholeFile(dir.file("p.ini")), "fresh");
    EXPECT_EQ(PermissionBits(dir.file("p.ini")), 0644u);
}
#endif

TEST(AtomicFile, FailureLeavesTheOldFileIntactAndNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.file("p.ini");
    const std::string old = "[A]\r\nx=1\r\n";
    fs::create_directory(dir.file("folder.ini"));
    WriteWholeFile(dir.file("plain"), "a file, not a folder");

    struct Case {
        const char* name;
        std::string target;
        std::function<bool(CByteSink&)> write;
    };
    const Case cases[] = {
        { "writer fails halfway", path,
            [](CByteSink& sink) { return sink.Write("[A]\r\n", 5) && false; } },
        { "writer throws", path,
            [](CByteSink& sink) -> bool {
                sink.Write("[A]", 3);
                throw std::runtime_error("boom");
            } },
        { "target is a folder", dir.file("folder.ini"), Writing("x") },
        { "folder is a file", dir.file("plain/p.ini"), Writing("x") },
        { "folder is missing", dir.file("missing/p.ini"), Writing("x") },
        { "empty path", "", Writing("x") },
    };
    for (const Case& c : cases) {
        WriteWholeFile(path, old);
        const auto before = FolderContents(dir.path());
        EXPECT_FALSE(ReplaceFileAtomically(c.target, c.write)) << c.name;
        EXPECT_EQ(ReadWholeFile(path), old) << c.name;
        EXPECT_EQ(FolderContents(dir.path()), before) << c.name;
    }
    EXPECT_TRUE(fs::is_directory(dir.file("folder.ini")));
}

// Links need privileges on Windows; a Windows save is not made to follow links.
#ifndef _WIN32
TEST(AtomicFile, SymbolicLinksAreFollowedAndKept)
{
    TempDir dir;
    fs::create_directory(dir.file("real"));
    WriteWholeFile(dir.file("real/p.ini"), "old");
    fs::create_symlink("real/p.ini", dir.file("link.ini"));
    fs::create_symlink(dir.file("link.ini"), dir.file("chain.ini"));
    fs::create_symlink("real/not-yet.ini", dir.file("dangling.ini"));

    auto profile = ReadProfile("[A]\r\nx=1\r\n");
    EXPECT_TRUE(profile->Save(dir.file("chain.ini")));
    EXPECT_TRUE(fs::is_symlink(dir.file("chain.ini")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(ReadWholeFile(dir.file("real/p.ini")), "[A]\r\nx=1\r\n");
    EXPECT_EQ(profile->Status().m_szFullName, dir.file("chain.ini"));

    EXPECT_TRUE(ReplaceFileAtomically(dir.file("dangling.ini"), Writing("created")));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling.ini")));
    EXPECT_EQ(ReadWholeFile(dir.file("real/not-yet.ini")), "created");
    EXPECT_EQ(FolderContents(dir.path()),
        (std::set<std::string> { "real", "link.ini", "chain.ini", "dangling.ini" }));
}
#endif

TEST(AtomicFile, LeftoversOfAKilledSaveAreRemovedOnlyForTheTarget)
{
    TempDir dir;
    const std::string path = dir.file("p.ini");
    const std::string prefix = TemporaryFilePrefix(path);
    EXPECT_EQ(prefix, ".p.ini.tmp-");
    for (const char* name : { ".p.ini.tmp-abc123", ".p.ini.tmp-Zz9xY0", ".p.ini.tmp-short",
             ".q.ini.tmp-abc123", "p.ini.tmp-abc123", ".p.ini.tmp-abc123.keep" })
        WriteWholeFile(dir.file(name), "leftover");

    EXPECT_TRUE(ReplaceFileAtomically(path, Writing("new")));
    EXPECT_EQ(FolderContents(dir.path()),
        (std::set<std::string> { "p.ini", ".p.ini.tmp-short", ".q.ini.tmp-abc123",
            "p.ini.tmp-abc123", ".p.ini.tmp-abc123.keep" }));
}

} // namespace

#include "Writing.h"
#include "platform/AtomicFile.h"
#include "platform/ByteSink.h"
#include "platform/Utf8Path.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace {

DWORD Attributes(const std::string& path)
{
    return ::GetFileAttributesW(PathFromUtf8(path).c_str());
}

std::size_t FileCount(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// What stands for the permission bits on Windows: a hidden or system profile stays so after a
// save, and one the user marked read-only is not replaced at all.
TEST(AtomicFileWindows, KeepsTheAttributesAndRefusesAReadOnlyFile)
{
    struct Case {
        DWORD attributes;
        bool replaced;
    };
    const Case cases[] = {
        { FILE_ATTRIBUTE_NORMAL, true },
        { FILE_ATTRIBUTE_HIDDEN, true },
        { FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true },
        { FILE_ATTRIBUTE_READONLY, false },
        { FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        TempDir dir;
        const std::string path = dir.file("p.ini");
        WriteWholeFile(path, "old");
        ASSERT_TRUE(::SetFileAttributesW(PathFromUtf8(path).c_str(), c.attributes));

        EXPECT_EQ(ReplaceFileAtomically(path, Writing("new")), c.replaced);
        EXPECT_EQ(ReadWholeFile(path), c.replaced ? "new" : "old");
        const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_EQ(Attributes(path) & kept, c.attributes & kept);
        EXPECT_EQ(FileCount(dir.path()), 1u);
        ::SetFileAttributesW(PathFromUtf8(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// Another program holding the profile open without allowing its deletion (an editor, a virus
// scanner) makes the move fail: the save reports it and leaves no temporary file.
TEST(AtomicFileWindows, FileHeldOpenByAnotherProgramIsLeftAsItWas)
{
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteWholeFile(path, "old");
    const HANDLE held = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReplaceFileAtomically(path, Writing("new")));
    ::CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_EQ(FileCount(dir.path()), 1u);
    EXPECT_TRUE(ReplaceFileAtomically(path, Writing("new")));
    EXPECT_EQ(ReadWholeFile(path), "new");
}

} // namespace

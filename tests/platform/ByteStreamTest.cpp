#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "platform/FileStatus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string ReadAll(CByteSource& source, std::size_t step)
{
    std::string result;
    std::string buffer(step, '\0');
    for (std::ptrdiff_t count; (count = source.Read(buffer.data(), step)) > 0;)
        result.append(buffer.data(), static_cast<std::size_t>(count));
    return result;
}

TEST(ByteStream, MemorySourceDeliversEverythingThenZero)
{
    const std::string text = "one\r\ntwo\0three";
    CMemorySource source(text.data(), text.size());
    EXPECT_EQ(source.ExpectedSize(), text.size());
    EXPECT_EQ(ReadAll(source, 4), text);
    EXPECT_EQ(source.ExpectedSize(), 0u);
    char byte;
    EXPECT_EQ(source.Read(&byte, 1), 0);
    CMemorySource nothing(nullptr, 10);
    EXPECT_EQ(nothing.Read(&byte, 1), 0);
}

TEST(ByteStream, FileSinkAndSourceCarryLargeAndSmallWrites)
{
    TempDir dir;
    const std::string path = dir.file("data.bin");
    std::string expected;
    {
        CFileSink sink(path);
        ASSERT_TRUE(sink.IsOpen());
        const std::string big(200000, '\xE4');
        for (const std::string& piece :
            { std::string("head\r\n"), big, std::string(70000, 'x'), std::string("tail") }) {
            EXPECT_TRUE(sink.Write(piece.data(), piece.size()));
            expected += piece;
        }
        EXPECT_TRUE(sink.Close());
    }
    CFileSource source(path);
    ASSERT_TRUE(source.IsOpen());
    EXPECT_EQ(source.ExpectedSize(), expected.size());
    EXPECT_EQ(ReadAll(source, 65536), expected);
}

// Windows has no device that is always full (Wine happens to pass the path to Linux's).
#ifndef _WIN32
TEST(ByteStream, FileSinkReportsAFullDisk)
{
    CFileSink sink(std::string("/dev/full"));
    ASSERT_TRUE(sink.IsOpen());
    const std::string block(100000, 'x');
    EXPECT_FALSE(sink.Write(block.data(), block.size()) && sink.Flush());
    EXPECT_FALSE(sink.Write("y", 1));
    EXPECT_FALSE(sink.Close());
}
#endif

TEST(ByteStream, FilesThatCannotBeOpenedAreNotOpen)
{
    TempDir dir;
    EXPECT_FALSE(CFileSource(dir.file("missing")).IsOpen());
    EXPECT_FALSE(CFileSource(dir.path().string()).IsOpen());
    EXPECT_FALSE(CFileSink(dir.file("missing/child")).IsOpen());
    char byte;
    EXPECT_EQ(CFileSource(dir.file("missing")).Read(&byte, 1), -1);
}

TEST(FileStatus, FillsTheAbsolutePathAlsoForMissingFiles)
{
    TempDir dir;
    CFileStatus status;
    EXPECT_FALSE(GetFileStatus(dir.file("sub/../missing.ini"), status));
    EXPECT_EQ(status.m_szFullName, dir.file("missing.ini"));

    const std::string path = dir.file("there.ini");
    WriteWholeFile(path, "12345");
    ASSERT_TRUE(SetModificationTime(path, 1234567890, 999999));
    EXPECT_TRUE(GetFileStatus(path, status));
    EXPECT_EQ(status.m_szFullName, path);
    EXPECT_EQ(status.m_mtime, 1234567890);
    EXPECT_EQ(status.m_size, 5u);

    EXPECT_FALSE(GetFileStatus("", status));
    EXPECT_EQ(status.m_szFullName, "");
}

} // namespace

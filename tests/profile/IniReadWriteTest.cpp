#include "ProfileText.h"
#include "RealisticProfile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <utility>

namespace {

// Delivers its text a few bytes per call and fails after a given number of bytes.
class CTrickleSource : public CByteSource {
public:
    CTrickleSource(std::string text, std::size_t step, std::size_t failAt = std::string::npos,
        std::size_t expected = 0)
        : m_text(std::move(text))
        , m_step(step)
        , m_failAt(failAt)
        , m_expected(expected)
    {
    }

    std::size_t ExpectedSize() const override { return m_expected; }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override
    {
        if (m_position >= m_failAt)
            return -1;
        const std::size_t count
            = std::min({ size, m_step, m_text.size() - m_position, m_failAt - m_position });
        std::copy_n(m_text.data() + m_position, count, buffer);
        m_position += count;
        return static_cast<std::ptrdiff_t>(count);
    }

private:
    std::string m_text;
    std::size_t m_step;
    std::size_t m_failAt;
    std::size_t m_expected;
    std::size_t m_position = 0;
};

// Takes bytes until its capacity is used up, then refuses.
class CFullSink : public CByteSink {
public:
    explicit CFullSink(std::size_t capacity)
        : m_capacity(capacity)
    {
    }
    bool Write(const char* data, std::size_t size) override
    {
        if (m_data.size() + size > m_capacity)
            return false;
        m_data.append(data, size);
        return true;
    }
    std::string m_data;

private:
    std::size_t m_capacity;
};

// Any line end reads alike and a carriage return alone ends no line; lines are trimmed but
// inner blanks stay; a repeated header merges its lines under the first.
TEST(IniReadWrite, DocumentsAreWrittenBackWithTrimmedCrLfLines)
{
    const char* const ab = "; c\r\n[A]\r\nx=1\r\n\r\ny=2\r\n";
    const std::pair<std::string, std::string> cases[] = {
        { ab, ab },
        { "; c\n[A]\nx=1\n\ny=2\n", ab },
        { "; c\n[A]\r\nx=1\n\r\ny=2", ab },
        { "; c\n[A]\nx=\r1\n\r\r\ny=2\r", ab },
        { "[A]\rx=1\ry=2\r", "[[A]x=1y=2]\r\n" },
        { "[Plants]\r\n\t  Karotte=  10;  17 \t\r\n   ; comment  \r\n  \t \r\n",
            "[Plants]\r\nKarotte=  10;  17\r\n; comment\r\n\r\n" },
        { "[Settings]\r\na=1\r\n[Other]\r\nb=2\r\n[ settings ]\r\nc=3\r\na=4\r\n",
            "[Settings]\r\na=1\r\nc=3\r\na=4\r\n[Other]\r\nb=2\r\n" },
    };
    for (const auto& [text, written] : cases)
        EXPECT_EQ(WriteProfile(*ReadProfile(text)), written) << text;
}

TEST(IniReadWrite, ReadingInPiecesGivesTheSameDocument)
{
    const RealisticProfile realistic = MakeRealisticProfile();
    for (const std::size_t step : { std::size_t(1), std::size_t(7), std::size_t(4096) }) {
        CIniFile profile;
        CTrickleSource source(realistic.text, step);
        ASSERT_TRUE(profile.ReadFrom(source));
        EXPECT_EQ(WriteProfile(profile), realistic.written) << "step " << step;
    }
}

// The expected size only saves the reader from growing its buffer; a source that turns out
// longer or shorter (a file changed while read) must still be read whole.
TEST(IniReadWrite, ExpectedSizeThatIsWrongStillReadsEverything)
{
    const RealisticProfile realistic = MakeRealisticProfile();
    const std::size_t size = realistic.text.size();
    for (const std::size_t expected : { std::size_t(1), size - 1, size, size + 1, 3 * size }) {
        for (const std::size_t step : { std::size_t(7), size }) {
            CIniFile profile;
            CTrickleSource source(realistic.text, step, std::string::npos, expected);
            ASSERT_TRUE(profile.ReadFrom(source));
            EXPECT_EQ(WriteProfile(profile), realistic.written) << expected << " " << step;
        }
    }
}

TEST(IniReadWrite, FileStartingWithAHeaderHasAnEmptyNamelessSection)
{
    auto profile = ReadProfile("[Lang]\r\nDeutsch=1\r\n");
    ASSERT_EQ(profile->GetSize(), 2u);
    EXPECT_EQ(profile->GetAt(0)->GetName(), "");
    EXPECT_TRUE(profile->GetAt(0)->Lines().empty());
    EXPECT_EQ(WriteProfile(*profile), "[Lang]\r\nDeutsch=1\r\n");
}

// A hostile file that switches between two sections on every other line must not make the
// reader rebuild a growing section again and again: that took minutes for one megabyte.
TEST(IniReadWrite, AlternatingHeadersReadInLinearTime)
{
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "[A]\nk" + std::to_string(i) + "=1\n[B]\nx=2\n";
    const auto start = std::chrono::steady_clock::now();
    auto profile = ReadProfile(text);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(profile->GetSize(), 3u);
    EXPECT_EQ(profile->GetAt(1)->Lines().size(), 50000u);
    EXPECT_EQ(profile->GetString("a", "K49999"), "1");
    EXPECT_LT(elapsed, std::chrono::seconds(10));
}

TEST(IniReadWrite, HeaderNamesAreTakenAsWritten)
{
    struct Case {
        const char* text;
        const char* name;
        const char* written;
    };
    const Case cases[] = {
        { "  [ Spaced  Name ]  \r\n", "Spaced  Name", "[Spaced  Name]\r\n" },
        { "[Lang] ; comment\r\n", "[Lang] ; comment", "[[Lang] ; comment]\r\n" },
        { "[Open\r\n", "[Open", "[[Open]\r\n" },
        { "[[Nested]]\r\n", "[Nested]", "[[Nested]]\r\n" },
    };
    for (const Case& c : cases) {
        auto profile = ReadProfile(c.text);
        ASSERT_EQ(profile->GetSize(), 2u) << c.text;
        EXPECT_EQ(profile->GetAt(1)->GetName(), c.name);
        EXPECT_EQ(WriteProfile(*profile), c.written);
        // Once written, the name is stable.
        EXPECT_EQ(WriteProfile(*ReadProfile(c.written)), c.written);
    }
}

TEST(IniReadWrite, ReadErrorStopsWithWhatWasReadAndUsableLookups)
{
    const std::string text = "[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n";
    CIniFile profile;
    profile.SetAutoReload(false);
    CTrickleSource source(text, 3, text.find("z=3"));
    EXPECT_FALSE(profile.ReadFrom(source));
    EXPECT_EQ(WriteProfile(profile), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(profile.GetString("B", "y"), "2");
}

TEST(IniReadWrite, WriteErrorIsReported)
{
    auto profile = ReadProfile("[A]\r\nx=1\r\ny=2\r\n");
    const std::string full = WriteProfile(*profile);
    for (std::size_t capacity = 0; capacity < full.size(); ++capacity) {
        CFullSink sink(capacity);
        EXPECT_FALSE(profile->WriteTo(sink)) << capacity;
    }
    CFullSink roomy(full.size());
    EXPECT_TRUE(profile->WriteTo(roomy));
}

TEST(IniReadWrite, RealisticProfileComesBackTrimmedWithCrLf)
{
    const RealisticProfile realistic = MakeRealisticProfile();
    ASSERT_GT(realistic.lineCount, 1400u);
    auto profile = ReadProfile(realistic.text);
    EXPECT_EQ(WriteProfile(*profile), realistic.written);
    // Every key line is found through the maps, whatever the letter case of the question.
    for (const auto& [section, key] : realistic.keys) {
        std::string shouted = key;
        for (char& c : shouted)
            c = static_cast<char>(c ^ (std::isalpha(static_cast<unsigned char>(c)) ? 0x20 : 0));
        ASSERT_NE(profile->GetString(section, shouted, "\x01missing"), "\x01missing")
            << section << " " << key;
    }
}

// The file holds exactly the document's bytes: CR LF written once (not "\r\r\n" by a text-mode
// runtime), and a byte 0x1A inside a value neither ends the reading nor gets lost. A second
// save replaces the first file.
TEST(IniReadWrite, FileHoldsTheDocumentByteForByteAndASaveReplacesIt)
{
    TempDir dir;
    const std::string path = dir.file("p.ini");
    const std::string first = "; Gr\xFC\xDF\xE9\r\n[A]\r\nx=before\x1A"
                              "after\r\ny=\xE4\x80\r\n\r\n[B]\r\nz=3\r\n";
    const std::string second = "[A]\r\nx=\x1A\r\n";
    for (const std::string& bytes : { first, second }) {
        auto profile = ReadProfile(bytes);
        ASSERT_EQ(WriteProfile(*profile), bytes);
        ASSERT_TRUE(profile->Save(path));
        EXPECT_EQ(ReadWholeFile(path), bytes);

        CIniFile loaded;
        loaded.SetAutoSave(false);
        ASSERT_TRUE(loaded.Load(path));
        EXPECT_EQ(WriteProfile(loaded), bytes);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(IniReadWrite, LoadOfAMissingFileRemembersThePathForSave)
{
    TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    CIniFile profile;
    EXPECT_FALSE(profile.Load("sub/../new.ini"));
    std::filesystem::current_path(previous);

    EXPECT_EQ(profile.Status().m_szFullName, dir.file("new.ini"));
    profile.SetAutoSave(false);
    profile.WriteString("A", "x", "1");
    EXPECT_TRUE(profile.Save());
    EXPECT_EQ(ReadWholeFile(dir.file("new.ini")), "[A]\r\nx=1\r\n");
}

TEST(IniReadWrite, LoadAndSaveReportFailures)
{
    TempDir dir;
    CIniFile profile;
    EXPECT_FALSE(profile.Load());
    EXPECT_FALSE(profile.Save());
    EXPECT_FALSE(profile.Load(dir.path().string()));
    WriteWholeFile(dir.file("empty.ini"), "");
    EXPECT_TRUE(profile.Load(dir.file("empty.ini")));
    EXPECT_EQ(profile.GetSize(), 0u);
}

TEST(IniReadWrite, FailedLoadLeavesTheDocumentUnchanged)
{
    TempDir dir;
    WriteWholeFile(dir.file("p.ini"), "[A]\r\nx=1\r\n");
    CIniFile profile(dir.file("p.ini"));
    EXPECT_FALSE(profile.Load(dir.file("missing.ini")));
    EXPECT_EQ(WriteProfile(profile), "[A]\r\nx=1\r\n");
}

TEST(IniReadWrite, AutoSaveWritesEveryChange)
{
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteWholeFile(path, "[A]\nx=1\n");
    CIniFile profile(path);
    EXPECT_TRUE(profile.WriteString("A", "y", "2"));
    EXPECT_EQ(ReadWholeFile(path), "[A]\r\nx=1\r\ny=2\r\n");
    EXPECT_TRUE(profile.WriteString("A", std::nullopt, std::nullopt));
    EXPECT_EQ(ReadWholeFile(path), "");

    profile.SetAutoSave(false);
    EXPECT_TRUE(profile.WriteString("B", "z", "3"));
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(IniReadWrite, AutoReloadPicksUpNewerFilesButNotOurOwnSaves)
{
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteWholeFile(path, "[A]\r\nx=1\r\n");
    ASSERT_TRUE(SetModificationTime(path, 1000000000));
    CIniFile profile(path);
    profile.SetAutoSave(false);
    profile.WriteString("A", "x", "changed in memory");

    EXPECT_FALSE(profile.ReloadIfChanged());
    EXPECT_EQ(profile.GetString("A", "x"), "changed in memory");

    WriteWholeFile(path, "[A]\r\nx=2\r\n");
    ASSERT_TRUE(SetModificationTime(path, 1000000001));
    EXPECT_EQ(profile.GetString("A", "x"), "2");

    profile.SetAutoSave(true);
    EXPECT_TRUE(profile.WriteString("A", "x", "3"));
    EXPECT_FALSE(profile.ReloadIfChanged());

    profile.SetAutoReload(false);
    WriteWholeFile(path, "[A]\r\nx=4\r\n");
    ASSERT_TRUE(SetModificationTime(path, std::time(nullptr) + 100));
    EXPECT_EQ(profile.GetString("A", "x"), "3");
}

} // namespace

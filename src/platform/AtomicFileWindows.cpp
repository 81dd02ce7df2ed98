#include "platform/AtomicFile.h"

#include "platform/ByteSink.h"
#include "platform/FileDescriptor.h"
#include "platform/Utf8Path.h"

#include <windows.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

constexpr int kRandomLength = 6;
// What a replaced file keeps of the old one's attributes. Read-only is not among them: such a
// file is never replaced.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string PrefixFor(const fs::path& target)
{
    std::string prefix = ".";
    prefix += Utf8FromPath(target.filename());
    prefix += ".tmp-";
    return prefix;
}

fs::path FolderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

std::string RandomSuffix()
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937_64 generator(std::random_device {}()
        ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
        ^ static_cast<std::uint64_t>(::GetCurrentProcessId()));
    std::uniform_int_distribution<size_t> pick(0, sizeof(kAlphabet) - 2);
    std::string suffix(kRandomLength, ' ');
    for (char& c : suffix)
        c = kAlphabet[pick(generator)];
    return suffix;
}

// Removes what a killed save of the same target left behind: only files named by our prefix
// followed by exactly the random part.
void RemoveLeftovers(const fs::path& folder, const std::string& prefix)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = Utf8FromPath(entry->path().filename());
        if (name.size() == prefix.size() + kRandomLength && name.compare(0, prefix.size(), prefix) == 0) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

int CreateTemporary(const fs::path& folder, const std::string& prefix, fs::path& created)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder / PathFromUtf8(prefix + RandomSuffix());
        const int fd = CreateNewFile(Utf8FromPath(created));
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteTemporary(int fd, const std::function<bool(CByteSink&)>& write)
{
    CFileSink sink(fd);
    bool ok = false;
    try {
        ok = write(sink);
    } catch (const std::exception&) {
        ok = false;
    }
    ok = ok && sink.Sync();
    return sink.Close() && ok;
}

// A folder is never replaced, nor a file the user marked read-only. The move would refuse both
// too, but only after the whole new file was written.
bool MayReplace(DWORD attributes)
{
    return attributes == INVALID_FILE_ATTRIBUTES
        || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

} // namespace

std::string TemporaryFilePrefix(const std::string& path) { return PrefixFor(PathFromUtf8(path)); }

// Symbolic links are not followed here: creating one needs rights an ordinary Windows user
// lacks, and the move replaces the name it is given.
bool ReplaceFileAtomically(const std::string& path, const std::function<bool(CByteSink&)>& write,
                           int* error)
{
    const auto fail = [error](int code) {
        if (error)
            *error = code != 0 ? code : EIO;
        return false;
    };
    if (path.empty())
        return fail(ENOENT);
    const fs::path target = PathFromUtf8(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (!MayReplace(attributes))
        return fail(EACCES);
    const fs::path folder = FolderOf(target);
    const std::string prefix = PrefixFor(target);
    RemoveLeftovers(folder, prefix);

    fs::path temporary;
    const int fd = CreateTemporary(folder, prefix, temporary);
    if (fd < 0)
        return fail(errno);
    errno = 0;
    bool ok = WriteTemporary(fd, write);
    const int writeError = errno;
    if (ok && attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKeptAttributes) != 0)
        ::SetFileAttributesW(temporary.c_str(), attributes & kKeptAttributes);
    // The data was flushed before; write-through makes the move itself reach the disk before
    // the call returns, as syncing the folder does elsewhere.
    if (!ok) {
        ::DeleteFileW(temporary.c_str());
        return fail(writeError);
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary.c_str());
        return fail(EACCES);
    }
    return true;
}

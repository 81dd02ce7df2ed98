#include "platform/AtomicFile.h"

#include "platform/ByteSink.h"
#include "platform/FileDescriptor.h"
#include "platform/TemporarySibling.h"
#include "platform/Utf8Path.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// What a replaced file keeps of the old one's attributes. Read-only is not among them: such a
// file is never replaced.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
    | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

int CreateTemporary(const fs::path& folder, const std::string& prefix, fs::path& created)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder / PathFromUtf8(prefix + RandomTemporarySuffix());
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

std::string TemporaryFilePrefix(const std::string& path)
{
    return TemporaryPrefixFor(PathFromUtf8(path));
}

// Symbolic links are not followed here: creating one needs rights an ordinary Windows user
// lacks, and the move replaces the name it is given.
bool ReplaceFileAtomically(
    const std::string& path, const std::function<bool(CByteSink&)>& write, int* error)
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
    const std::string prefix = TemporaryPrefixFor(target);
    RemoveTemporaryLeftovers(folder, prefix);

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
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary.c_str());
        return fail(EACCES);
    }
    return true;
}

#include "platform/AtomicFile.h"

#include "platform/ByteSink.h"
#include "platform/TemporarySibling.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkDepth = 40;

// The file that path finally designates once symbolic links are followed; it need not exist.
fs::path ResolveLinks(fs::path path)
{
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            break;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// Opens a new temporary file; the system's umask applies as it would to a new profile.
int CreateTemporary(const fs::path& folder, const std::string& prefix, fs::path& created)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder / (prefix + RandomTemporarySuffix());
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Whether the user may replace the existing file described by info: the folder alone does
// not decide, since a rename ignores the file's own mode.
bool MayReplace(const fs::path& target, const struct stat& info)
{
    constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
    return (info.st_mode & kAnyWrite) != 0 && ::access(target.c_str(), W_OK) == 0;
}

// Gives the new file the old one's permission bits and owner. False (errno set) when either
// cannot be kept.
bool CopyOwnership(int fd, const struct stat& original)
{
    struct stat created;
    if (::fstat(fd, &created) != 0)
        return false;
    if ((created.st_uid != original.st_uid || created.st_gid != original.st_gid)
        && ::fchown(fd, original.st_uid, original.st_gid) != 0)
        return false;
    // After the owner: changing it may clear the set-id bits.
    return ::fchmod(fd, original.st_mode & 07777) == 0;
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

void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // The new file is in place already; a folder that cannot be flushed is no reason to fail.
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::string TemporaryFilePrefix(const std::string& path)
{
    return TemporaryPrefixFor(ResolveLinks(path));
}

bool ReplaceFileAtomically(
    const std::string& path, const std::function<bool(CByteSink&)>& write, int* error)
{
    int failure = 0;
    const auto fail = [error](int code) {
        if (error)
            *error = code != 0 ? code : EIO;
        return false;
    };
    if (path.empty())
        return fail(ENOENT);
    const fs::path target = ResolveLinks(path);
    const fs::path folder = FolderOf(target);
    const std::string prefix = TemporaryPrefixFor(target);

    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !MayReplace(target, existing))
        return fail(EACCES);
    RemoveTemporaryLeftovers(folder, prefix);

    fs::path temporary;
    const int fd = CreateTemporary(folder, prefix, temporary);
    if (fd < 0)
        return fail(errno);
    if (exists && !CopyOwnership(fd, existing)) {
        failure = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return fail(failure);
    }
    errno = 0;
    if (!WriteTemporary(fd, write) || ::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = errno;
        ::unlink(temporary.c_str());
        return fail(failure);
    }
    SyncFolder(folder);
    return true;
}

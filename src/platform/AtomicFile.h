#pragma once

#include <functional>
#include <string>

class CByteSink;

// Replaces the file at path with what write puts into the sink, so that the file holds either
// its old or its new content whatever happens: the bytes go to a temporary file in the same
// folder, which is flushed to the disk and then renamed over the target. A symbolic link is
// followed and the file it points to is replaced. Leftover temporary files of an earlier save
// that was killed are removed.
// The file's own permissions count: a file that the user cannot write (or that has no write
// permission at all, which also holds for the superuser) is not replaced. The new file gets
// the old one's permission bits and owner; where the owner cannot be kept, the save fails
// rather than handing the user's file to someone else.
// Returns false, with the old file untouched, when write returns false or any step fails;
// error then receives the system's error number (EIO when write gave no reason).
bool ReplaceFileAtomically(
    const std::string& path, const std::function<bool(CByteSink&)>& write, int* error = nullptr);

// The prefix of the temporary files that saving path creates beside it.
std::string TemporaryFilePrefix(const std::string& path);

#pragma once

#include <cstdint>
#include <string>

// What the profile document remembers of the file it last read or wrote.
struct CFileStatus {
    std::string m_szFullName; // absolute path, filled also for a file that does not exist
    std::int64_t m_mtime = 0; // modification time in whole seconds
    std::uint64_t m_size = 0;
};

// Fills status.m_szFullName with the absolute form of path first, then the time and size;
// returns false (with the full name still filled) when there is no such file.
bool GetFileStatus(const std::string& path, CFileStatus& status);

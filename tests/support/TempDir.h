#pragma once

#include <ctime>
#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes away. Tests read and write real files only in here.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The UTF-8 path of name (which may hold folders) inside the folder.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// Sets the file's modification time; false when the file is missing.
bool SetModificationTime(const std::string& path, std::time_t seconds, int microseconds = 0);

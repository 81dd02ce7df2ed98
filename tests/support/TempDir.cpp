#include "support/TempDir.h"

#include "platform/Utf8Path.h"

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

TempDir::TempDir()
{
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = base / ("quotino-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(
        m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::file(const std::string& name) const
{
    return Utf8FromPath(m_path / PathFromUtf8(name));
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool SetModificationTime(const std::string& path, std::time_t seconds, int microseconds)
{
    std::error_code error;
    const auto systemTime
        = std::chrono::system_clock::from_time_t(seconds) + std::chrono::microseconds(microseconds);
    std::filesystem::last_write_time(
        PathFromUtf8(path), std::chrono::file_clock::from_sys(systemTime), error);
    return !error;
}

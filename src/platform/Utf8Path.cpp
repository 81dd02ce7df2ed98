#include "platform/Utf8Path.h"

std::filesystem::path PathFromUtf8(const std::string& utf8)
{
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::exception&) {
        // Not UTF-8 (a name from an older Windows-1252 profile): the bytes as they are, so
        // the operation fails on that name instead of throwing through the caller.
        return std::filesystem::path(utf8);
    }
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
    try {
        const std::u8string utf8 = path.u8string();
        return std::string(utf8.begin(), utf8.end());
    } catch (const std::exception&) {
        return path.string();
    }
}

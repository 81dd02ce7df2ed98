#include "platform/TemporarySibling.h"

#include "platform/Utf8Path.h"

#include <chrono>
#include <cstdint>
#include <random>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::uint64_t ProcessId()
{
#ifdef _WIN32
    return static_cast<std::uint64_t>(::_getpid());
#else
    return static_cast<std::uint64_t>(::getpid());
#endif
}

} // namespace

std::string TemporaryPrefixFor(const fs::path& target)
{
    // Appended piece by piece: g++ 12 warns falsely about "literal" + string at -O3.
    std::string prefix = ".";
    prefix += Utf8FromPath(target.filename());
    prefix += ".tmp-";
    return prefix;
}

fs::path FolderOf(const fs::path& file)
{
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

std::string RandomTemporarySuffix()
{
    static constexpr char kAlphabet[]
        = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    // The process id tells apart children forked from one parent, which share its seed.
    static std::mt19937_64 generator(std::random_device {}()
        ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
        ^ ProcessId());
    std::uniform_int_distribution<size_t> pick(0, sizeof(kAlphabet) - 2);
    std::string suffix(kTemporaryRandomLength, ' ');
    for (char& c : suffix)
        c = kAlphabet[pick(generator)];
    return suffix;
}

void RemoveTemporaryLeftovers(const fs::path& folder, const std::string& prefix)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = Utf8FromPath(entry->path().filename());
        if (name.size() == prefix.size() + kTemporaryRandomLength
            && name.compare(0, prefix.size(), prefix) == 0) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

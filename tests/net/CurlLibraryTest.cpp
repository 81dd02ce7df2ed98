#include "net/CurlLibrary.h"

#include <gtest/gtest.h>

namespace {

#ifdef _WIN32
// Loads everywhere, exports none of the network library's functions.
constexpr const char* kLibraryWithoutCurl = "kernel32.dll";
constexpr const char* kMissingLibrary = "quotino-no-such-library.dll";
#else
constexpr const char* kLibraryWithoutCurl = "libm.so.6";
constexpr const char* kMissingLibrary = "libquotino-no-such-library.so";
#endif

} // namespace

// A library that is missing, or one that loads but lacks the functions, must leave the loader
// unusable rather than half resolved: the fetch then fails instead of calling a null pointer.
TEST(CurlLibraryTest, MissingLibraryOrFunctionsLeaveItUnloaded)
{
    for (const char* fileName : { kMissingLibrary, kLibraryWithoutCurl }) {
        SCOPED_TRACE(fileName);
        const CCurlLibrary library({ fileName });
        EXPECT_FALSE(library.IsLoaded());
    }
#ifndef _WIN32
    // No build of the library for Windows is at hand on the build machine.
    EXPECT_TRUE(CCurlLibrary({ "libm.so.6", "libcurl.so.4" }).IsLoaded());
#endif
}

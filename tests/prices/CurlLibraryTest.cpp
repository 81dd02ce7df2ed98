#include "prices/CurlLibrary.h"

#include <gtest/gtest.h>

// A library that is missing, or one that loads but lacks the functions, must leave the loader
// unusable rather than half resolved: the fetch then fails instead of calling a null pointer.
TEST(CurlLibraryTest, MissingLibraryOrFunctionsLeaveItUnloaded)
{
    for (const char* fileName : { "libquotino-no-such-library.so", "libm.so.6" }) {
        SCOPED_TRACE(fileName);
        const CCurlLibrary library({ fileName });
        EXPECT_FALSE(library.IsLoaded());
    }
    EXPECT_TRUE(CCurlLibrary({ "libm.so.6", "libcurl.so.4" }).IsLoaded());
}

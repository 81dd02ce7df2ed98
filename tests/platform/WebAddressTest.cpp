#include "platform/WebAddress.h"

#include <gtest/gtest.h>

TEST(WebAddress, OnlyHttpAndHttpsWithAHostAndNoBlanks)
{
    for (const char* url : { "http://a.example/", "HTTPS://b.example/x" })
        EXPECT_TRUE(IsWebAddress(url)) << url;
    for (const char* url : { "file:///etc/passwd", "mailto:x@example.org", "ftp://c.example/",
             "https:b.example", "", "no scheme at all", "xhttp://a.example/", "a:http://a.example/",
             "http://", "https:///x", "http://a.example/ x", "http://a.example/\n" })
        EXPECT_FALSE(IsWebAddress(url)) << url;
}

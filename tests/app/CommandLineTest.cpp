#include "app/CommandLine.h"
#include "platform/Version.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// What each face's main does with its arguments: run, or end with a status and an answer.
TEST(CommandLine, AnswersAndProfile)
{
    TempDir dir;
    const std::string usage = CCommandLine::Usage();
    const std::string version = std::string("quotino ") + kVersionText + "\n";
    const std::string profile = dir.file("a.ini");
#ifndef _WIN32
    // Not UTF-8: the file is named by these very bytes, never by a replacement character.
    const std::string odd = dir.file("\xff\xfe.ini");
#else
    const std::string odd = profile;
#endif
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
        std::string profile;
    };
    const Case cases[] = {
        { {}, -1, "", "", "" },
        { { "--help" }, 0, usage, "", "" },
        { { "-hv" }, 0, usage, "", "" },
        { { "-v", "--profile", "/nowhere/x.ini" }, 0, version, "", "" },
        { { "--version" }, 0, version, "", "" },
        { { "--bogus" }, 2, "", "quotino: Unknown option 'bogus'.\n" + usage, "" },
        { { "-x" }, 2, "", "quotino: Unknown option 'x'.\n" + usage, "" },
        { { "list.txt" }, 2, "", "quotino: Unexpected argument 'list.txt'.\n" + usage, "" },
        { { "--", "-h" }, 2, "", "quotino: Unexpected argument '-h'.\n" + usage, "" },
        { { "--help=1" }, 2, "", "quotino: Unexpected value after '--help'.\n" + usage, "" },
        { { "--profile" }, 2, "", "quotino: Missing value after '--profile'.\n" + usage, "" },
        { { "--profile=" }, 2, "", "quotino: --profile needs a file name\n", "" },
        { { "--profile", profile, "--profile=" + profile }, 2, "",
            "quotino: --profile given twice.\n" + usage, "" },
        { { "--profile", profile }, -1, "", "", profile },
        { { "--profile=" + odd }, -1, "", "", odd },
    };
    for (const Case& c : cases) {
        const CCommandLine line(c.arguments);
        const std::string given = c.arguments.empty() ? "" : c.arguments.front();
        EXPECT_EQ(line.ExitStatus(), c.status) << given;
        EXPECT_EQ(line.ShouldRun(), c.status == -1) << given;
        EXPECT_EQ(line.Output(), c.out) << given;
        EXPECT_EQ(line.Errors(), c.err) << given;
        EXPECT_EQ(line.ProfilePath(), c.profile) << given;
    }
}

} // namespace

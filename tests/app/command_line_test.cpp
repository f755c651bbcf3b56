// The Linux executable's arguments: which start a run, which only explain,
// and that neither of the latter touches a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tesra_process.h"
#include "test_support.h"

namespace tesra {
namespace {

TEST(CommandLine, HelpAndUnknownArgumentsTouchNoFile) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* saysOnStdout;  // nullptr: nothing on stdout
        const char* saysOnStderr;
    } cases[] = {
        {{"--help"}, 0, "tesra_norimen.bat", nullptr},
        {{"-h"}, 0, "tesra_touroku.bat", nullptr},
        {{}, 2, nullptr, "tesra --help"},
        {{"6"}, 2, nullptr, "1 to 5"},
    };
    const std::string exchange = CrLf({"hq", "hp1 0 0", "hp2 10 0"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no argument" : c.args.front());
        ScratchDir scratch;
        WriteBytes(scratch / "JWC_TEMP.TXT", exchange);
        test::TesraRun how;
        how.stdoutPath = (scratch / "stdout").string();
        how.stderrPath = (scratch / "stderr").string();

        EXPECT_EQ(test::RunTesraIn(scratch.path(), c.args, how).status, c.status);
        EXPECT_EQ(ReadBytes(scratch / "JWC_TEMP.TXT"), exchange);
        EXPECT_FALSE(std::filesystem::exists(scratch / "tesra.dat"));
        const std::string out = ReadBytes(scratch / "stdout"), err = ReadBytes(scratch / "stderr");
        EXPECT_EQ(out.empty(), c.saysOnStdout == nullptr) << out;
        if (c.saysOnStdout != nullptr) {
            EXPECT_NE(out.find(c.saysOnStdout), std::string::npos) << out;
            // The help names this copy's own files, not a folder it guesses.
            EXPECT_NE(out.find((scratch / "JWC_TEMP.TXT").string()), std::string::npos) << out;
        }
        if (c.saysOnStderr != nullptr) {
            EXPECT_NE(err.find(c.saysOnStderr), std::string::npos) << err;
        }
    }
}

}  // namespace
}  // namespace tesra

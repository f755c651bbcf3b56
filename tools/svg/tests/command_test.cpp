// tesra-svg's command line: what it writes, what it refuses, and the marks of
// the indicated points.
#include "tools/svg/command.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/svg/scene_reader.h"
#include "tools/svg/svg_render.h"

namespace tesra::svg {
namespace {

// The numbers of the marks, in the order drawn, "|" between marks.
std::string MarkLabels(const std::string& svg) {
    std::string labels;
    const std::string_view open = "paint-order=\"stroke\">";
    for (std::size_t at = svg.find(open); at != std::string::npos; at = svg.find(open, at)) {
        at += open.size();
        if (!labels.empty()) labels += '|';
        labels += svg.substr(at, svg.find('<', at) - at);
    }
    return labels;
}

const std::string kHostHeader =
    "hq\r\nhk 0\r\nhs 100 100 100 100 100 100 100 100 100 100 100 "
    "100 100 100 100 100\r\nhn 1 2 1 2\r\n";

struct CommandCase {
    const char* name;
    std::vector<std::string> args;  // IN, HOST, OUT and DIR stand for the files of the case
    std::optional<std::string> in;  // nothing: IN does not exist
    std::optional<std::string> host;
    int status;
    const char* marks;  // the labels expected when OUT is written, else nullptr
};

TEST(SvgCommand, ExitStatusesAndIndicatedMarks) {
    const std::string& header = kHostHeader;
    const auto none = std::nullopt;
    // clang-format off
    const CommandCase cases[] = {
        {"help", {"--help"}, none, none, kExitWritten, nullptr},
        {"no arguments", {}, none, none, kExitUsage, nullptr},
        {"unknown option", {"--frame", "IN", "OUT"}, "0 0 1 1", none, kExitUsage, nullptr},
        {"missing input", {"IN", "OUT"}, none, none, kExitFileError, nullptr},
        {"folder as input", {"DIR", "OUT"}, none, none, kExitFileError, nullptr},
        {"empty input", {"IN", "OUT"}, "", none, kExitFileError, nullptr},
        {"binary bytes", {"IN", "OUT"}, std::string("\x89PNG\r\n\x1a\n\0\0\xff\xfe", 12), none,
         kExitFileError, nullptr},
        {"prose", {"IN", "OUT"}, "not a drawing\nat all, 1 2 3\n", none, kExitFileError, nullptr},
        {"host header only", {"IN", "OUT"}, header + "#\r\n", none, kExitWritten, ""},
        {"run output", {"IN", "OUT"}, "bz\r\nlg0\r\n0 0 10 0\r\n", none, kExitWritten, ""},
        {"two points", {"IN", "OUT"}, header + "hp1 0 0\r\nhp2 50 0\r\n#\r\n", none,
         kExitWritten, "1|2"},
        {"closed chain", {"IN", "OUT"}, header + "hp1 0 0\r\nhp2 9 0\r\nhp3 9 9\r\nhp4 0 0\r\n",
         none, kExitWritten, "1,4|2|3"},
        {"picked on elements", {"IN", "OUT"},
         header + "hp1ln 0 0\r\nhp2ci 1 0\r\nhp3ch 2 0\r\nhp4- 3 0\r\n", none, kExitWritten,
         "1|2|3|4"},
        {"malformed points", {"IN", "OUT"},
         "0 0 1 1\r\nhp 1 2\r\nhp1 1\r\nhp1 1 2 3\r\nhp1zz 1 2\r\nhp12345 1 2\r\nhp1 1e400 0\r\n",
         none, kExitWritten, ""},
        {"points of the host's file", {"--points", "HOST", "IN", "OUT"}, "bz\r\n0 0 50 0\r\n",
         header + "hp1 0 0\r\nhp2 50 0\r\n", kExitWritten, "1|2"},
        {"host's file missing", {"--points", "HOST", "IN", "OUT"}, "0 0 50 0\r\n", none,
         kExitFileError, nullptr},
        {"output folder missing", {"IN", "DIR/no/such/out.svg"}, "0 0 1 1\r\n", none,
         kExitFileError, nullptr},
    };
    // clang-format on
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchDir dir;
        const auto in = dir / "in.txt", host = dir / "host.txt", out = dir / "out.svg";
        if (c.in) WriteBytes(in, *c.in);
        if (c.host) WriteBytes(host, *c.host);
        std::vector<std::string> args;
        for (const std::string& a : c.args) {
            std::string arg = a.starts_with("DIR") ? dir.path().string() + a.substr(3) : a;
            if (a == "IN") arg = in.string();
            if (a == "HOST") arg = host.string();
            if (a == "OUT") arg = out.string();
            args.push_back(arg);
        }
        const std::vector<std::string_view> views(args.begin(), args.end());
        std::ostringstream said, complaints;

        EXPECT_EQ(RunSvgCommand(views, said, complaints), c.status);
        EXPECT_EQ(complaints.str().empty(), c.status == kExitWritten) << complaints.str();
        EXPECT_EQ(std::filesystem::exists(out), c.marks != nullptr);
        if (c.marks != nullptr) {
            EXPECT_EQ(MarkLabels(ReadBytes(out)), c.marks);
        }
        // Only the help speaks on stdout, and it names every option.
        EXPECT_EQ(said.str().empty(), c.args != std::vector<std::string>{"--help"});
        if (!said.str().empty()) {
            for (const char* option :
                 {"--points", "--gallery", "--slopes", "--own-figures", "--symbols"})
                EXPECT_NE(said.str().find(option), std::string::npos) << option;
        }
    }
}

// The marks come on top of the picture and change nothing else of it while
// the points lie within the drawing.
TEST(SvgCommand, MarksAddToThePictureOnly) {
    const std::string drawing = "lc5\r\n0 0 100 0\r\nci 50 20 10\r\npt 3 4\r\n";
    const std::string marked = RenderSvg(ReadScene(drawing + "hp1 0 0\r\nhp2 100 0\r\n"));
    const std::string plain = RenderSvg(ReadScene(drawing));
    const std::size_t marks = marked.find("<g fill=\"none\" stroke=\"#D0006F\"");
    ASSERT_NE(marks, std::string::npos);
    const std::size_t end = marked.find("</g>\n", marks) + 5;
    EXPECT_EQ(marked.substr(0, marks) + marked.substr(end), plain);
}

}  // namespace
}  // namespace tesra::svg

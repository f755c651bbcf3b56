// Whole drawing runs of the real executable, compared byte for byte with the
// reference output in tests/app/golden/<case>/expected.TXT.
//
// Each case folder holds the host's JWC_TEMP.TXT (CP932, CR LF; absent for
// the missing-file case), the store tesra.dat and the argument in "args";
// where own figures are drawn, their library tesra_figures.txt, and where one
// is registered, the library expected after the run in expected_figures.txt.
// On a mismatch the actual output is written beside the reference as
// expected.out.TXT; run with TESRA_UPDATE_GOLDEN=1 to promote it after
// checking it by eye.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "notices_cp932.h"
#include "tesra_process.h"
#include "test_support.h"

namespace tesra {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(TESRA_SOURCE_DIR) / "tests/app/golden";

// Returns the exit status; what it says on stderr goes to <dir>.stderr.
int RunTesra(const fs::path& dir, const std::vector<std::string>& args,
             const std::string& exeName = "tesra") {
    test::TesraRun how;
    how.exeName = exeName;
    how.stderrPath = (dir.parent_path() / (dir.filename().string() + ".stderr")).string();
    return test::RunTesraIn(dir, args, how).status;
}

std::string FirstLine(const fs::path& file) {
    std::string text = ReadBytes(file);
    return text.substr(0, text.find('\n'));
}

std::vector<std::string> GoldenCases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kGoldenDir))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class GoldenRun : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenRun, OutputMatchesReference) {
    const fs::path source = kGoldenDir / GetParam();
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    for (const char* name : {"JWC_TEMP.TXT", "tesra.dat", "tesra_figures.txt"})
        if (fs::exists(source / name)) fs::copy_file(source / name, dir / name);
    const std::string arg = FirstLine(source / "args");

    ASSERT_EQ(RunTesra(dir, {arg}), 0);
    const std::string actual = ReadBytes(dir / "JWC_TEMP.TXT");
    const fs::path reference = source / "expected.TXT";
    if (std::getenv("TESRA_UPDATE_GOLDEN") != nullptr) WriteBytes(reference, actual);
    ASSERT_TRUE(fs::exists(reference)) << "no reference for " << GetParam();
    const std::string expected = ReadBytes(reference);
    if (actual != expected) WriteBytes(source / "expected.out.TXT", actual);
    EXPECT_EQ(actual, expected) << "see " << (source / "expected.out.TXT");
    // A drawing run never writes the store.
    EXPECT_EQ(fs::exists(dir / "tesra.dat"), fs::exists(source / "tesra.dat"));
    if (fs::exists(source / "tesra.dat")) {
        EXPECT_EQ(ReadBytes(dir / "tesra.dat"), ReadBytes(source / "tesra.dat"));
    }
    if (fs::exists(source / "expected_figures.txt")) {
        EXPECT_EQ(ReadBytes(dir / "tesra_figures.txt"), ReadBytes(source / "expected_figures.txt"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenRun, ::testing::ValuesIn(GoldenCases()),
                         [](const auto& info) { return info.param; });

TEST(RunModes, AnythingButOneToFourIsTheDialogWhichThisBuildLacks) {
    const std::vector<std::vector<std::string>> argLists = {
        {}, {"01"}, {"1 "}, {"one"}, {"0"}, {"6"}, {"4 "}, {"3 "}, {"03"}, {"-1"}, {""}, {"12"}};
    for (const auto& args : argLists) {
        ScratchDir scratch;
        const fs::path dir = scratch / "addin";
        fs::create_directory(dir);
        const std::string input = "hq\r\nhp1 0 0\r\nhp2 10 0\r\n";
        WriteBytes(dir / "JWC_TEMP.TXT", input);
        EXPECT_EQ(RunTesra(dir, args), 2);
        EXPECT_EQ(ReadBytes(dir / "JWC_TEMP.TXT"), input);
        EXPECT_FALSE(fs::exists(dir / "tesra.dat"));
        const std::string err = ReadBytes(scratch / "addin.stderr");
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

TEST(RunModes, ExtraArgumentsAreIgnored) {
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    EXPECT_EQ(RunTesra(dir, {"1", "2", "x"}), 0);
    EXPECT_EQ(ReadBytes(dir / "JWC_TEMP.TXT"), std::string(kTooFewPointsTwo) + "\r\n");
}

// Both files are found beside the executable, whatever its name and folder.
TEST(RunModes, StoreIsNamedAfterTheExecutable) {
    ScratchDir scratch;
    const fs::path dir = scratch / "飾り";
    fs::create_directory(dir);
    WriteBytes(dir / "JWC_TEMP.TXT", "hp1 0 0\r\nhp2 10 0\r\n");
    // Row 1: kind 2 "＿(下線)", 10 x 10, base point "下": one line on the span.
    WriteBytes(dir / "renamed.dat",
               test::CrLf(test::WholeStore(
                   {"0", "0", "0", "0", "1", "2", "10", "10", "0", "0", "2", "0", "0", "0"})));
    EXPECT_EQ(RunTesra(dir, {"1"}, "renamed"), 0);
    EXPECT_EQ(ReadBytes(dir / "JWC_TEMP.TXT"), "lg0\r\nly0\r\nlc1\r\nlt1\r\n0 0 10 0\r\n");
}

TEST(RunModes, FigureLibraryIsNamedAfterTheExecutable) {
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    WriteBytes(dir / "JWC_TEMP.TXT", "hq\r\n#\r\n0 0 10 5\r\n");
    EXPECT_EQ(RunTesra(dir, {"5"}, "renamed"), 0);
    EXPECT_TRUE(ReadBytes(dir / "renamed_figures.txt").starts_with("tesra-figures 1\r\n"));
}

}  // namespace
}  // namespace tesra

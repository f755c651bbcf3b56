// Failing disks. Whatever stops a drawing run from writing JWC_TEMP.TXT, the
// run exits non-zero and leaves the host's file byte for byte as the host
// wrote it (the host then draws nothing and erases nothing, and never reads
// half a drawing). Whatever stops the store from being saved, the previous
// tesra.dat stays byte for byte.
//
// The faults are real: a full filesystem, a read-only mount, immutable files
// and folders, directories in the way. We may run as root, where permission
// bits stop nothing, so these are the obstacles that hold for root; each one
// the machine cannot set up (no mount, no chattr) is skipped with the reason.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/run.h"
#include "exchange/atomic_file.h"
#include "settings/pattern_store.h"
#include "tesra_process.h"
#include "test_support.h"
#include "tests/command_grammar.h"
#include "write_fault_sweep.h"

namespace tesra {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& p) { return test::ShellQuoted(p.string()); }

bool Shell(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Undoes mounts and attributes before the scratch folder is removed.
class Undo {
public:
    ~Undo() {
        for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) Shell(*it);
    }
    void Add(std::string command) { commands_.push_back(std::move(command)); }

private:
    std::vector<std::string> commands_;
};

// Fills the filesystem of dir to the last byte, then frees `room` bytes.
void FillUp(const fs::path& dir, std::uintmax_t room) {
    const fs::path filler = dir / "filler";
    std::FILE* f = std::fopen(filler.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    static const char block[4096] = {};
    while (std::fwrite(block, 1, sizeof block, f) == sizeof block) {
    }
    std::fclose(f);
    const std::uintmax_t size = fs::file_size(filler);
    fs::resize_file(filler, size > room ? size - room : 0);
}

// What stands in the way of replacing `target` in `dir`; "" when in place,
// otherwise why it cannot be set up here.
using Setup = std::function<std::string(const fs::path& dir, const fs::path& target, Undo&)>;

// A tmpfs on dir with room for the executable and `extra` bytes.
std::string MountTmpfs(const fs::path& dir, Undo& undo, std::uintmax_t extra = 256 << 10) {
    const std::uintmax_t size = fs::file_size(TESRA_EXE) + extra;
    if (!Shell("mount -t tmpfs -o size=" + std::to_string(size) + " tmpfs " + Quoted(dir)))
        return "mounting a tmpfs is not permitted here";
    undo.Add("umount " + Quoted(dir));
    return "";
}

std::string Immutable(const fs::path& p, Undo& undo) {
    if (!Shell("chattr +i " + Quoted(p))) return "chattr +i is not available on this filesystem";
    undo.Add("chattr -i " + Quoted(p));
    return "";
}

// What a file found at the temporary name holds; an obstacle keeps it.
const std::string kStaleBytes = "left from an earlier run";

// Whatever stood at the temporary name before is still there; nothing else
// the run made is left.
void ExpectNoTemporaryFile(const fs::path& target, bool stale) {
    const fs::path temp = AtomicFile::TempPathFor(target);
    if (stale) {
        EXPECT_EQ(ReadBytes(temp), kStaleBytes);
    } else {
        EXPECT_FALSE(fs::is_regular_file(temp));
    }
}

struct Obstacle {
    std::string name;
    bool onTmpfs;  // the folder is a small tmpfs, mounted before the files go in
    Setup setup;   // after the files are in place
};

// Test names in listings, rather than the bytes of the parameter.
void PrintTo(const Obstacle& c, std::ostream* os) { *os << c.name; }

std::vector<Obstacle> Obstacles() {
    return {
        {
            "FullFilesystem",
            true,
            [](const fs::path& dir, const fs::path&, Undo&) {
                FillUp(dir, 0);
                return std::string();
            },
        },
        {
            "TemporaryNameTakenByAFolder",
            false,
            [](const fs::path&, const fs::path& target, Undo&) {
                fs::create_directory(AtomicFile::TempPathFor(target));
                WriteBytes(AtomicFile::TempPathFor(target) / "inside", "x");
                return std::string();
            },
        },
        {
            "TemporaryNameTakenByAnImmutableFile",
            false,
            [](const fs::path&, const fs::path& target, Undo& undo) {
                WriteBytes(AtomicFile::TempPathFor(target), kStaleBytes);
                return Immutable(AtomicFile::TempPathFor(target), undo);
            },
        },
        {
            "ImmutableTarget",
            false,
            [](const fs::path&, const fs::path& target, Undo& undo) {
                return Immutable(target, undo);
            },
        },
        {
            "ImmutableFolder",
            false,
            [](const fs::path& dir, const fs::path&, Undo& undo) { return Immutable(dir, undo); },
        },
        {
            "ReadOnlyMount",
            false,
            [](const fs::path& dir, const fs::path&, Undo& undo) {
                if (!Shell("mount --bind " + Quoted(dir) + " " + Quoted(dir)))
                    return std::string("bind mounts are not permitted here");
                undo.Add("umount " + Quoted(dir));
                if (!Shell("mount -o remount,bind,ro " + Quoted(dir)))
                    return std::string("remounting read-only is not permitted here");
                return std::string();
            },
        },
    };
}

const std::string kInput = "hq\r\nhp1 0 0\r\nhp2 30000 0\r\n1 2 3 4\r\n";
// Kind 0, W 10: 3000 one-line figures, some 60 KB of output.
const std::string kStore = test::CrLf(
    test::WholeStore({"0", "0", "0", "0", "1", "0", "10", "10", "0", "0", "1", "0", "0", "0"}));

// The drawing of kInput with kStore, written where nothing stands in the way.
std::string ReferenceOutput() {
    ScratchDir scratch;
    WriteBytes(scratch / "JWC_TEMP.TXT", kInput);
    WriteBytes(scratch / "tesra.dat", kStore);
    EXPECT_EQ(RunDrawingMode(RunMode::TwoPoints, RunPaths::ForExecutable(scratch / "tesra")), 0);
    return ReadBytes(scratch / "JWC_TEMP.TXT");
}

// Status of the real executable, started from / beside its files.
int RunTesra(const fs::path& dir) {
    test::TesraRun how;
    how.copyExecutable = false;
    return test::RunTesraIn(dir, {"1"}, how).status;
}

class BlockedWrite : public ::testing::TestWithParam<Obstacle> {
protected:
    // The folder with the executable, kInput and kStore, and the obstacle in
    // front of `name`; "" when ready, otherwise why the case is skipped.
    std::string Prepare(const std::string& name) {
        dir_ = scratch_ / "addin";
        fs::create_directory(dir_);
        const Obstacle& o = GetParam();
        if (o.onTmpfs) {
            if (std::string why = MountTmpfs(dir_, undo_); !why.empty()) return why;
        }
        fs::copy_file(TESRA_EXE, dir_ / "tesra");
        WriteBytes(dir_ / "JWC_TEMP.TXT", kInput);
        WriteBytes(dir_ / "tesra.dat", kStore);
        std::string why = o.setup(dir_, dir_ / name, undo_);
        stale_ = fs::is_regular_file(AtomicFile::TempPathFor(dir_ / name));
        return why;
    }

    ScratchDir scratch_;
    Undo undo_;  // after scratch_: undone before the folder is removed
    fs::path dir_;
    bool stale_ = false;  // a file stood at the temporary name
};

TEST_P(BlockedWrite, DrawingRunFailsWithTheCompleteFileOrNone) {
    if (std::string why = Prepare("JWC_TEMP.TXT"); !why.empty()) GTEST_SKIP() << why;
    EXPECT_NE(RunTesra(dir_), 0);
    const fs::path out = dir_ / "JWC_TEMP.TXT";
    EXPECT_EQ(ReadBytes(out), kInput);
    ExpectNoTemporaryFile(out, stale_);
    EXPECT_EQ(ReadBytes(dir_ / "tesra.dat"), kStore);
}

TEST_P(BlockedWrite, FailedStoreSaveKeepsThePreviousFile) {
    if (std::string why = Prepare("tesra.dat"); !why.empty()) GTEST_SKIP() << why;
    PatternStore changed = ParsePatternStore(kStore);
    changed.rows[0].figureKind = 95;
    changed.formLeft = 123456;
    EXPECT_FALSE(SavePatternStore(changed, dir_ / "tesra.dat"));
    EXPECT_EQ(ReadBytes(dir_ / "tesra.dat"), kStore);
    ExpectNoTemporaryFile(dir_ / "tesra.dat", stale_);
}

INSTANTIATE_TEST_SUITE_P(Obstacles, BlockedWrite, ::testing::ValuesIn(Obstacles()),
                         [](const auto& info) { return info.param.name; });

// A filesystem that runs out in the middle of the output, and the same one
// with room to spare: the status says which, and the file is the new one
// whole or the host's.
TEST(DiskFull, MidwayTheRunFailsWithRoomItWritesEverything) {
    const std::string reference = ReferenceOutput();
    ASSERT_GT(reference.size(), 40000u);
    for (const std::uintmax_t room : {std::uintmax_t{16384}, std::uintmax_t{512 << 10}}) {
        ScratchDir scratch;
        Undo undo;
        const fs::path dir = scratch / "addin";
        fs::create_directory(dir);
        if (std::string why = MountTmpfs(dir, undo, room + (128 << 10)); !why.empty())
            GTEST_SKIP() << why;
        fs::copy_file(TESRA_EXE, dir / "tesra");
        WriteBytes(dir / "JWC_TEMP.TXT", kInput);
        WriteBytes(dir / "tesra.dat", kStore);
        FillUp(dir, room);
        const int status = RunTesra(dir);
        const bool fits = room > reference.size();
        EXPECT_EQ(status == 0, fits) << room;
        if (fits) {
            EXPECT_EQ(ReadBytes(dir / "JWC_TEMP.TXT"), reference);
        } else {
            EXPECT_EQ(ReadBytes(dir / "JWC_TEMP.TXT"), kInput) << room;
        }
        EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT")));
    }
}

// The same through the seam, at every byte of a small output: success
// exactly when the last byte was written, and the host's file otherwise.
TEST(WriteFaultAtEveryByte, RunLeavesTheCompleteFileOrNone) {
    const std::string input = "bz\r\nlw2\r\nhp1 0 0\r\nhp2 35 0\r\n";
    // Kind 95 (filled), W 10, gap lines: colors, solids and lines.
    const std::string store =
        test::CrLf({"0", "0", "1", "255", "1", "95", "10", "5", "0", "2", "1", "1", "2", "1"});
    ScratchDir scratch;
    const RunPaths paths = RunPaths::ForExecutable(scratch / "tesra");
    WriteBytes(paths.storeFile, store);
    const test::WriteFaultSweep sweep = test::SweepWriteFaults(paths, RunMode::Chain, input);
    ASSERT_FALSE(sweep.fullOutput.empty());
    ASSERT_EQ(grammar::CommandFileProblem(sweep.fullOutput), "");
    for (const test::WriteFaultOutcome& o : sweep.outcomes) {
        EXPECT_EQ(o.status == 0, o.complete) << o.failAfter;
        EXPECT_EQ(o.exchange, o.complete ? sweep.fullOutput : input) << o.failAfter;
        EXPECT_FALSE(o.tempLeft) << o.failAfter;
    }
    EXPECT_EQ(ReadBytes(paths.storeFile), store);
}

// A temporary file left by a run that was killed is no obstacle.
TEST(StaleTemporaryFile, IsReplacedAndGone) {
    const std::string reference = ReferenceOutput();
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    fs::copy_file(TESRA_EXE, dir / "tesra");
    WriteBytes(dir / "JWC_TEMP.TXT", kInput);
    WriteBytes(dir / "tesra.dat", kStore);
    WriteBytes(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT"), kStaleBytes);
    EXPECT_EQ(RunTesra(dir), 0);
    EXPECT_EQ(ReadBytes(dir / "JWC_TEMP.TXT"), reference);
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT")));
}

TEST(BlockedTarget, ExchangeFileThatIsAFolderFailsTheRun) {
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directories(dir / "JWC_TEMP.TXT");
    WriteBytes(dir / "JWC_TEMP.TXT" / "inside", "x");
    fs::copy_file(TESRA_EXE, dir / "tesra");
    EXPECT_NE(RunTesra(dir), 0);
    EXPECT_TRUE(fs::is_directory(dir / "JWC_TEMP.TXT"));
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT")));
}

}  // namespace
}  // namespace tesra

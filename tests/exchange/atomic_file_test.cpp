// Replacing a file: complete or untouched, and no temporary file left behind.
#include "exchange/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"

namespace tesra {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesTheTargetWithCrLfLines) {
    ScratchDir dir;
    WriteBytes(dir / "out.txt", "old contents that are longer\r\n");
    AtomicFile file(dir / "out.txt");
    file.Append("a");
    file.Append("");
    file.Append("b c");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadBytes(dir / "out.txt"), "a\r\n\r\nb c\r\n");
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "out.txt")));
}

// Whatever byte the write fails at, the target keeps its old bytes and no
// temporary file is left behind.
TEST(AtomicFile, FailureAfterAnyNumberOfBytesLeavesTheOldFile) {
    ScratchDir dir;
    const fs::path target = dir / "store.dat";
    const std::string old = "previous\r\n";
    const std::string lines[] = {"first line", "2"};
    const std::string block = "\r\nlast\r\n";  // two lines at once
    std::size_t total = block.size();
    for (const std::string& l : lines) total += l.size() + 2;
    for (std::size_t n = 0; n <= total; ++n) {
        WriteBytes(target, old);
        AtomicFile file(target, WriteFaults{static_cast<std::int64_t>(n)});
        for (const std::string& l : lines) file.Append(l);
        file.AppendLines(block);
        const bool committed = file.Commit();
        EXPECT_EQ(committed, n == total) << n;
        EXPECT_EQ(ReadBytes(target), committed ? "first line\r\n2\r\n\r\nlast\r\n" : old) << n;
        EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(target))) << n;
    }
}

// Lines of every length up to one longer than the buffer, so that lines end,
// start and straddle at each of its boundaries; among them runs of lines
// appended at once, shorter and longer than the buffer.
TEST(AtomicFile, LinesAcrossBufferBoundariesArriveWhole) {
    ScratchDir dir;
    AtomicFile file(dir / "big.txt");
    std::string expected;
    std::size_t length = 0;
    for (int i = 0; expected.size() < 8 * AtomicFile::kBufferSize; ++i) {
        const std::string line(length, static_cast<char>('a' + i % 26));
        file.Append(line);
        expected += line + "\r\n";
        length = (length * 7 + 1) % 1000;
        if (i % 50 != 0) continue;
        std::string lines;
        while (lines.size() < static_cast<std::size_t>(i) * 40) lines += line + "-\r\n";
        file.AppendLines(lines);
        expected += lines;
    }
    const std::string longest(AtomicFile::kBufferSize + 1, 'z');
    file.Append(longest);
    expected += longest + "\r\n";
    ASSERT_TRUE(file.Commit());
    EXPECT_TRUE(ReadBytes(dir / "big.txt") == expected);
}

TEST(AtomicFile, AbandonedWriteRemovesItsTemporaryFile) {
    ScratchDir dir;
    {
        AtomicFile file(dir / "x.txt");
        file.Append("never committed");
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(AtomicFile, DirectoryInTheWayOfTheTemporaryNameFails) {
    ScratchDir dir;
    WriteBytes(dir / "x.txt", "keep");
    fs::create_directory(AtomicFile::TempPathFor(dir / "x.txt"));
    AtomicFile file(dir / "x.txt");
    file.Append("new");
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(ReadBytes(dir / "x.txt"), "keep");
}

TEST(AtomicFile, DirectoryInTheWayOfTheTargetFails) {
    ScratchDir dir;
    fs::create_directory(dir / "x.txt");
    AtomicFile file(dir / "x.txt");
    file.Append("new");
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "x.txt")));
}

// The new file is on the disk before the exchange and the folder after it;
// a step that fails before the exchange leaves the old file, one after it
// (the folder) cannot take back what every reader already sees.
TEST(AtomicFile, SyncsTheFileBeforeTheExchangeAndTheFolderAfterIt) {
    using enum FileStep;
    const std::vector<FileStep> all = {kSyncFile, kReplace, kSyncFolder};
    struct Case {
        FileStep failAt;
        std::vector<FileStep> steps;
        bool committed;
    };
    const Case cases[] = {
        {kNone, all, true},
        {kSyncFile, {kSyncFile}, false},
        {kReplace, {kSyncFile, kReplace}, false},
        {kSyncFolder, all, true},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        WriteBytes(dir / "lib.txt", "old\r\n");
        std::vector<FileStep> steps;
        AtomicFile file(dir / "lib.txt", WriteFaults{.failAt = c.failAt, .steps = &steps});
        file.Append("new");
        EXPECT_EQ(file.Commit(), c.committed) << static_cast<int>(c.failAt);
        EXPECT_EQ(steps, c.steps) << static_cast<int>(c.failAt);
        EXPECT_EQ(ReadBytes(dir / "lib.txt"), c.committed ? "new\r\n" : "old\r\n");
        EXPECT_EQ(file.Fault(), c.committed ? SaveFault::kNone : SaveFault::kCannotWrite);
        EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "lib.txt")));
    }
}

// What stands at the target's name: a file is replaced keeping its
// permissions, a read-only one is kept, a link's target is replaced in its own
// folder with the link left as it was, and a link to nothing is refused
// rather than replaced by a plain file.
TEST(AtomicFile, LinksAreFollowedAndReadOnlyFilesKept) {
    struct Case {
        const char* name;
        const char* linkTo;  // the target is a link to this, relative to it; null: a file
        unsigned mode;       // of the file finally named; 0: none is made
        SaveFault fault;
    };
    const Case cases[] = {
        {"file", nullptr, 0640, SaveFault::kNone},
        {"new file", nullptr, 0, SaveFault::kNone},
        {"read-only file", nullptr, 0444, SaveFault::kReadOnly},
        {"link", "../real/lib.txt", 0600, SaveFault::kNone},
        {"link to a read-only file", "../real/lib.txt", 0444, SaveFault::kReadOnly},
        {"link to a link", "chain.txt", 0644, SaveFault::kNone},
        {"dangling link", "../real/missing.txt", 0, SaveFault::kDanglingLink},
        {"link to itself", "lib.txt", 0, SaveFault::kDanglingLink},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        fs::create_directory(dir / "run");
        fs::create_directory(dir / "real");
        const fs::path target = dir / "run" / "lib.txt", real = dir / "real" / "lib.txt";
        const fs::path finalFile = c.linkTo ? real : target;
        if (c.mode != 0) {
            WriteBytes(finalFile, "old");
            fs::permissions(finalFile, static_cast<fs::perms>(c.mode));
        }
        if (c.linkTo) fs::create_symlink(c.linkTo, target);
        if (c.linkTo && std::string_view(c.linkTo) == "chain.txt")
            fs::create_symlink("../real/lib.txt", dir / "run" / "chain.txt");
        AtomicFile file(target);
        file.Append("new");
        EXPECT_EQ(file.Commit(), c.fault == SaveFault::kNone);
        EXPECT_EQ(file.Fault(), c.fault);
        EXPECT_EQ(fs::is_symlink(fs::symlink_status(target)), c.linkTo != nullptr);
        if (c.fault == SaveFault::kDanglingLink) {
            EXPECT_FALSE(fs::exists(real));
        } else {
            EXPECT_EQ(ReadBytes(finalFile), c.fault == SaveFault::kNone ? "new\r\n" : "old");
        }
        if (c.mode != 0) {
            EXPECT_EQ(fs::status(finalFile).permissions(), static_cast<fs::perms>(c.mode));
        }
        for (const fs::path& folder : {dir / "run", dir / "real"})
            for (const auto& entry : fs::directory_iterator(folder))
                EXPECT_FALSE(entry.path().string().ends_with(".tmp")) << entry.path();
    }
}

// A second writer of the same file waits for the first; one that cannot
// wait is told the file is busy.
TEST(FileLock, HeldUntilReleasedAndThenFree) {
    ScratchDir dir;
    const fs::path target = dir / "lib.txt";
    std::optional<FileLock> first(std::in_place, target);
    ASSERT_EQ(first->Fault(), SaveFault::kNone);
    EXPECT_EQ(FileLock(target, std::chrono::milliseconds(0)).Fault(), SaveFault::kBusy);
    first.reset();
    EXPECT_EQ(FileLock(target, std::chrono::milliseconds(0)).Fault(), SaveFault::kNone);
    EXPECT_EQ(FileLock(dir / "no folder" / "lib.txt").Fault(), SaveFault::kCannotWrite);
}

// A bounded read keeps whole lines within both bounds and says when the file
// held more; a file exactly at a bound is read whole.
TEST(ReadBoundedFile, KeepsWholeLinesWithinTheBounds) {
    struct Case {
        std::string bytes;
        ReadBounds bounds;
        std::string kept;
        ReadOutcome outcome;
    };
    const std::string big(100'000, 'x');
    const Case cases[] = {
        {"a\nb\nc\n", {3, 0}, "a\nb\nc\n", ReadOutcome::kRead},
        {"a\nb\nc\n", {2, 0}, "a\nb\n", ReadOutcome::kOverBound},
        {"a\nb\nc", {2, 0}, "a\nb\n", ReadOutcome::kOverBound},
        {"a\nb\nc", {3, 0}, "a\nb\nc", ReadOutcome::kRead},
        {"ab\ncd\n", {0, 6}, "ab\ncd\n", ReadOutcome::kRead},
        {"ab\ncd\n", {0, 5}, "ab\n", ReadOutcome::kOverBound},
        {"ab\ncd\n", {0, 2}, "", ReadOutcome::kOverBound},
        {"ab\ncd\nef\n", {1, 6}, "ab\n", ReadOutcome::kOverBound},  // lines bind first
        {"ab\ncd\nef\n", {3, 4}, "ab\n", ReadOutcome::kOverBound},  // bytes bind first
        {big + "\n" + big, {0, 150'000}, big + "\n", ReadOutcome::kOverBound},
        {big + big, {0, 150'000}, "", ReadOutcome::kOverBound},  // no line feed at all
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        WriteBytes(dir / "in.txt", c.bytes);
        std::string read = "kept ";
        EXPECT_EQ(ReadBoundedFile(dir / "in.txt", read, c.bounds), c.outcome) << c.bytes.size();
        EXPECT_TRUE(read == "kept " + c.kept) << c.bytes.size() << " " << read.size();
    }
}

// Reading back: every byte, larger than one read's chunk, or only as far as
// the line feeds asked for (whole chunks, so at least that many lines).
TEST(ReadFileBytes, ReadsWholeFilesOrStopsAfterEnoughLines) {
    ScratchDir dir;
    std::string many;
    for (int i = 0; many.size() < 100'000; ++i) many += "line " + std::to_string(i) + "\r\n";
    struct Case {
        std::string bytes;
        std::size_t mostLines;
        std::size_t leastLinesRead;
    };
    const Case cases[] = {
        {"", 0, 0}, {"no line feed", 0, 0}, {"a\r\nb", 0, 1}, {many, 0, 0}, {many, 113, 113},
    };
    for (const Case& c : cases) {
        WriteBytes(dir / "in.txt", c.bytes);
        std::string read = "kept ";
        ASSERT_EQ(ReadFileBytes(dir / "in.txt", read, c.mostLines), ReadOutcome::kRead);
        ASSERT_EQ(read.substr(0, 5), "kept ");
        read.erase(0, 5);
        if (c.mostLines == 0) {
            EXPECT_EQ(read, c.bytes);
        } else {
            EXPECT_EQ(read, c.bytes.substr(0, read.size()));
            EXPECT_GE(static_cast<std::size_t>(std::count(read.begin(), read.end(), '\n')),
                      c.leastLinesRead);
            EXPECT_LT(read.size(), c.bytes.size());
        }
    }
    // Nothing but a regular file is read, and a pipe does not wait for a writer.
    fs::create_directory(dir / "folder.txt");
    ASSERT_EQ(mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    for (const char* name : {"missing.txt", "folder.txt", "pipe.txt"}) {
        std::string none;
        EXPECT_EQ(ReadFileBytes(dir / name, none), ReadOutcome::kCannotOpen) << name;
        EXPECT_TRUE(none.empty()) << name;
    }
}

}  // namespace
}  // namespace tesra

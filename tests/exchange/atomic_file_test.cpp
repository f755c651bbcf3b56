// Replacing a file: complete or untouched, and no temporary file left behind.
#include "exchange/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

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

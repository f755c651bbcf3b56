#pragma once
// Replacing a file so that no reader ever finds it half-written: lines are
// streamed into a temporary file beside the target, which is renamed over the
// target only when everything was written. The new file reaches the disk
// before the exchange and the folder after it, so that a power cut leaves the
// old file or the new one, never neither. A link is followed and the file it
// names is replaced in that file's folder; a read-only file is never replaced.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/line_sink.h"

namespace tesra {

// The steps of a commit that must reach the disk in this order.
enum class FileStep { kNone, kSyncFile, kReplace, kSyncFolder };

// Test seam: make the write fail once this many bytes have been written, or
// make one step of the commit fail as the disk would; record the steps taken.
struct WriteFaults {
    std::int64_t failAfterBytes = -1;  // -1: never
    FileStep failAt = FileStep::kNone;
    std::vector<FileStep>* steps = nullptr;
};

// Why a file was not replaced.
enum class SaveFault {
    kNone,
    kReadOnly,      // the file (or the file a link names) may not be written
    kDanglingLink,  // a link to nothing, or a loop of links
    kCannotWrite,   // the temporary file could not be made, written or renamed
    kBusy,          // another writer held the file's lock for too long
};

// Reading a whole file with the same plain calls the writing uses, so that
// a run never sets up the streams library and its locales.
enum class ReadOutcome { kRead, kCannotOpen, kReadError, kOverBound };
// Appends the file's bytes to bytes, stopping at the end of the file, once
// the bytes read hold mostLines line feeds or once mostBytes were appended
// (0: no limit). After a read error
// bytes holds what was read before it. Anything but a regular file cannot be
// opened.
ReadOutcome ReadFileBytes(const std::filesystem::path& path, std::string& bytes,
                          std::size_t mostLines = 0, std::size_t mostBytes = 0);

// Bounds on what a reader takes from a file; 0: no bound.
struct ReadBounds {
    std::size_t lines = 0;
    std::size_t bytes = 0;
};
// Like ReadFileBytes, but never holds more than the bounds allow: a file
// that has more is cut after its last whole line within them and the
// outcome is ReadOutcome::kOverBound. Never reads more than one chunk past the bytes bound.
ReadOutcome ReadBoundedFile(const std::filesystem::path& path, std::string& bytes,
                            ReadBounds bounds);

// The file a path names at last, links followed (each relative to the folder
// it stands in); the path itself when it is no link. Empty for a loop.
std::filesystem::path FinalTarget(const std::filesystem::path& path);
// A link that names nothing, or a loop of links.
bool IsDanglingLink(const std::filesystem::path& path);

// Serialises the writers of one file across processes and threads: held from
// construction until destruction, through an empty lock file beside the
// target that stays there (removing it could let two writers hold two
// different files). Waits for another holder at most `wait`.
class FileLock final {
public:
    explicit FileLock(const std::filesystem::path& target,
                      std::chrono::milliseconds wait = std::chrono::seconds(30));
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    SaveFault Fault() const { return fault_; }  // kNone when held
    static std::filesystem::path LockPathFor(const std::filesystem::path& target);

private:
    int file_ = -1;
    SaveFault fault_ = SaveFault::kNone;
};

class AtomicFile final : public LineSink {
public:
    explicit AtomicFile(std::filesystem::path target, WriteFaults faults = {});
    ~AtomicFile() override;  // removes the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends the line and CR LF; after a failure further lines are ignored.
    void Append(std::string_view line) override;
    void AppendLines(std::string_view lines) override { WriteBytes(lines); }
    // Closes and renames over the target. False if anything failed; the
    // temporary file is gone either way.
    bool Commit();
    bool Failed() const { return failed_; }
    // Why Commit failed (kNone before it or after it succeeded).
    SaveFault Fault() const {
        return failed_ && fault_ == SaveFault::kNone ? SaveFault::kCannotWrite : fault_;
    }

    static std::filesystem::path TempPathFor(const std::filesystem::path& target);

    // Lines appended one by one are gathered up to this many bytes before
    // each write to the file; whole blocks of lines this large or larger are
    // written as they are. Small enough to come from the heap without a
    // mapping of its own, which a small run would pay for in page faults.
    static constexpr std::size_t kBufferSize = std::size_t{1} << 16;

private:
    void WriteBytes(std::string_view bytes);
    void Buffer(std::string_view bytes);
    void Flush();
    void WriteAll(std::string_view bytes);
    bool Close();
    void Discard();
    bool Injected(FileStep step) const;  // records the step; true when the seam fails it
    bool SyncedWithTheOldMode();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    WriteFaults faults_;
    int file_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::int64_t written_ = 0;
    bool failed_ = false;
    bool done_ = false;
    SaveFault fault_ = SaveFault::kNone;
};

}  // namespace tesra

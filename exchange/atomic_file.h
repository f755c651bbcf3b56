#pragma once
// Replacing a file so that no reader ever finds it half-written: lines are
// streamed into a temporary file beside the target, which is renamed over the
// target only when everything was written.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "exchange/line_sink.h"

namespace tesra {

// Test seam: make the write fail once this many bytes have been written.
struct WriteFaults {
    std::int64_t failAfterBytes = -1;  // -1: never
};

// Reading a whole file with the same plain calls the writing uses, so that
// a run never sets up the streams library and its locales.
enum class ReadOutcome { kRead, kCannotOpen, kReadError };
// Appends the file's bytes to bytes, stopping at the end of the file, once
// the bytes read hold mostLines line feeds or once mostBytes were appended
// (0: no limit). After a read error
// bytes holds what was read before it. Anything but a regular file cannot be
// opened.
ReadOutcome ReadFileBytes(const std::filesystem::path& path, std::string& bytes,
                          std::size_t mostLines = 0, std::size_t mostBytes = 0);

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

    std::filesystem::path target_;
    std::filesystem::path temp_;
    WriteFaults faults_;
    int file_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::int64_t written_ = 0;
    bool failed_ = false;
    bool done_ = false;
};

}  // namespace tesra

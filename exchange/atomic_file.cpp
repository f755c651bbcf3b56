// Replacing the exchange file and the store in one rename, never half-written.
#include "exchange/atomic_file.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tesra {
namespace {

// The only calls that differ between the platforms: a file descriptor opened
// for writing from scratch, written and closed without any library buffer.
#ifdef _WIN32
int OpenForWriting(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteSome(int file, const char* bytes, std::size_t size) {
    return _write(file, bytes, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
}
int CloseFile(int file) { return _close(file); }
int OpenForReading(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
}
// The size of an open regular file, or -1 for anything else.
long long RegularFileSize(int file) {
    struct _stat64 status;
    if (_fstat64(file, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) return -1;
    return status.st_size;
}
long ReadSome(int file, char* bytes, std::size_t size) {
    return _read(file, bytes, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
}
#else
int OpenForWriting(const std::filesystem::path& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}
long WriteSome(int file, const char* bytes, std::size_t size) {
    return static_cast<long>(write(file, bytes, std::min<std::size_t>(size, INT_MAX)));
}
int CloseFile(int file) { return close(file); }
int OpenForReading(const std::filesystem::path& path) {
    // Non-blocking so that a pipe in the file's place cannot hold the run up
    // before it is found not to be a file; reading a file never blocks anyway.
    return open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}
long long RegularFileSize(int file) {
    struct stat status;
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) return -1;
    return status.st_size;
}
long ReadSome(int file, char* bytes, std::size_t size) {
    return static_cast<long>(read(file, bytes, std::min<std::size_t>(size, INT_MAX)));
}
#endif

// Replaces target by temp in one step. On Linux a rename over an existing file
// makes ext4 write the new file out at once, which costs more than a small run
// itself; exchanging the two names does not, and leaves the old file at the
// temporary name to delete. Anything but a regular file in the way is renamed
// over as before, and fails the same way.
void ReplaceFile(const std::filesystem::path& temp, const std::filesystem::path& target,
                 std::error_code& ec) {
#ifdef RENAME_EXCHANGE
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(target, ec)) &&
        renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        ec.clear();
        std::filesystem::remove(temp, ec);  // a leftover is replaced by the next run
        ec.clear();
        return;
    }
#endif
    std::filesystem::rename(temp, target, ec);
}

}  // namespace

ReadOutcome ReadFileBytes(const std::filesystem::path& path, std::string& bytes,
                          std::size_t mostLines, std::size_t mostBytes) {
    const int file = OpenForReading(path);
    if (file < 0) return ReadOutcome::kCannotOpen;
    const long long size = RegularFileSize(file);
    if (size < 0) {  // a folder, a device: nothing to read
        CloseFile(file);
        return ReadOutcome::kCannotOpen;
    }
    std::size_t expected = static_cast<std::size_t>(size);
    if (mostBytes != 0) expected = std::min(expected, mostBytes);
    if (mostLines == 0) bytes.reserve(bytes.size() + expected);
    ReadOutcome outcome = ReadOutcome::kRead;
    std::size_t lines = 0;
    std::size_t left = mostBytes != 0 ? mostBytes : std::numeric_limits<std::size_t>::max();
    char chunk[1 << 14];
    while (left > 0) {
        const long n = ReadSome(file, chunk, std::min(sizeof chunk, left));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) outcome = ReadOutcome::kReadError;
        if (n <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
        if (mostBytes != 0) left -= static_cast<std::size_t>(n);
        if (mostLines == 0) continue;
        lines += static_cast<std::size_t>(std::count(chunk, chunk + n, '\n'));
        if (lines >= mostLines) break;
    }
    CloseFile(file);
    return outcome;
}

std::filesystem::path AtomicFile::TempPathFor(const std::filesystem::path& target) {
    std::filesystem::path temp = target;
    temp += ".tmp";
    return temp;
}

AtomicFile::AtomicFile(std::filesystem::path target, WriteFaults faults)
    : target_(std::move(target)), temp_(TempPathFor(target_)), faults_(faults) {
    file_ = OpenForWriting(temp_);
    failed_ = file_ < 0;
    if (!failed_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
}

AtomicFile::~AtomicFile() {
    if (!done_) Discard();
}

void AtomicFile::WriteBytes(std::string_view bytes) {
    if (failed_) return;
    std::size_t allowed = bytes.size();
    if (faults_.failAfterBytes >= 0) {
        const std::int64_t left = faults_.failAfterBytes - written_;
        if (left < static_cast<std::int64_t>(allowed)) {
            allowed = left > 0 ? static_cast<std::size_t>(left) : 0;
            failed_ = true;
        }
    }
    Buffer(bytes.substr(0, allowed));
    written_ += static_cast<std::int64_t>(allowed);
}

void AtomicFile::Buffer(std::string_view bytes) {
    if (bytes.size() > kBufferSize - used_) Flush();
    if (bytes.size() >= kBufferSize) {
        if (!failed_) WriteAll(bytes);
        return;
    }
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void AtomicFile::Flush() {
    if (!failed_) WriteAll({buffer_.get(), used_});
    used_ = 0;
}

void AtomicFile::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const long n = WriteSome(file_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void AtomicFile::Append(std::string_view line) {
    // The common case, a line that fits, with the line end stored directly:
    // a large drawing appends millions of lines.
    const bool plain = !failed_ && faults_.failAfterBytes < 0;
    if (plain && line.size() + 2 <= kBufferSize - used_) {
        char* at = buffer_.get() + used_;
        std::memcpy(at, line.data(), line.size());
        at[line.size()] = '\r';
        at[line.size() + 1] = '\n';
        used_ += line.size() + 2;
        written_ += static_cast<std::int64_t>(line.size() + 2);
        return;
    }
    WriteBytes(line);
    WriteBytes("\r\n");
}

bool AtomicFile::Close() {
    const bool closed = file_ < 0 || CloseFile(file_) == 0;
    file_ = -1;
    return closed;
}

void AtomicFile::Discard() {
    Close();
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    done_ = true;
}

bool AtomicFile::Commit() {
    if (!failed_ && !done_) Flush();
    if (failed_ || done_ || !Close()) {
        Discard();
        return false;
    }
    std::error_code ec;
    ReplaceFile(temp_, target_, ec);
    if (ec) {
        Discard();
        return false;
    }
    done_ = true;
    return true;
}

}  // namespace tesra

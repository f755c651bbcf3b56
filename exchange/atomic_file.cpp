// Replacing the exchange file, the store and the library in one rename, never
// half-written, and on the disk before the old file is gone.
#include "exchange/atomic_file.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <sys/locking.h>
#include <sys/stat.h>
#else
#include <sys/file.h>
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
int SyncFile(int file) { return _commit(file); }
// The C runtime cannot open a folder; NTFS journals the rename itself.
void SyncFolder(const std::filesystem::path&) {}
// Only a file marked read-only: permissions beyond that are the system's.
bool IsReadOnlyFile(const std::filesystem::path& path) {
    struct _stat64 status;
    if (_wstat64(path.c_str(), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)
        return false;
    return (status.st_mode & _S_IWRITE) == 0;
}
// The attribute that makes a file read-only is refused above; nothing to keep.
bool KeepMode(int, const std::filesystem::path&) { return true; }
// Read-only is enough to lock, so that a lock file another user made serves all.
int OpenLockFile(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_RDONLY | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
// The first byte stands for the whole file; Windows locks past the end too.
bool TryLock(int file) {
    _lseek(file, 0, SEEK_SET);
    errno = 0;
    return _locking(file, _LK_NBLCK, 1) == 0;
}
// EACCES when another handle holds the lock; some runtimes leave errno as it
// was, so only the errors of a bad call count as "cannot lock here".
bool HeldByAnother() { return errno != EBADF && errno != EINVAL; }
void Unlock(int file) {
    _lseek(file, 0, SEEK_SET);
    _locking(file, _LK_UNLCK, 1);
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
int SyncFile(int file) { return fsync(file); }
// The new name itself reaches the disk only with its folder. A failure here
// comes after the exchange, which every reader already sees; it is ignored.
void SyncFolder(const std::filesystem::path& folder) {
    const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    fsync(dir);
    close(dir);
}
// No write bit at all, or none that lets this process write: root passes
// access() whatever the bits say, and a 0444 file is meant to stay.
bool IsReadOnlyFile(const std::filesystem::path& path) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    return (status.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}
// The new file takes the permissions of the one it replaces.
bool KeepMode(int file, const std::filesystem::path& target) {
    struct stat status;
    if (stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return true;
    return fchmod(file, status.st_mode & 07777) == 0;
}
// Read-only is enough to lock, so that a lock file another user made serves all.
int OpenLockFile(const std::filesystem::path& path) {
    return open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
}
// flock, not fcntl: its lock belongs to the open file, so that two threads of
// one process exclude each other as two processes do.
bool TryLock(int file) { return flock(file, LOCK_EX | LOCK_NB) == 0; }
bool HeldByAnother() { return errno == EWOULDBLOCK || errno == EAGAIN || errno == EINTR; }
void Unlock(int file) { flock(file, LOCK_UN); }
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

// Reads until the end, a chunk that brings the line feeds to mostLines, or
// mostBytes bytes (0: no bound for either).
ReadOutcome ReadUpTo(const std::filesystem::path& path, std::string& bytes, std::size_t mostLines,
                     std::size_t mostBytes) {
    const int file = OpenForReading(path);
    if (file < 0) return ReadOutcome::kCannotOpen;
    const long long size = RegularFileSize(file);
    if (size < 0) {  // a folder, a device: nothing to read
        CloseFile(file);
        return ReadOutcome::kCannotOpen;
    }
    std::size_t left = mostBytes == 0 ? SIZE_MAX : mostBytes;
    // Room for the whole file at once, unless only a count of lines bounds it.
    if (mostLines == 0 || mostBytes != 0)
        bytes.reserve(bytes.size() + std::min(static_cast<std::size_t>(size), left));
    ReadOutcome outcome = ReadOutcome::kRead;
    std::size_t lines = 0;
    char chunk[1 << 14];
    while (left > 0) {
        const long n = ReadSome(file, chunk, std::min(sizeof chunk, left));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) outcome = ReadOutcome::kReadError;
        if (n <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
        left -= static_cast<std::size_t>(n);
        if (mostLines == 0) continue;
        lines += static_cast<std::size_t>(std::count(chunk, chunk + n, '\n'));
        if (lines >= mostLines) break;
    }
    CloseFile(file);
    return outcome;
}

// How many of the bytes the bounds let a reader keep: whole lines only, once
// anything lies beyond a bound.
std::size_t KeptWithin(std::string_view read, ReadBounds bounds) {
    std::size_t keep = read.size();
    if (bounds.bytes > 0 && keep > bounds.bytes) {
        const std::size_t lastEnd = read.rfind('\n', bounds.bytes - 1);
        keep = lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
    }
    if (bounds.lines == 0) return keep;
    std::size_t at = 0;
    for (std::size_t line = 0; line < bounds.lines && at < keep; ++line) {
        const std::size_t end = read.find('\n', at);
        if (end == std::string_view::npos) return keep;
        at = end + 1;
    }
    return std::min(keep, at);
}

}  // namespace

ReadOutcome ReadFileBytes(const std::filesystem::path& path, std::string& bytes,
                          std::size_t mostLines, std::size_t mostBytes) {
    return ReadUpTo(path, bytes, mostLines, mostBytes);
}

ReadOutcome ReadBoundedFile(const std::filesystem::path& path, std::string& bytes,
                            ReadBounds bounds) {
    const std::size_t start = bytes.size();
    // One line and one byte past the bounds tell a file at a bound from a longer one.
    const ReadOutcome outcome = ReadUpTo(path, bytes, bounds.lines == 0 ? 0 : bounds.lines + 1,
                                         bounds.bytes == 0 ? 0 : bounds.bytes + 1);
    if (outcome != ReadOutcome::kRead) return outcome;
    const std::string_view read = std::string_view(bytes).substr(start);
    const std::size_t keep = KeptWithin(read, bounds);
    if (keep == read.size()) return outcome;
    bytes.resize(start + keep);
    return ReadOutcome::kOverBound;
}

// Links are followed as the system would, up to its usual depth.
constexpr int kMostLinks = 40;

std::filesystem::path FinalTarget(const std::filesystem::path& path) {
    std::filesystem::path at = path;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(at, ec))) return at;
        const std::filesystem::path next = std::filesystem::read_symlink(at, ec);
        if (ec) return {};
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return {};
}

bool IsDanglingLink(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) return false;
    const std::filesystem::path target = FinalTarget(path);
    return target.empty() || !std::filesystem::exists(target, ec);
}

std::filesystem::path FileLock::LockPathFor(const std::filesystem::path& target) {
    std::filesystem::path lock = FinalTarget(target);
    if (lock.empty()) lock = target;
    lock += ".lock";
    return lock;
}

FileLock::FileLock(const std::filesystem::path& target, std::chrono::milliseconds wait) {
    file_ = OpenLockFile(LockPathFor(target));
    if (file_ < 0) {
        fault_ = SaveFault::kCannotWrite;
        return;
    }
    const auto until = std::chrono::steady_clock::now() + wait;
    while (!TryLock(file_)) {
        // A file system without locks is written unlocked, as before there
        // were locks, rather than never.
        if (!HeldByAnother()) return;
        if (std::chrono::steady_clock::now() >= until) {
            CloseFile(file_);
            file_ = -1;
            fault_ = SaveFault::kBusy;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

FileLock::~FileLock() {
    if (file_ < 0) return;
    Unlock(file_);
    CloseFile(file_);
}

std::filesystem::path AtomicFile::TempPathFor(const std::filesystem::path& target) {
    std::filesystem::path temp = target;
    temp += ".tmp";
    return temp;
}

// A link's target is replaced in its own folder, where the rename can be
// atomic; the link stays as it was.
AtomicFile::AtomicFile(std::filesystem::path target, WriteFaults faults)
    : target_(FinalTarget(target)), faults_(faults) {
    if (target_.empty() || IsDanglingLink(target))
        fault_ = SaveFault::kDanglingLink;
    else if (IsReadOnlyFile(target_))
        fault_ = SaveFault::kReadOnly;
    failed_ = fault_ != SaveFault::kNone;
    if (failed_) {
        done_ = true;  // nothing was made, so nothing is removed
        return;
    }
    temp_ = TempPathFor(target_);
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

bool AtomicFile::Injected(FileStep step) const {
    if (faults_.steps != nullptr) faults_.steps->push_back(step);
    return faults_.failAt == step;
}

// The new bytes are on the disk before the exchange: a power cut after it
// must not find the new name on an empty file.
bool AtomicFile::SyncedWithTheOldMode() {
    if (Injected(FileStep::kSyncFile)) return false;
    return KeepMode(file_, target_) && SyncFile(file_) == 0;
}

bool AtomicFile::Commit() {
    if (done_) return false;
    if (!failed_) Flush();
    if (failed_ || !SyncedWithTheOldMode() || !Close()) {
        failed_ = true;
        Discard();
        return false;
    }
    std::error_code ec;
    if (Injected(FileStep::kReplace))
        ec = std::make_error_code(std::errc::io_error);
    else
        ReplaceFile(temp_, target_, ec);
    if (ec) {
        failed_ = true;
        Discard();
        return false;
    }
    done_ = true;
    if (!Injected(FileStep::kSyncFolder)) SyncFolder(target_.parent_path());
    return true;
}

}  // namespace tesra

#include "exchange/atomic_file.h"

#include <system_error>
#include <utility>

namespace tesra {
namespace {

std::FILE* OpenForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

}  // namespace

std::filesystem::path AtomicFile::TempPathFor(const std::filesystem::path& target) {
    std::filesystem::path temp = target;
    temp += ".tmp";
    return temp;
}

AtomicFile::AtomicFile(std::filesystem::path target, WriteFaults faults)
    : target_(std::move(target)), temp_(TempPathFor(target_)), faults_(faults) {
    file_ = OpenForWriting(temp_);
    failed_ = file_ == nullptr;
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
    if (allowed > 0 && std::fwrite(bytes.data(), 1, allowed, file_) != allowed) failed_ = true;
    written_ += static_cast<std::int64_t>(allowed);
}

void AtomicFile::Append(std::string_view line) {
    WriteBytes(line);
    WriteBytes("\r\n");
}

void AtomicFile::Discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    done_ = true;
}

bool AtomicFile::Commit() {
    if (failed_ || done_) {
        Discard();
        return false;
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed) {
        Discard();
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp_, target_, ec);
    if (ec) {
        Discard();
        return false;
    }
    done_ = true;
    return true;
}

}  // namespace tesra

// Formatting blocks of output lines on both cores, passed on to the file in order.
#include "exchange/block_formatter.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <span>
#include <system_error>
#include <utility>

namespace tesra {
namespace {

// Room one element line may take, its CR LF and WriteReal's spare bytes included.
constexpr std::size_t kMostNumericLineBytes = kMaxNumericLineText + 16 + 2;

// The line's text at out, from its head; reals and textBegin move past it.
char* WriteLine(char* out, const auto& head, const double*& reals, const std::string& texts,
                std::uint32_t& textBegin, RealTextCache& cache) {
    if (head.isText) {
        const std::size_t length = head.textEnd - textBegin;
        std::memcpy(out, texts.data() + textBegin, length);
        textBegin = head.textEnd;
        return out + length;
    }
    const std::span<const double> lineReals(reals, head.realCount);
    reals += head.realCount;
    return WriteNumericLine(out, head.keyword, lineReals, head.hasCode ? &head.code : nullptr,
                            cache);
}

}  // namespace

BlockFormatter::~BlockFormatter() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

BlockFormatter::Block& BlockFormatter::Current() {
    if (current_) return *current_;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!free_.empty()) {
            current_ = std::move(free_.back());
            free_.pop_back();
        }
    }
    if (!current_) current_ = std::make_unique<Block>();
    current_->heads.clear();
    current_->reals.clear();
    current_->texts.clear();
    current_->formattedSize = 0;
    return *current_;
}

void BlockFormatter::Append(std::string_view line) {
    Block& block = Current();
    block.texts.append(line);
    block.heads.push_back(Head{
        .keyword = {}, .textEnd = static_cast<std::uint32_t>(block.texts.size()), .isText = true});
    if (block.heads.size() == kBlockLines) Submit();
}

void BlockFormatter::AppendNumeric(const NumericLine& line) {
    Block& block = Current();
    block.heads.push_back(Head{.keyword = line.keyword,
                               .code = line.code,
                               .realCount = line.realCount,
                               .hasCode = line.hasCode});
    block.reals.insert(block.reals.end(), line.reals.begin(), line.reals.begin() + line.realCount);
    if (block.heads.size() == kBlockLines) Submit();
}

bool BlockFormatter::StartWorker() {
    if (worker_.joinable()) return true;
    try {
        worker_ = std::thread(&BlockFormatter::WorkerLoop, this);
        return true;
    } catch (const std::system_error&) {
        return false;  // no second thread to be had: this one formats everything
    }
}

// A full block goes to the worker when it has nothing waiting; otherwise this
// thread formats it, so neither thread waits for the other while there is
// work. The only block of a small drawing goes straight to the target.
void BlockFormatter::Submit(bool last) {
    BlockPtr block = std::move(current_);
    const bool onlyBlock = last && submitted_ == 0;
    const bool workerRuns = !onlyBlock && StartWorker();
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock,
                      [&] { return submitted_ - nextToPass_ < kMostBlocksInFlight || stopping_; });
        if (stopping_) return;  // abandoned: Finish raises why
        block->index = submitted_++;
        if (workerRuns && !queued_) {
            queued_ = std::move(block);
            lock.unlock();
            changed_.notify_all();
            return;
        }
    }
    if (onlyBlock) return FormatStraightOn(*block, cache_);
    Format(*block, cache_);
    PassOnInOrder(std::move(block));
}

// Each line goes to the target as it is formatted: no text of the block's own.
void BlockFormatter::FormatStraightOn(Block& block, RealTextCache& cache) {
    const double* reals = block.reals.data();
    std::uint32_t textBegin = 0;
    char text[kMostNumericLineBytes];
    for (const Head& head : block.heads) {
        if (head.isText) {
            target_.Append(
                std::string_view(block.texts).substr(textBegin, head.textEnd - textBegin));
            textBegin = head.textEnd;
            continue;
        }
        const char* end = WriteLine(text, head, reals, block.texts, textBegin, cache);
        target_.Append({text, static_cast<std::size_t>(end - text)});
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    ++nextToPass_;
}

void BlockFormatter::GrowText(Block& block, std::size_t room) {
    // Room for typical lines at first, so a block seldom grows twice.
    const std::size_t capacity =
        std::max({2 * block.formattedCapacity, block.formattedSize + room, kBlockLines * 64});
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    // std::copy_n, not memcpy: a block's first text has no bytes to copy and no pointer.
    std::copy_n(block.formatted.get(), block.formattedSize, grown.get());
    block.formatted = std::move(grown);
    block.formattedCapacity = capacity;
}

void BlockFormatter::Format(Block& block, RealTextCache& cache) {
    const double* reals = block.reals.data();
    std::uint32_t textBegin = 0;
    for (const Head& head : block.heads) {
        const std::size_t most = head.isText ? head.textEnd - textBegin + 2 : kMostNumericLineBytes;
        if (block.formattedCapacity - block.formattedSize < most) GrowText(block, most);
        char* out = block.formatted.get() + block.formattedSize;
        out = WriteLine(out, head, reals, block.texts, textBegin, cache);
        *out++ = '\r';
        *out++ = '\n';
        block.formattedSize = static_cast<std::size_t>(out - block.formatted.get());
    }
}

// Whichever thread finishes a block passes on every block whose turn has come;
// a thread that finds another one passing leaves its block to it.
void BlockFormatter::PassOnInOrder(BlockPtr block) {
    std::unique_lock<std::mutex> lock(mutex_);
    formatted_.push_back(std::move(block));
    if (passing_) return;
    passing_ = true;
    for (;;) {
        const auto next = std::find_if(formatted_.begin(), formatted_.end(),
                                       [&](const BlockPtr& b) { return b->index == nextToPass_; });
        if (next == formatted_.end() || stopping_) break;
        BlockPtr turn = std::move(*next);
        formatted_.erase(next);
        lock.unlock();
        target_.AppendLines({turn->formatted.get(), turn->formattedSize});
        lock.lock();
        ++nextToPass_;
        free_.push_back(std::move(turn));
        changed_.notify_all();
    }
    passing_ = false;
    changed_.notify_all();
}

// A failure on the worker (out of memory) stops the formatting; Finish
// raises it on the drawing thread, where the run handles it.
void BlockFormatter::WorkerLoop() {
    try {
        FormatQueuedBlocks();
    } catch (...) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            workerFailure_ = std::current_exception();
            stopping_ = true;
        }
        changed_.notify_all();
    }
}

void BlockFormatter::FormatQueuedBlocks() {
    RealTextCache cache;
    for (;;) {
        BlockPtr block;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return queued_ || stopping_; });
            if (stopping_) return;
            block = std::move(queued_);
        }
        Format(*block, cache);
        PassOnInOrder(std::move(block));
    }
}

void BlockFormatter::Finish() {
    if (current_ && !current_->heads.empty()) Submit(true);
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return nextToPass_ == submitted_ || stopping_; });
    if (workerFailure_) std::rethrow_exception(workerFailure_);
}

}  // namespace tesra

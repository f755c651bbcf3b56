// Formatting every other block of output lines on a second core, written in order.
#include "exchange/block_formatter.h"

#include <exception>
#include <system_error>
#include <utility>

namespace tesra {

BlockFormatter::~BlockFormatter() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

std::unique_ptr<BlockFormatter::Block> BlockFormatter::FreeBlock() {
    std::unique_ptr<Block> block;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!free_.empty()) {
            block = std::move(free_.back());
            free_.pop_back();
        }
    }
    if (!block) {
        block = std::make_unique<Block>();
        block->entries.reserve(kBlockLines);
    }
    block->entries.clear();
    block->texts.clear();
    return block;
}

void BlockFormatter::Append(std::string_view line) {
    if (!current_) current_ = FreeBlock();
    current_->texts.append(line);
    current_->entries.emplace_back(NumericLine{},
                                   static_cast<std::uint32_t>(current_->texts.size()), true);
    if (current_->entries.size() == kBlockLines) Submit();
}

void BlockFormatter::AppendNumeric(const NumericLine& line) {
    if (!current_) current_ = FreeBlock();
    current_->entries.emplace_back(line, std::uint32_t{0}, false);
    if (current_->entries.size() == kBlockLines) Submit();
}

// Even blocks go to the worker, odd ones are formatted here: both threads
// format while this one also draws. A last block that leaves nothing to
// overlap with is formatted here too, so a small drawing starts no thread.
void BlockFormatter::Submit(bool last) {
    std::unique_ptr<Block> block = std::move(current_);
    block->index = submitted_++;
    if (block->index % 2 == 0 && !(last && !worker_.joinable()))
        return GiveToWorker(std::move(block));
    if (InTurn(block->index)) return FormatStraightOn(std::move(block));
    Format(*block);
    PassInTurn(std::move(block));
}

bool BlockFormatter::InTurn(std::size_t index) {
    const std::lock_guard<std::mutex> lock(mutex_);
    return nextToPass_ == index && !stopping_;
}

// A block whose turn has come needs no text of its own: each line goes to
// the target as it is formatted, as it does for a small drawing's only block.
void BlockFormatter::FormatStraightOn(std::unique_ptr<Block> block) {
    std::uint32_t textBegin = 0;
    char text[kMaxNumericLineText + 16];
    for (const Entry& e : block->entries) {
        if (e.isText) {
            target_.Append(std::string_view(block->texts).substr(textBegin, e.textEnd - textBegin));
            textBegin = e.textEnd;
        } else {
            target_.Append({text, static_cast<std::size_t>(WriteNumericLine(text, e.element) - text)});
        }
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++nextToPass_;
        free_.push_back(std::move(block));
    }
    changed_.notify_all();
}

void BlockFormatter::Format(Block& block) const {
    block.formatted.clear();
    block.lineEnds.clear();
    std::uint32_t textBegin = 0;
    char text[kMaxNumericLineText + 16];
    for (const Entry& e : block.entries) {
        if (e.isText) {
            block.formatted.append(block.texts, textBegin, e.textEnd - textBegin);
            textBegin = e.textEnd;
        } else {
            block.formatted.append(text, WriteNumericLine(text, e.element));
        }
        block.lineEnds.push_back(static_cast<std::uint32_t>(block.formatted.size()));
    }
}

// Blocks reach the target strictly by index, whichever thread formatted them.
void BlockFormatter::PassInTurn(std::unique_ptr<Block> block) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return nextToPass_ == block->index || stopping_; });
        if (stopping_) return;
    }
    std::uint32_t begin = 0;
    for (std::uint32_t end : block->lineEnds) {
        target_.Append(std::string_view(block->formatted).substr(begin, end - begin));
        begin = end;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++nextToPass_;
        free_.push_back(std::move(block));
    }
    changed_.notify_all();
}

void BlockFormatter::GiveToWorker(std::unique_ptr<Block> block) {
    if (!worker_.joinable()) {
        try {
            worker_ = std::thread(&BlockFormatter::WorkerLoop, this);
        } catch (const std::system_error&) {
            // No second thread to be had: this one formats everything.
            Format(*block);
            return PassInTurn(std::move(block));
        }
    }
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return !pending_ || stopping_; });
        pending_ = std::move(block);
    }
    changed_.notify_all();
}

// A failure on the worker (out of memory) stops the formatting; Finish
// raises it on the drawing thread, where the run handles it.
void BlockFormatter::WorkerLoop() {
    try {
        FormatGivenBlocks();
    } catch (...) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            workerFailure_ = std::current_exception();
            stopping_ = true;
        }
        changed_.notify_all();
    }
}

void BlockFormatter::FormatGivenBlocks() {
    for (;;) {
        std::unique_ptr<Block> block;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return pending_ || stopping_; });
            if (stopping_) return;
            block = std::move(pending_);
        }
        changed_.notify_all();
        Format(*block);
        PassInTurn(std::move(block));
    }
}

void BlockFormatter::Finish() {
    if (current_ && !current_->entries.empty()) Submit(true);
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return nextToPass_ == submitted_ || stopping_; });
    if (workerFailure_) std::rethrow_exception(workerFailure_);
}

}  // namespace tesra

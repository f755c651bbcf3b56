#pragma once
// Formatting numbers is most of the work of a large drawing. This sink keeps
// element lines as numbers in blocks and formats every other block on a
// second thread while the drawing goes on; the target receives every line in
// the order it was appended, so the output is the same bytes as without it.
// The thread starts only once the first block is full: a small drawing never
// pays for it.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "exchange/line_sink.h"

namespace tesra {

class BlockFormatter final : public LineSink {
public:
    explicit BlockFormatter(LineSink& target) : target_(target) {}
    // Stops the second thread; lines not yet passed on are dropped.
    ~BlockFormatter() override;
    BlockFormatter(const BlockFormatter&) = delete;
    BlockFormatter& operator=(const BlockFormatter&) = delete;

    void Append(std::string_view line) override;
    void AppendNumeric(const NumericLine& line) override;
    // Passes every line on to the target; call before committing it. Raises
    // what stopped the second thread, if anything did.
    void Finish();

    // Lines per block: enough that handing blocks over costs nothing, few
    // enough that the blocks in flight stay a few megabytes.
    static constexpr std::size_t kBlockLines = 8192;

private:
    struct Entry {
        // Built in place in its block (clang has no parenthesised aggregates).
        Entry(const NumericLine& e, std::uint32_t end, bool text)
            : element(e), textEnd(end), isText(text) {}
        NumericLine element;
        std::uint32_t textEnd = 0;  // a text line: its end in Block::texts
        bool isText = false;
    };
    struct Block {
        std::size_t index = 0;
        std::vector<Entry> entries;
        std::string texts;
        std::string formatted;
        std::vector<std::uint32_t> lineEnds;
    };

    void Submit(bool last = false);
    bool InTurn(std::size_t index);
    void FormatStraightOn(std::unique_ptr<Block> block);
    void Format(Block& block) const;
    void PassInTurn(std::unique_ptr<Block> block);
    void GiveToWorker(std::unique_ptr<Block> block);
    void WorkerLoop();
    void FormatGivenBlocks();
    std::unique_ptr<Block> FreeBlock();

    LineSink& target_;
    std::unique_ptr<Block> current_;
    std::size_t submitted_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<Block> pending_;  // handed to the worker, not yet taken
    std::vector<std::unique_ptr<Block>> free_;
    std::size_t nextToPass_ = 0;
    bool stopping_ = false;
    std::exception_ptr workerFailure_;
    std::thread worker_;
};

}  // namespace tesra

#pragma once
// Formatting numbers is most of the work of a large drawing. This sink keeps
// element lines as numbers in blocks; each full block goes to a second
// thread, or is formatted by the drawing thread itself when the second one
// is still busy, so both cores format while the drawing goes on. Finished
// blocks reach the target strictly in order, as one run of bytes each, so the
// output is the same bytes as without it. The thread starts only once the
// first block is full: a small drawing never pays for it.

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
#include "exchange/number_format.h"

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
    // Blocks submitted and not yet passed on, at most: the drawing waits
    // rather than run further ahead of the file.
    static constexpr std::size_t kMostBlocksInFlight = 4;

private:
    // A line as its parts; its reals (realCount of them) follow those of the
    // lines before it in Block::reals, a text line's bytes end at textEnd.
    struct Head {
        std::string_view keyword;
        std::uint32_t textEnd = 0;
        std::int32_t code = 0;
        std::uint8_t realCount = 0;
        bool hasCode = false;
        bool isText = false;
    };
    struct Block {
        std::size_t index = 0;
        std::vector<Head> heads;
        std::vector<double> reals;
        std::string texts;
        std::unique_ptr<char[]> formatted;  // CR LF after every line
        std::size_t formattedSize = 0;
        std::size_t formattedCapacity = 0;
    };
    using BlockPtr = std::unique_ptr<Block>;

    Block& Current();
    void Submit(bool last = false);
    void FormatStraightOn(Block& block, RealTextCache& cache);
    static void Format(Block& block, RealTextCache& cache);
    static void GrowText(Block& block, std::size_t room);
    void PassOnInOrder(BlockPtr block);
    void WorkerLoop();
    void FormatQueuedBlocks();
    bool StartWorker();

    LineSink& target_;
    BlockPtr current_;
    std::size_t submitted_ = 0;
    RealTextCache cache_;  // the drawing thread's

    std::mutex mutex_;
    std::condition_variable changed_;
    BlockPtr queued_;                  // for the worker, which takes one block at a time
    std::vector<BlockPtr> formatted_;  // waiting for their turn
    std::vector<BlockPtr> free_;
    std::size_t nextToPass_ = 0;
    bool passing_ = false;  // a thread is passing blocks to the target
    bool stopping_ = false;
    std::exception_ptr workerFailure_;
    std::thread worker_;
};

}  // namespace tesra

// Output steps shared by the runs over a range selection.
#include "app/selection_output.h"

#include <new>

#include "exchange/block_formatter.h"
#include "exchange/number_format.h"
#include "exchange/write_back.h"

namespace tesra {
namespace {

// "h#" and, in CP932: 楕円弧 <n> 個には沿わせず、そのまま残しました。
constexpr std::string_view kNotFollowedBefore = "h#\x91\xC8\x89\x7E\x8C\xCA";
constexpr std::string_view kNotFollowedAfter =
    "\x8C\xC2\x82\xC9\x82\xCD\x89\x88\x82\xED\x82\xB9\x82\xB8\x81\x41\x82\xBB\x82\xCC\x82\xDC"
    "\x82\xDC\x8E\x63\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";

}  // namespace

void WriteSelectionBack(const ExchangeState& ex, Writer& writer) {
    if (ex.bz) writer.AppendOutputLine("bz");
    WriteBackSelection(ex.elements, writer);
}

void WriteSelectionWithNotice(const ExchangeState& ex, Writer& writer, std::string_view notice) {
    WriteSelectionBack(ex, writer);
    std::string line = "h#";
    line += notice;
    writer.AppendOutputLine(line);
}

std::string NotFollowedNotice(std::int32_t count) {
    std::string line(kNotFollowedBefore);
    AppendInt(line, count);
    line += kNotFollowedAfter;
    return line;
}

bool ReplaceExchangeFile(const RunPaths& paths, const WriteFaults& faults,
                         const std::function<void(LineSink&)>& draw) {
    try {
        AtomicFile out(paths.exchangeFile, faults);
        BlockFormatter formatter(out);
        draw(formatter);
        formatter.Finish();
        return out.Commit();
    } catch (const std::bad_alloc&) {
        // The temporary file is gone with its AtomicFile.
        return false;
    }
}

}  // namespace tesra

// Output steps shared by the runs over a range selection.
#include "app/selection_output.h"

#include <new>

#include "exchange/block_formatter.h"
#include "exchange/number_format.h"
#include "exchange/write_back.h"
#include "notices_cp932.h"

namespace tesra {

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

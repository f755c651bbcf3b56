#pragma once
// Output steps shared by the runs over a range selection (modes "3" and
// "4"): the host erases what was selected when it reads the file back, so
// whatever a run draws or says, the selection goes back first.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/run.h"
#include "exchange/writer.h"

namespace tesra {

// "bz" when the host asked for paper millimetres, then every selected element
// as it was read. Call only when nothing in the selection is refused.
void WriteSelectionBack(const ExchangeState& ex, Writer& writer);

// The selection back and a notice ("h#" and CP932 text) saying why nothing
// was drawn and what to change: the user keeps the drawing and learns why.
void WriteSelectionWithNotice(const ExchangeState& ex, Writer& writer, std::string_view notice);

// The notice about elliptic arcs left as they were: 楕円弧 <n> 個には沿わせず、そのまま残しました。
std::string NotFollowedNotice(std::int32_t count);

// Writes through `draw` into a temporary file renamed over the exchange file
// once complete. False on any write fault or when memory runs out; the
// host's file is then untouched.
bool ReplaceExchangeFile(const RunPaths& paths, const WriteFaults& faults,
                         const std::function<void(LineSink&)>& draw);

}  // namespace tesra

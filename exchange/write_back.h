#pragma once
// Writing the selected elements back into the command file. When the host
// reads a file back after a range selection, it erases what was selected and
// draws what the file holds: every selected element that should stay must be
// written again, exactly as it was read.

#include <string_view>

#include "exchange/element_store.h"
#include "exchange/writer.h"

namespace tesra {

// Why a selection cannot be written back whole. Anything but None means the
// run must leave the host's file alone: the host would erase the element and
// find nothing to draw in its place.
enum class WriteBackRefusal {
    None,
    Block,             // an inserted block: its definition is not in the file
    Dimension,         // a dimension figure: its grouping would be lost
    Curve,             // lines of one curve ("pl"): the curve attribute would be lost
    UnknownSolidCode,  // an "sc"/"se" code whose meaning is unknown
    LineTooLong,       // the element's line would be cut at the writer's line limit
    NulInText,         // a text or font name with a NUL byte, where the host's line would end
    NoFontName,        // a text after an empty font line, which the host's files never hold
};

WriteBackRefusal FirstRefusal(const ElementStore& store);
std::string_view RefusalName(WriteBackRefusal refusal);

// Appends every selected element in input order, each preceded by the
// attribute lines that differ from what is in force: layer group, layer,
// line or solid color, line type and (when the host passes it) width;
// for texts the text kind, font and text color; for points the point number.
// Call only when FirstRefusal(store) is None.
void WriteBackSelection(const ElementStore& store, Writer& writer);

}  // namespace tesra

#pragma once
// The elements the user selected in the host, as paths to lay a pattern
// along: lines, circular arcs and circles joined where their ends meet.

#include <cstdint>
#include <vector>

#include "exchange/element_store.h"
#include "geom/path.h"

namespace tesra {

struct AlongSelection {
    std::vector<ElementPath> paths;
    // Elliptic arcs and ellipses (flatness other than 1) in the selection: no
    // path follows them; the run tells the user about them.
    std::int32_t notFollowed = 0;
};

// Paths from the selected lines, arcs and circles, chained through shared ends.
// Ends meet when both coordinates agree within 1e-8. A path passes only where
// exactly two ends meet; where three or more meet, each element there ends its
// path. Closed paths run counter-clockwise from the element first in the file;
// open paths from the free end of whichever end element comes first in the
// file. Circles, elements shorter than 1e-8 and elements that touch nothing
// are paths of their own; elliptic arcs are counted in notFollowed instead.
AlongSelection PathsFromSelection(const ElementStore& store);

}  // namespace tesra

// The layout core: see layout.h.
#include "figures/layout.h"

#include "figures/along_elements.h"

namespace tesra {

ElementPath ChainPath(std::span<const Point> points, int npts) {
    ElementPath path;
    for (int j = 1; j < npts; ++j)
        path.elements.push_back(LineElement(points[static_cast<std::size_t>(j)],
                                            points[static_cast<std::size_t>(j + 1)]));
    path.closed = npts > 2 && SamePoint(points[1], points[static_cast<std::size_t>(npts)]);
    return path;
}

std::int64_t LayoutFigureCount(const LayoutInputs& in, std::span<const ElementPath> paths) {
    AlongSelection s{{paths.begin(), paths.end()}, 0};
    return AlongFigureCount({in.row, in.solid, in.lineColor}, s);
}

void LayOutPaths(const LayoutInputs& in, std::span<const ElementPath> paths, DrawTarget& out) {
    AlongSelection s{{paths.begin(), paths.end()}, 0};
    DrawAlongPaths({in.row, in.solid, in.lineColor}, s, out);
}

}  // namespace tesra

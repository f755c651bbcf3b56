// The figure library reader over any bytes. What it reads stays within its
// bounds, and saving is stable: the file written after reading a saved file
// is the same file, so registering a figure never drifts another one, and
// every line it could not read is still there.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/figure_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tesra::FigureLibrary library =
        tesra::ParseFigureLibrary({reinterpret_cast<const char*>(data), size});
    if (library.set.figures.size() > tesra::kMaxOwnFigures) std::abort();
    for (const tesra::OwnFigure& f : library.set.figures) {
        if (f.elements.empty() || f.elements.size() > tesra::kMaxOwnFigureElements) std::abort();
        if (!(f.width > 0) || !(f.height > 0) || f.kind >= library.set.nextKind) std::abort();
    }
    if (!library.writable) return 0;
    const std::string saved = tesra::SerializeFigureLibrary(library);
    const tesra::FigureLibrary again = tesra::ParseFigureLibrary(saved);
    if (again.set.figures != library.set.figures || tesra::SerializeFigureLibrary(again) != saved)
        std::abort();
    return 0;
}

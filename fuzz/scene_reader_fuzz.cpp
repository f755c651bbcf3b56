// tesra-svg's reader of exchange files, over any bytes, and the SVG it renders.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/svg/scene_reader.h"
#include "tools/svg/svg_render.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tesra::svg::Scene scene =
        tesra::svg::ReadScene({reinterpret_cast<const char*>(data), size});
    (void)tesra::svg::RenderSvg(scene);
    return 0;
}

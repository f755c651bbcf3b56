// tesra-svg: shows what a drawing run drew.
//   tesra-svg IN.TXT OUT.svg     the commands of an exchange file
//   tesra-svg --gallery OUT.svg  every figure kind and a few whole patterns
//   tesra-svg --slopes OUT.svg   法面 ticks: straight, curved, converging, corners
//   tesra-svg --own-figures OUT.svg  a few own figures along a site boundary
//   tesra-svg --symbols OUT.svg  every shipped symbol along the same boundary

#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "tools/svg/gallery.h"
#include "tools/svg/own_gallery.h"
#include "tools/svg/scene_reader.h"
#include "tools/svg/slope_gallery.h"
#include "tools/svg/svg_render.h"
#include "tools/svg/symbol_gallery.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kFileError = 1;

int Usage() {
    std::cerr << "usage: tesra-svg IN.TXT OUT.svg\n"
                 "       tesra-svg --gallery OUT.svg\n"
                 "       tesra-svg --slopes OUT.svg\n"
                 "       tesra-svg --own-figures OUT.svg\n"
                 "       tesra-svg --symbols OUT.svg\n";
    return kUsageError;
}

int WriteSvg(const tesra::svg::Scene& scene, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << tesra::svg::RenderSvg(scene);
    out.close();
    if (!out) {
        std::cerr << "tesra-svg: cannot write " << path << '\n';
        return kFileError;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    const std::string_view first = argv[1];
    if (first == "--gallery") return WriteSvg(tesra::svg::BuildGallery(), argv[2]);
    if (first == "--slopes") return WriteSvg(tesra::svg::BuildSlopeGallery(), argv[2]);
    if (first == "--own-figures") return WriteSvg(tesra::svg::BuildOwnFigureGallery(), argv[2]);
    if (first == "--symbols")
        return WriteSvg(tesra::svg::BuildSymbolGallery(TESRA_SHIPPED_SYMBOLS), argv[2]);
    if (first.starts_with("--")) return Usage();

    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "tesra-svg: cannot read " << argv[1] << '\n';
        return kFileError;
    }
    tesra::svg::SceneReader reader;
    reader.ReadStream(in);
    if (in.bad()) {
        std::cerr << "tesra-svg: error while reading " << argv[1] << '\n';
        return kFileError;
    }
    return WriteSvg(reader.TakeScene(), argv[2]);
}

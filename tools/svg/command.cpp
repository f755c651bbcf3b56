// tesra-svg's options: one picture of an exchange file, or one of the sheets.
#include "tools/svg/command.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "tools/svg/gallery.h"
#include "tools/svg/own_gallery.h"
#include "tools/svg/scene_reader.h"
#include "tools/svg/slope_gallery.h"
#include "tools/svg/svg_render.h"
#include "tools/svg/symbol_gallery.h"

namespace tesra::svg {
namespace {

constexpr std::string_view kUsage =
    "usage: tesra-svg [--points HOST.TXT] IN.TXT OUT.svg\n"
    "       tesra-svg --gallery OUT.svg\n"
    "       tesra-svg --slopes OUT.svg\n"
    "       tesra-svg --own-figures OUT.svg\n"
    "       tesra-svg --symbols OUT.svg\n"
    "       tesra-svg --help\n";

constexpr std::string_view kHelp =
    "\n"
    "Draws an exchange file (JWC_TEMP.TXT, CP932) as an SVG picture, the host's input\n"
    "as well as what a run of tesra wrote back: lines, arcs and solids in their pen or\n"
    "solid color, points as dots, texts at their place, angle and height, the host's\n"
    "line types as dashes, the messages of the run (he, h#) as captions under the\n"
    "drawing, and indicated points (hp) as small numbered rings. Any web browser opens\n"
    "the picture.\n"
    "\n"
    "  IN.TXT OUT.svg         the picture of IN.TXT\n"
    "  --points HOST.TXT      also mark the indicated points of HOST.TXT: the file the\n"
    "                         host wrote before the run, whose points modes 1 and 2 draw\n"
    "                         along and mode 4 picks the top edge by (the file a run\n"
    "                         writes back does not repeat them)\n"
    "  --gallery OUT.svg      every figure kind, and a few whole patterns\n"
    "  --slopes OUT.svg       slope ticks: straight, along a curved top edge, towards a\n"
    "                         converging toe, round outer and inner corners, no toe\n"
    "  --own-figures OUT.svg  a few own figures along a site boundary\n"
    "  --symbols OUT.svg      every shipped symbol along the same boundary: straight\n"
    "                         sides, a sharp corner, a tight curve, clicked points, and\n"
    "                         a top edge with its toe\n"
    "  --help                 this text\n"
    "\n"
    "Exit status: 0 when OUT.svg was written; 1 when an input cannot be read or holds\n"
    "not one line of an exchange file, or OUT.svg cannot be written (nothing is written\n"
    "when an input fails); 2 for a command line it does not know.\n";

int Usage(std::ostream& err) {
    err << kUsage << "Run tesra-svg --help for what each option does.\n";
    return kExitUsage;
}

int WriteSvg(const Scene& scene, const std::string& path, std::ostream& err) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << RenderSvg(scene);
    file.close();
    if (!file) {
        err << "tesra-svg: cannot write " << path << '\n';
        return kExitFileError;
    }
    return kExitWritten;
}

// The scene of a whole exchange file, or nothing (and why, on err) when the
// file cannot be opened or read, or when not one of its lines is a record:
// an empty picture would pass for a run that drew nothing.
std::optional<Scene> ReadExchangeScene(const std::string& path, std::ostream& err) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        err << "tesra-svg: " << path << " is a folder, not an exchange file\n";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "tesra-svg: cannot read " << path << '\n';
        return std::nullopt;
    }
    SceneReader reader;
    reader.ReadStream(in);
    if (in.bad()) {
        err << "tesra-svg: error while reading " << path << '\n';
        return std::nullopt;
    }
    if (reader.UnderstoodLines() == 0) {
        err << "tesra-svg: " << path
            << " is not an exchange file: not one of its lines is a record of one\n";
        return std::nullopt;
    }
    return reader.TakeScene();
}

int DrawExchangeFile(std::span<const std::string_view> args, std::ostream& err) {
    std::optional<std::string> hostFile;
    if (args.size() == 4 && args[0] == "--points") {
        hostFile = std::string(args[1]);
        args = args.subspan(2);
    }
    if (args.size() != 2 || args[0].starts_with("--")) return Usage(err);
    std::optional<Scene> scene = ReadExchangeScene(std::string(args[0]), err);
    if (!scene) return kExitFileError;
    if (hostFile) {
        const std::optional<Scene> host = ReadExchangeScene(*hostFile, err);
        if (!host) return kExitFileError;
        scene->indicated.insert(scene->indicated.end(), host->indicated.begin(),
                                host->indicated.end());
    }
    return WriteSvg(*scene, std::string(args[1]), err);
}

}  // namespace

int RunSvgCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage << kHelp;
        return kExitWritten;
    }
    if (args.size() == 2) {
        const std::string outPath(args[1]);
        if (args[0] == "--gallery") return WriteSvg(BuildGallery(), outPath, err);
        if (args[0] == "--slopes") return WriteSvg(BuildSlopeGallery(), outPath, err);
        if (args[0] == "--own-figures") return WriteSvg(BuildOwnFigureGallery(), outPath, err);
        if (args[0] == "--symbols")
            return WriteSvg(BuildSymbolGallery(TESRA_SHIPPED_SYMBOLS), outPath, err);
    }
    return DrawExchangeFile(args, err);
}

}  // namespace tesra::svg

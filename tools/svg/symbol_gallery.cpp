// The symbol sheet: each symbol is a row of a store, drawn by mode 3 along a
// boundary and, for slope symbols, by mode 4 between two lines.
#include "tools/svg/symbol_gallery.h"

#include <iconv.h>

#include <string>
#include <vector>

#include "app/run.h"
#include "exchange/line_sink.h"
#include "exchange/reader.h"
#include "settings/symbol_library.h"
#include "tools/svg/gallery.h"
#include "tools/svg/scene_reader.h"

namespace tesra::svg {
namespace {

constexpr Rgb kLabelColor = 0x333333;
constexpr double kLabelHeight = 1.2;
// Pen 5 for the boundary, as the host shows a selection it has not erased yet.
constexpr std::string_view kHostHead = "hq\r\nlg0\r\nly0\r\nlc2\r\nlt1\r\n";

// The same boundary for every symbol, from the tile's lower left corner: a
// straight side, a tight curve of radius 3, a side upward, a sharp corner,
// and a side back to the left.
std::string Boundary(Point o) {
    auto n = [](double v) { return std::to_string(v); };
    auto line = [&](double x1, double y1, double x2, double y2) {
        return n(o.x + x1) + " " + n(o.y + y1) + " " + n(o.x + x2) + " " + n(o.y + y2) + "\r\n";
    };
    return "lc5\r\n" + line(2, 4, 14, 4) + "ci " + n(o.x + 14) + " " + n(o.y + 7) +
           " 3 270 360 1 0\r\n" + line(17, 7, 17, 18) + line(17, 18, 4, 18);
}

// A top edge and a toe that draws nearer: the slope between two lines.
std::string TopAndToe(Point o) {
    auto n = [](double v) { return std::to_string(v); };
    return "hp1 " + n(o.x + 22) + " " + n(o.y + 18) + "\r\n" + std::string(kHostHead) +
           "#\r\nlc5\r\n" + n(o.x + 20) + " " + n(o.y + 18) + " " + n(o.x + 28) + " " +
           n(o.y + 18) + "\r\nlc3\r\n" + n(o.x + 20) + " " + n(o.y + 12) + " " + n(o.x + 28) + " " +
           n(o.y + 15) + "\r\n";
}

// Points clicked one after another: two sides and a sharp corner, where a
// guide line is drawn even on the points' own line (mode 3 leaves a selected
// element as it is).
std::string Chain(Point o) {
    auto n = [](double v) { return std::to_string(v); };
    const Point points[] = {{20, 2}, {28, 2}, {28, 9}};
    std::string file = "hq\r\n";
    for (int i = 0; i < 3; ++i)
        file += "hp" + std::to_string(i + 1) + " " + n(o.x + points[i].x) + " " +
                n(o.y + points[i].y) + "\r\n";
    return file + std::string(kHostHead) + "#\r\n";
}

void Draw(SceneReader& reader, const PatternRow& row, const std::string& host, RunMode mode) {
    RunContext run;
    ResetExchangeState(run.exchange);
    ReadExchangeBytes(run.exchange, host);
    run.store.rows[0] = row;
    run.store.selectedRow = 1;
    VectorSink sink;
    DrawPattern(run, mode, sink);
    for (const std::string& line : sink.lines) reader.ReadLine(line);
}

std::string Utf8(const std::string& cp932) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "?";
    std::string out(cp932.size() * 2 + 4, '\0');
    char* src = const_cast<char*>(cp932.data());
    char* dst = out.data();
    std::size_t srcLeft = cp932.size(), dstLeft = out.size();
    const bool whole = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return whole ? out : out + "?";
}

}  // namespace

Scene BuildSymbolGallery(const std::filesystem::path& library) {
    const SymbolLibrary lib = LoadSymbolLibrary(library);
    SceneReader reader;
    for (std::size_t i = 0; i < lib.symbols.size(); ++i) {
        const Symbol& s = lib.symbols[i];
        const auto column = static_cast<double>(i % kSymbolTileColumns);
        const auto line = static_cast<double>(i / kSymbolTileColumns);
        const Point o{column * kSymbolTilePitchX, -line * kSymbolTilePitchY};
        reader.AddShape({FrameShape{o, {o.x + kSymbolTilePitchX - 1, o.y + 24}}, 0});
        Draw(reader, s.row, std::string(kHostHead) + "#\r\n" + Boundary(o),
             RunMode::AlongSelection);
        if (s.row.rowKind == kRowSlope)
            Draw(reader, s.row, TopAndToe(o), RunMode::SlopeBetween);
        else
            Draw(reader, s.row, Chain(o), RunMode::Chain);
        reader.AddShape(
            {LabelShape{{o.x + kSymbolTilePitchX / 2, o.y + 21}, kLabelHeight, Utf8(s.name)},
             kLabelColor});
    }
    Scene scene = reader.TakeScene();
    scene.pixelsPerUnit = kGalleryPixelsPerUnit * 2;
    return scene;
}

}  // namespace tesra::svg

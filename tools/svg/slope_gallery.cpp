// The slope sheet: each demo is a host file run through DrawPattern in mode "4".
#include "tools/svg/slope_gallery.h"

#include <string>
#include <vector>

#include "app/run.h"
#include "exchange/line_sink.h"
#include "exchange/number_format.h"
#include "exchange/reader.h"
#include "tools/svg/gallery.h"
#include "tools/svg/scene_reader.h"

namespace tesra::svg {
namespace {

constexpr Rgb kLabelColor = 0x333333;
constexpr double kDemoPitchX = 80.0, kDemoPitchY = 60.0;

struct SlopeDemo {
    std::string title;
    std::string rhythm;
    std::vector<std::vector<double>> top, toe;  // lines x1 y1 x2 y2, arcs ci x y r a1 a2
    Point point;                                // on the top edge
};

std::string ElementLine(const std::vector<double>& v, Point at) {
    std::string line = v.size() == 4 ? "" : "ci";
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (!line.empty()) line += ' ';
        const double shift = i < 2 || (v.size() == 4 && i < 4) ? (i % 2 ? at.y : at.x) : 0;
        AppendReal(line, v[i] + shift);
    }
    if (v.size() == 5) line += " 1 0";
    return line + "\r\n";
}

// The host's file: the point, then the top edge in pen 5 and the toe in pen 3.
std::string HostFile(const SlopeDemo& demo, Point at) {
    std::string file = "hq\r\n";
    file += "hp1 ";
    AppendReal(file, demo.point.x + at.x);
    file += ' ';
    AppendReal(file, demo.point.y + at.y);
    file += "\r\nlg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\nlc5\r\n";
    for (const auto& e : demo.top) file += ElementLine(e, at);
    file += "lc3\r\n";
    for (const auto& e : demo.toe) file += ElementLine(e, at);
    return file;
}

std::vector<SlopeDemo> Demos() {
    return {
        {"直線の法肩と法尻（長短）", "LS", {{0, 0, 60, 0}}, {{0, -10, 60, -10}}, {30, 0}},
        {"曲がった法肩（道路の切土）",
         "LS",
         {{30, -40, 50, 45, 135}},
         {{30, -40, 40, 40, 140}},
         {30, 10}},
        {"法尻が近づく（長短短）", "LSS", {{0, 0, 60, 0}}, {{0, -18, 60, -4}}, {30, 0}},
        {"外側の角",
         "LS",
         {{0, 0, 40, 0}, {40, 0, 40, 35}},
         {{0, -10, 50, -10}, {50, -10, 50, 35}},
         {20, 0}},
        {"内側の角（交わる線は描かない）",
         "LS",
         {{0, 0, 40, 0}, {40, 0, 40, -40}},
         {{0, -10, 30, -10}, {30, -10, 30, -40}},
         {20, 0}},
        {"法尻なし、閉じた法肩（外側に設定の長さ）", "L", {{30, -20, 18}}, {}, {48, -20}},
    };
}

PatternRow SlopeRow(const std::string& rhythm) {
    PatternRow row;
    row.rowKind = kRowSlope;
    row.pitch = 2.5;
    row.rhythm = rhythm;
    row.tickLength = 6;
    return row;
}

void AddDemo(SceneReader& reader, const SlopeDemo& demo, Point at) {
    RunContext run;
    ResetExchangeState(run.exchange);
    ReadExchangeBytes(run.exchange, HostFile(demo, at));
    run.store.rows[0] = SlopeRow(demo.rhythm);
    run.store.selectedRow = 1;
    VectorSink sink;
    DrawPattern(run, RunMode::SlopeBetween, sink);
    for (const std::string& line : sink.lines) reader.ReadLine(line);
    reader.AddShape({LabelShape{{at.x + 30, at.y + 14}, 2.0, demo.title}, kLabelColor});
}

}  // namespace

Scene BuildSlopeGallery() {
    SceneReader reader;
    const std::vector<SlopeDemo> demos = Demos();
    for (std::size_t i = 0; i < demos.size(); ++i) {
        const Point at{static_cast<double>(i % 2) * kDemoPitchX,
                       -static_cast<double>(i / 2) * kDemoPitchY};
        AddDemo(reader, demos[i], at);
    }
    Scene scene = reader.TakeScene();
    scene.pixelsPerUnit = kGalleryPixelsPerUnit;
    return scene;
}

}  // namespace tesra::svg

// The own-figure sheet: registered by mode 5's code, drawn by mode 3's.
#include "tools/svg/own_gallery.h"

#include <cstdint>
#include <string_view>

#include "app/run.h"
#include "app/run_register.h"
#include "exchange/line_sink.h"
#include "exchange/number_format.h"
#include "exchange/reader.h"
#include "exchange/writer.h"
#include "figures/figure_cell.h"
#include "figures/own_figures.h"
#include "tools/svg/gallery.h"
#include "tools/svg/scene_reader.h"

namespace tesra::svg {
namespace {

constexpr Rgb kLabelColor = 0x333333;
constexpr std::int32_t kBlackPen = 2;
constexpr double kTitleHeight = 2.0;
// A site with two rounded corners, as a range selection brings it.
constexpr double kSiteW = 60.0, kSiteH = 36.0, kCornerR = 9.0;
constexpr double kSitesTop = -24.0;

std::string Joined(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

ExchangeState Selection(const std::vector<std::string>& lines) {
    ExchangeState ex;
    ResetExchangeState(ex);
    ReadExchangeBytes(ex, "hq\r\nlg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\n" + Joined(lines));
    return ex;
}

void AddLabel(SceneReader& reader, Point at, double height, std::string text) {
    reader.AddShape({LabelShape{at, height, std::move(text)}, kLabelColor});
}

void ReadLines(SceneReader& reader, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) reader.ReadLine(line);
}

// The figure in a cell of its own size, framed, through the writer a run uses.
void AddTile(SceneReader& reader, const OwnFigureSet& set, const OwnFigure& f, double x,
             const std::string& title) {
    reader.AddShape({FrameShape{{x, 0}, {x + f.width, f.height}}, 0});
    ExchangeState state;
    VectorSink sink;
    Writer writer(state, sink);
    writer.WriteLineColor(kBlackPen, 0);
    FigureCell cell{{x, 0}, {1, 0}, {0, 1}, f.width, f.height, {}, 0, 0};
    cell.C = cell.At(f.width / 2, f.height / 2);
    DrawOwnFigure(set, f.kind, cell, {}, {}, kBlackPen, writer);
    ReadLines(reader, sink.lines);
    AddLabel(reader, {x + f.width / 2, -2.0}, kGalleryLabelHeight,
             std::to_string(f.kind) + " " + title);
}

std::string Number(double v) {
    std::string s;
    AppendReal(s, v);
    return s;
}

std::string Line(double x1, double y1, double x2, double y2) {
    return Number(x1) + " " + Number(y1) + " " + Number(x2) + " " + Number(y2);
}

std::string Arc(double cx, double cy, double r, double from, double to) {
    return "ci " + Number(cx) + " " + Number(cy) + " " + Number(r) + " " + Number(from) + " " +
           Number(to) + " 1 0";
}

std::vector<std::string> Site(Point o) {
    const double x0 = o.x, y0 = o.y, x1 = o.x + kSiteW, y1 = o.y + kSiteH;
    return {"lc5",
            Line(x0, y0, x1 - kCornerR, y0),
            Arc(x1 - kCornerR, y0 + kCornerR, kCornerR, 270, 360),
            Line(x1, y0 + kCornerR, x1, y1),
            Line(x1, y1, x0 + kCornerR, y1),
            Arc(x0 + kCornerR, y1 - kCornerR, kCornerR, 90, 180),
            Line(x0, y1 - kCornerR, x0, y0)};
}

struct SiteDemo {
    std::string title;
    PatternRow row;
};

std::vector<SiteDemo> SiteDemos() {
    PatternRow tree{.figureKind = 107,
                    .width = 6,
                    .height = 5,
                    .placement = kPlaceEvenly,
                    .interval = 2,
                    .basePoint = kBaseBottom};
    PatternRow fence{.figureKind = 108,
                     .width = 5,
                     .height = 4.5,
                     .placement = kPlaceEvenly,
                     .interval = 0,
                     .basePoint = kBaseBottom};
    PatternRow mark{.figureKind = 109,
                    .width = 8,
                    .height = 2,
                    .placement = kPlaceEvenly,
                    .interval = 4,
                    .basePoint = kBaseMiddle};
    mark.fit = kFitUniform;
    return {{"樹木 6×5, 基準点「下」: 内側", tree},
            {"フェンス 5×4.5, 間隔 0", fence},
            {"境界標 8×2, 縦横同じ倍率で中央に", mark}};
}

}  // namespace

std::vector<OwnFigureSample> OwnFigureSamples() {
    return {
        {"樹木", {"0 0 12 0", "6 0 6 3", "ci 6 6.5 3.5", "lc10 2129952", "sl 5 0 7 0 6 1.5"}},
        {"フェンス",
         {"0 2 10 2", "0 6 10 6", "lc10 4210752", "sl 0 0 1 0 1 8 0 8", "sl 0 8 1 8 0.5 9"}},
        {"境界標",
         {"0 0 8 0", "ci 4 1.5 1.5", "lc10 255", "sc 4 1.5 1.5 1 0 0 3.14159265358979 5", "lc2",
          "ci 4 1.5 3 30 150 0.5 0"}},
    };
}

Scene BuildOwnFigureGallery() {
    FigureLibrary library;
    const std::vector<OwnFigureSample> samples = OwnFigureSamples();
    std::vector<std::string> titles;
    for (const OwnFigureSample& s : samples)
        if (RegisterSelection(Selection(s.lines), library).outcome == RegisterOutcome::Registered)
            titles.push_back(s.title);

    SceneReader reader;
    AddLabel(reader, {kOwnTilePitch * 1.5, 16.0}, kTitleHeight, "自分の図形（モード 5 で登録）");
    for (std::size_t i = 0; i < library.set.figures.size(); ++i)
        AddTile(reader, library.set, library.set.figures[i], kOwnTilePitch * static_cast<double>(i),
                titles[i]);

    const std::vector<SiteDemo> demos = SiteDemos();
    for (std::size_t i = 0; i < demos.size(); ++i) {
        const Point o{(kSiteW + 10.0) * static_cast<double>(i), kSitesTop - kSiteH};
        RunContext run;
        run.exchange = Selection(Site(o));
        run.store.rows[0] = demos[i].row;
        run.store.selectedRow = 1;
        run.ownFigures = library.set;
        VectorSink sink;
        DrawPattern(run, RunMode::AlongSelection, sink);
        ReadLines(reader, sink.lines);
        AddLabel(reader, {o.x + kSiteW / 2, kSitesTop + 4.0}, kGalleryLabelHeight * 1.2,
                 demos[i].title);
    }
    Scene scene = reader.TakeScene();
    scene.pixelsPerUnit = kGalleryPixelsPerUnit;
    return scene;
}

}  // namespace tesra::svg

#include "tools/svg/gallery.h"

#include <string>
#include <string_view>
#include <vector>

#include "app/run.h"
#include "exchange/line_sink.h"
#include "exchange/writer.h"
#include "figures/figures.h"
#include "tools/svg/scene_reader.h"

namespace tesra::svg {

namespace {

constexpr Rgb kLabelColour = 0x333333;
constexpr double kLabelHeight = 1.3;
constexpr double kTitleHeight = 2.0;
constexpr std::int32_t kBlackPen = 2;
constexpr double kSheetWidth = (kGalleryColumns - 1) * kGalleryPitchX + kGalleryCellW;

FigureCell AxisAlignedCell(Point origin) {
    FigureCell cell;
    cell.O = origin;
    cell.eu = {1.0, 0.0};
    cell.ev = {0.0, 1.0};
    cell.W = kGalleryCellW;
    cell.H = kGalleryCellH;
    cell.C = cell.At(kGalleryCellW / 2.0, kGalleryCellH / 2.0);
    return cell;
}

void ReadLines(SceneReader& reader, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) reader.ReadLine(line);
}

void AddLabel(SceneReader& reader, Point at, double height, std::string text) {
    reader.AddShape({LabelShape{at, height, std::move(text)}, kLabelColour});
}

// One kind through the same writer a run uses, so the tile shows exactly the
// commands the host would receive; fills stay in the line colour.
void AddFigureTile(SceneReader& reader, std::int32_t kind) {
    const Point origin = GalleryCellOrigin(kind);
    ExchangeState state;
    VectorSink sink;
    Writer writer(state, sink);
    writer.WriteLineColor(kBlackPen, 0);
    DrawFigure(kind, AxisAlignedCell(origin), SolidStyle{}, writer);
    ReadLines(reader, sink.lines);

    const Point top = {origin.x + kGalleryCellW, origin.y + kGalleryCellH};
    reader.AddShape({FrameShape{origin, top}, 0});
    AddLabel(reader, {origin.x + kGalleryCellW / 2.0, origin.y - 1.6 * kLabelHeight},
             kLabelHeight, std::to_string(kind) + " " + std::string(FigureName(kind)));
}

struct PatternDemo {
    std::string title;
    PatternRow row;
    RunMode mode = RunMode::TwoPoints;
    std::vector<Point> points;
    bool solid = false;
    double titleY = 0.0;
};

PatternRow Row(std::int32_t kind, double w, double h, std::int32_t placement, double interval,
               std::int32_t upper, std::int32_t middle, std::int32_t lower) {
    PatternRow row;
    row.figureKind = kind;
    row.width = w;
    row.height = h;
    row.placement = placement;
    row.interval = interval;
    row.basePoint = 1;
    row.upperLine = upper;
    row.middleLine = middle;
    row.lowerLine = lower;
    return row;
}

std::string Title(const PatternRow& row, std::string_view what) {
    return std::string(FigureName(row.figureKind)) + "  " + std::string(what);
}

// A straight span across the sheet with its title above the band.
PatternDemo StraightDemo(std::string_view what, PatternRow row, double y, bool solid = false) {
    return {Title(row, what), row, RunMode::TwoPoints, {{0.0, y}, {kSheetWidth, y}}, solid,
            y + row.height / 2.0 + 1.5};
}

// A closed four-sided chain below top, with uneven corners so that the
// mitres differ from side to side.
PatternDemo ClosedChainDemo(std::string_view what, PatternRow row, double top) {
    const double y = top - 4.0;
    return {Title(row, what),
            row,
            RunMode::Chain,
            {{5.0, y - 45.0}, {75.0, y - 50.0}, {90.0, y - 5.0}, {20.0, y}, {5.0, y - 45.0}},
            false,
            top};
}

std::vector<PatternDemo> PatternDemos(double top) {
    constexpr double kStep = 14.0;
    return {
        StraightDemo("間隔指定 I=4, 上線・下線「間隔」", Row(20, 10, 6, 0, 4, 1, 0, 1), top),
        StraightDemo("均等配置 I=3, 上線・中線・下線「全長」", Row(38, 10, 6, 1, 3, 2, 2, 2),
                     top - kStep),
        StraightDemo("ソリッド任意色, 中線「全長」", Row(101, 10, 6, 0, 2, 0, 2, 0),
                     top - 2.0 * kStep, true),
        ClosedChainDemo("閉じた連続線の角, 上線・下線「全長」", Row(33, 6, 4, 1, 2, 2, 0, 2),
                        top - 3.0 * kStep),
    };
}

// A full drawing run over the demo's points, with the pattern in row 1.
void AddPattern(SceneReader& reader, const PatternDemo& demo) {
    RunContext run;
    for (std::size_t i = 0; i < demo.points.size() && i + 1 < run.exchange.points.size(); ++i)
        run.exchange.points[i + 1] = {true, demo.points[i].x, demo.points[i].y, PointKind::Plain};
    run.store.rows[0] = demo.row;
    run.store.selectedRow = 1;
    run.store.solidColorSwitch = demo.solid;
    run.store.solidColor = 0x2050E0;  // 0x00BBGGRR: a brick red
    VectorSink sink;
    DrawPattern(run, demo.mode, sink);
    ReadLines(reader, sink.lines);
    AddLabel(reader, {kSheetWidth / 2.0, demo.titleY}, kTitleHeight, demo.title);
}

}  // namespace

Point GalleryCellOrigin(std::int32_t kind) {
    const int column = kind % kGalleryColumns;
    const int row = kind / kGalleryColumns;
    return {column * kGalleryPitchX, -row * kGalleryPitchY};
}

Scene BuildGallery() {
    SceneReader reader;
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) AddFigureTile(reader, kind);

    const double gridBottom = GalleryCellOrigin(kFigureKindCount - 1).y - kGalleryPitchY;
    for (const PatternDemo& demo : PatternDemos(gridBottom - 8.0)) AddPattern(reader, demo);
    return reader.TakeScene();
}

}  // namespace tesra::svg

// The gallery: every figure kind and whole patterns on one sheet.
#include "tools/svg/gallery.h"

#include <string>
#include <string_view>
#include <vector>

#include "app/run.h"
#include "exchange/line_sink.h"
#include "exchange/number_format.h"
#include "exchange/reader.h"
#include "exchange/writer.h"
#include "figures/figures.h"
#include "geom/helpers.h"
#include "tools/svg/scene_reader.h"

namespace tesra::svg {

namespace {

constexpr Rgb kLabelColor = 0x333333;
constexpr double kLabelHeight = kGalleryLabelHeight;
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
    reader.AddShape({LabelShape{at, height, std::move(text)}, kLabelColor});
}

// One kind through the same writer a run uses, so the tile shows exactly the
// commands the host would receive; fills stay in the line color. The frame
// goes first, beneath: a figure drawn on its frame's edge stays visible.
void AddFigureTile(SceneReader& reader, std::int32_t kind) {
    const Point origin = GalleryCellOrigin(kind);
    const Point top = {origin.x + kGalleryCellW, origin.y + kGalleryCellH};
    reader.AddShape({FrameShape{origin, top}, 0});

    ExchangeState state;
    VectorSink sink;
    Writer writer(state, sink);
    writer.WriteLineColor(kBlackPen, 0);
    DrawFigure(kind, AxisAlignedCell(origin), SolidStyle{}, writer);
    ReadLines(reader, sink.lines);

    AddLabel(reader, {origin.x + kGalleryCellW / 2.0, origin.y - 1.6 * kLabelHeight}, kLabelHeight,
             TileLabel(kind));
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
    return {Title(row, what),          row, RunMode::TwoPoints, {{0.0, y}, {kSheetWidth, y}}, solid,
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

// Patterns along a selection: a boundary of straight sides with two rounded
// corners (quarter arcs) and a circular bed inside, as mode "3" draws them.
struct AlongDemo {
    std::string title;
    PatternRow row;
    Point origin;  // lower-left corner of the boundary
};

constexpr double kBoundaryW = 55.0, kBoundaryH = 32.0, kCornerR = 8.0, kBedR = 6.0;

std::string ElementLine(std::string keyword, std::initializer_list<double> values) {
    for (double v : values) {
        if (!keyword.empty()) keyword += ' ';
        AppendReal(keyword, v);
    }
    return keyword + "\r\n";
}

// The host's lines after "#": the sides in file order do not follow the
// boundary round, as in a real selection; the arcs run counter-clockwise.
std::string RoundedBoundary(Point o) {
    const double x0 = o.x, y0 = o.y, x1 = o.x + kBoundaryW, y1 = o.y + kBoundaryH;
    return "lg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\nlc5\r\n" +
           ElementLine("", {x0, y0, x1 - kCornerR, y0}) +
           ElementLine("", {x0 + kCornerR, y1, x1, y1}) +
           ElementLine("", {x1, y0 + kCornerR, x1, y1}) +
           ElementLine("", {x0, y1 - kCornerR, x0, y0}) +
           ElementLine("ci", {x1 - kCornerR, y0 + kCornerR, kCornerR, 270, 360, 1, 0}) +
           ElementLine("ci", {x0 + kCornerR, y1 - kCornerR, kCornerR, 90, 180, 1, 0}) + "lc3\r\n" +
           ElementLine("ci", {x0 + kBoundaryW / 2.0, y0 + kBoundaryH / 2.0, kBedR});
}

PatternRow AlongRow(std::int32_t kind, double w, double h, std::int32_t placement, double interval,
                    std::int32_t base, std::int32_t upper, std::int32_t middle,
                    std::int32_t lower) {
    PatternRow row = Row(kind, w, h, placement, interval, upper, middle, lower);
    row.basePoint = base;
    return row;
}

AlongDemo Along(const PatternRow& row, std::string_view what, Point origin) {
    return {Title(row, what), row, origin};
}

std::vector<AlongDemo> AlongDemos(double top) {
    const double left = 0.0, right = kSheetWidth - kBoundaryW;
    const double y1 = top - kBoundaryH - 12.0, y2 = y1 - kBoundaryH - 18.0;
    return {
        Along(AlongRow(49, 2.4, 2.4, 0, 1, 2, 2, 0, 2), "基準点「下」: 内側, 上線・下線「全長」",
              {left, y1}),
        Along(AlongRow(26, 3, 2.5, 0, 1.5, 0, 0, 0, 2), "基準点「上」: 外側, 下線「全長」",
              {right, y1}),
        Along(AlongRow(79, 4, 2, 1, 0, 1, 0, 1, 0), "基準点「中」, 均等配置, 中線「間隔」",
              {left, y2}),
        Along(AlongRow(101, 3, 2, 0, 1, 2, 2, 0, 0), "ソリッド任意色, 上線「全長」", {right, y2}),
    };
}

void AddAlongPattern(SceneReader& reader, const AlongDemo& demo, bool solid) {
    RunContext run;
    ResetExchangeState(run.exchange);
    ReadExchangeBytes(run.exchange, RoundedBoundary(demo.origin));
    run.store.rows[0] = demo.row;
    run.store.selectedRow = 1;
    run.store.solidColorSwitch = solid;
    run.store.solidColor = 0x2050E0;
    VectorSink sink;
    DrawPattern(run, RunMode::AlongSelection, sink);
    ReadLines(reader, sink.lines);
    AddLabel(reader, {demo.origin.x + kBoundaryW / 2.0, demo.origin.y + kBoundaryH + 5.0},
             kLabelHeight * 1.2, demo.title);
}

// The three arrangements side by side on the same boundaries: a rectangle
// with one rounded corner, a 36-gon and a circle, selected as in mode "3".
constexpr double kCompareW = 36.0, kCompareH = 26.0, kCompareR = 8.0, kComparePitchX = 43.0;

std::string OneRoundedCorner(Point o) {
    const double x0 = o.x, y0 = o.y, x1 = o.x + kCompareW, y1 = o.y + kCompareH;
    return "lg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\nlc5\r\n" + ElementLine("", {x0, y0, x1, y0}) +
           ElementLine("", {x1, y0, x1, y1 - kCompareR}) +
           ElementLine("ci", {x1 - kCompareR, y1 - kCompareR, kCompareR, 0, 90, 1, 0}) +
           ElementLine("", {x1 - kCompareR, y1, x0, y1}) + ElementLine("", {x0, y1, x0, y0});
}

std::string ThirtySixGon(Point o) {
    const Point centre = {o.x + kCompareW / 2.0, o.y + kCompareH / 2.0};
    const double r = kCompareH / 2.0;
    std::string lines = "lg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\nlc5\r\n";
    for (int i = 0; i < 36; ++i) {
        const Point a = tesra::Along(centre, r, i * kPi / 18),
                    b = tesra::Along(centre, r, (i + 1) * kPi / 18);
        lines += ElementLine("", {a.x, a.y, b.x, b.y});
    }
    return lines;
}

std::string Circle(Point o) {
    return "lg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\nlc5\r\n" +
           ElementLine("ci", {o.x + kCompareW / 2.0, o.y + kCompareH / 2.0, kCompareH / 2.0});
}

void AddArrangements(SceneReader& reader, double top) {
    constexpr std::pair<std::int32_t, const char*> kArrangements[] = {
        {kArrangePerSide, "辺ごと"}, {kArrangeThrough, "通し"}, {kArrangeCorners, "角に合わせる"}};
    std::string (*const boundaries[])(Point) = {OneRoundedCorner, ThirtySixGon, Circle};
    PatternRow row = AlongRow(49, 2.4, 2.4, 0, 1, 2, 2, 0, 2);
    row.side = kSideInside;
    for (std::size_t column = 0; column < std::size(kArrangements); ++column) {
        row.arrangement = kArrangements[column].first;
        const double x = static_cast<double>(column) * kComparePitchX;
        AddLabel(reader, {x + kCompareW / 2.0, top - 3.0}, kLabelHeight * 1.2,
                 std::string("並べ方「") + kArrangements[column].second + "」");
        for (std::size_t i = 0; i < std::size(boundaries); ++i) {
            const Point origin = {
                x, top - 8.0 - kCompareH - static_cast<double>(i) * (kCompareH + 8.0)};
            RunContext run;
            ResetExchangeState(run.exchange);
            ReadExchangeBytes(run.exchange, boundaries[i](origin));
            run.store.rows[0] = row;
            run.store.selectedRow = 1;
            VectorSink sink;
            DrawPattern(run, RunMode::AlongSelection, sink);
            ReadLines(reader, sink.lines);
        }
    }
}

}  // namespace

std::string TileLabel(std::int32_t kind) {
    std::string label = std::to_string(kind) + " " + std::string(FigureName(kind));
    for (std::int32_t other = 0; other < kFigureKindCount; ++other)
        if (other != kind && FigureName(other) == FigureName(kind))
            label += " (=" + std::to_string(other) + ")";
    return label;
}

Point GalleryCellOrigin(std::int32_t kind) {
    const int column = kind % kGalleryColumns;
    const int row = kind / kGalleryColumns;
    return {column * kGalleryPitchX, -row * kGalleryPitchY};
}

Scene BuildGallery() {
    SceneReader reader;
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) AddFigureTile(reader, kind);

    const double gridBottom = GalleryCellOrigin(kFigureKindCount - 1).y - kGalleryPitchY;
    const double patternsTop = gridBottom - 8.0;
    for (const PatternDemo& demo : PatternDemos(patternsTop)) AddPattern(reader, demo);

    const double alongTop = patternsTop - 3.0 * 14.0 - 62.0;
    AddLabel(reader, {kSheetWidth / 2.0, alongTop}, kTitleHeight,
             "範囲選択した線・円弧・円に沿って（モード 3）");
    const std::vector<AlongDemo> along = AlongDemos(alongTop);
    for (std::size_t i = 0; i < along.size(); ++i)
        AddAlongPattern(reader, along[i], i + 1 == along.size());

    const double compareTop = alongTop - 2.0 * kBoundaryH - 40.0;
    AddLabel(reader, {kSheetWidth / 2.0, compareTop}, kTitleHeight,
             "並べ方の比べ（○, 基準点「下」, 帯の側「内側」, 上線・下線「全長」）");
    AddArrangements(reader, compareTop - 2.0);
    Scene scene = reader.TakeScene();
    scene.pixelsPerUnit = kGalleryPixelsPerUnit;
    return scene;
}

}  // namespace tesra::svg

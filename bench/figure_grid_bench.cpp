// The figure chooser with a large library of own figures: 100 figures of
// 2000 lines each. What one paint of the whole grid costs when its pictures
// are kept (BM_GridPaintKept: the contents grouped, every cell's picture
// fetched and flattened as the painter does) against the floor of flattening
// the same pictures alone (BM_GridFlattenOnly). Building every picture once,
// as on the first paint after a library is loaded, is shown beside it.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "figures/figures.h"
#include "settings/dialog/figure_grid.h"
#include "settings/dialog/preview.h"

namespace tesra {
namespace {

constexpr int kOwnFigures = 100;
constexpr int kLinesEach = 2000;
constexpr unsigned kDpi = 120;

// A figure of many short lines: a zigzag across a 40 × 20 box.
OwnFigure ManyLines(std::int32_t kind) {
    OwnFigure figure{kind, "figure " + std::to_string(kind), 40.0, 20.0, {}};
    for (int i = 0; i < kLinesEach; ++i) {
        const double x0 = 40.0 * i / kLinesEach, x1 = 40.0 * (i + 1) / kLinesEach;
        const double y0 = 10 + 9 * std::sin(i * 0.37), y1 = 10 + 9 * std::sin((i + 1) * 0.37);
        figure.elements.push_back(MakeOwnElement(OwnElement::Shape::Line, 1, {x0, y0, x1, y1}));
    }
    return figure;
}

struct LargeLibrary {
    OwnFigureSet set;
    std::vector<GridCell> items;

    LargeLibrary() {
        for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind)
            items.push_back({kind, std::string(FigureName(kind)), false, true});
        for (int i = 0; i < kOwnFigures; ++i) {
            const std::int32_t kind = kFirstOwnFigureKind + i;
            set.figures.push_back(ManyLines(kind));
            items.push_back({kind, set.figures.back().name, true, true});
        }
    }
};

const LargeLibrary& Library() {
    static const LargeLibrary library;
    return library;
}

// Every cell's picture box, in the order of the grid's cells.
struct GridBoxes {
    std::vector<std::int32_t> kinds;
    std::vector<PreviewBox> boxes;
};
GridBoxes Boxes(const FigureGridContent& content) {
    const FigureGridLayout layout = LayOutFigureGrid(content, kDpi, 100000);
    GridBoxes out;
    const std::vector<const GridCell*> cells = content.Cells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out.kinds.push_back(cells[i]->kind);
        out.boxes.push_back(GridPictureBox(layout.cells[i], kDpi));
    }
    return out;
}

// As the chooser's painter does: every primitive flattened and moved to its box.
std::size_t Flattened(const PreviewDrawing& drawing, Point offset = {}) {
    std::size_t points = 0;
    for (const PreviewPrimitive& p : drawing)
        for (auto& loop : Flatten(p, kCurveTolerance).loops) {
            for (Point& q : loop) q = {q.x + offset.x, q.y + offset.y};
            points += loop.size();
        }
    return points;
}

void BM_GridPaintKept(benchmark::State& state) {
    FigurePictures pictures(&Library().set);
    {
        const GridBoxes warm = Boxes(GroupFigures(Library().items, 49));
        for (std::size_t i = 0; i < warm.kinds.size(); ++i)
            pictures.Picture(warm.kinds[i], warm.boxes[i]);
    }
    for (auto _ : state) {
        const GridBoxes grid = Boxes(GroupFigures(Library().items, 49));
        std::size_t points = 0;
        for (std::size_t i = 0; i < grid.kinds.size(); ++i) {
            const PreviewBox& box = grid.boxes[i];
            points += Flattened(pictures.AtOrigin(grid.kinds[i], box.width, box.height),
                                {box.left, box.top});
        }
        benchmark::DoNotOptimize(points);
    }
}
BENCHMARK(BM_GridPaintKept)->Unit(benchmark::kMillisecond);

void BM_GridFlattenOnly(benchmark::State& state) {
    const GridBoxes grid = Boxes(GroupFigures(Library().items, 49));
    std::vector<PreviewDrawing> drawn;
    for (std::size_t i = 0; i < grid.kinds.size(); ++i)
        drawn.push_back(FigurePicture(grid.kinds[i], grid.boxes[i], &Library().set));
    for (auto _ : state) {
        std::size_t points = 0;
        for (std::size_t i = 0; i < drawn.size(); ++i)
            points += Flattened(drawn[i], {grid.boxes[i].left, grid.boxes[i].top});
        benchmark::DoNotOptimize(points);
    }
}
BENCHMARK(BM_GridFlattenOnly)->Unit(benchmark::kMillisecond);

// The first paint after loading: every picture built.
void BM_GridPicturesBuilt(benchmark::State& state) {
    const GridBoxes grid = Boxes(GroupFigures(Library().items, 49));
    for (auto _ : state) {
        FigurePictures pictures(&Library().set);
        std::size_t primitives = 0;
        for (std::size_t i = 0; i < grid.kinds.size(); ++i)
            primitives += pictures.Picture(grid.kinds[i], grid.boxes[i]).size();
        benchmark::DoNotOptimize(primitives);
    }
}
BENCHMARK(BM_GridPicturesBuilt)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesra

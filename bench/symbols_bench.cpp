// Opening the symbol chooser over a library of 1,000 symbols (read, parse,
// build the grid's cells and lay them out) against reading the same file's
// bytes alone. bench_main.cpp holds the ratio to its limit; the absolute time
// must stay well under 0.3 s.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench_process.h"
#include "exchange/atomic_file.h"
#include "settings/dialog/figure_grid.h"
#include "settings/dialog/symbol_grid.h"
#include "settings/symbol_library.h"

namespace tesra::bench {
namespace {

namespace fs = std::filesystem;

const fs::path& ThousandSymbols() {
    static const fs::path path = [] {
        const fs::path p = fs::path(BENCH_WORK_DIR) / "symbols" / "tesra_symbols.txt";
        fs::create_directories(p.parent_path());
        SymbolLibrary lib;
        for (int i = 0; i < 1000; ++i) {
            Symbol s;
            s.name = "symbol " + std::to_string(i);
            s.description = "a description of some length, as offices write them";
            s.row = {.figureKind = i % 107, .width = 1.5, .height = 0.75, .interval = 0.25};
            s.row.middleLineType = 5;
            s.row.figureColor = 3;
            lib.symbols.push_back(std::move(s));
        }
        SaveSymbolLibrary(lib, p);
        return p;
    }();
    return path;
}

std::string Same(void*, std::string_view text) { return std::string(text); }

// What opening the chooser does before it paints: read, parse, lay out.
struct OpenedGrid {
    SymbolGridContent content;
    FigureGridLayout layout;
};
OpenedGrid OpenGrid(const fs::path& path, const OwnFigureSet& none) {
    const SymbolLibrary lib = LoadSymbolLibrary(path);
    SymbolGridContent content = SymbolGridOf(lib, none, Same, nullptr, true);
    FigureGridLayout layout = LayOutFigureGrid(content.grid, 144, 2000);
    return {std::move(content), std::move(layout)};
}

void BM_SymbolGridOfAThousand(benchmark::State& state) {
    const fs::path& path = ThousandSymbols();
    const OwnFigureSet none;
    for (auto _ : state) {
        const OpenedGrid grid = OpenGrid(path, none);
        benchmark::DoNotOptimize(grid.layout.cells.data());
    }
}
BENCHMARK(BM_SymbolGridOfAThousand)->Unit(benchmark::kMillisecond);

// The same, and the pictures of the cells in view as the window paints them
// on opening (each a short band of the symbol's row in its pens).
void BM_SymbolGridWithPicturesInView(benchmark::State& state) {
    const fs::path& path = ThousandSymbols();
    const OwnFigureSet none;
    for (auto _ : state) {
        const OpenedGrid grid = OpenGrid(path, none);
        const FigureGridLayout& layout = grid.layout;
        for (std::size_t i = 0; i < layout.cells.size(); ++i) {
            if (layout.cells[i].top >= layout.viewHeight) break;
            const PreviewBox box = LayOutSymbolCell(layout.cells[i], 144).picture;
            const PreviewDrawing picture =
                SymbolPicture(grid.content.rows[i], {0, 0, box.width, box.height}, &none);
            benchmark::DoNotOptimize(picture.data());
        }
    }
}
BENCHMARK(BM_SymbolGridWithPicturesInView)->Unit(benchmark::kMillisecond);

void BM_ReadThousandSymbolsBytes(benchmark::State& state) {
    const fs::path& path = ThousandSymbols();
    for (auto _ : state) {
        std::string bytes;
        ReadFileBytes(path, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ReadThousandSymbolsBytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesra::bench

#pragma once
// Helpers shared by the test suites: scratch folders, file bytes, recording
// draw target.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/draw_target.h"
#include "exchange/element_store.h"
#include "exchange/exchange_state.h"
#include "figures/figure_cell.h"
#include "figures/pattern.h"

namespace tesra::test {

// A fresh folder under the system's temporary directory, removed at the end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// Joins lines with CR LF after each, as the host writes them.
std::string CrLf(const std::vector<std::string>& lines);
// The lines of `read` (CR LF or LF) that `saved` does not hold: what a save
// of a file read would lose.
std::vector<std::string> LinesLostIn(std::string_view read, std::string_view saved);
// The first lines of a store, the rest of its 113 lines "0" (rows left out
// read as 0 either way): a store the run takes as whole, not damaged.
std::vector<std::string> WholeStore(std::vector<std::string> firstLines);
// UTF-8 text to CP932 bytes, for the few Japanese strings tests need.
std::string Sjis(std::string_view utf8);

// The state a run starts from after reading these exchange-file bytes.
ExchangeState ReadExchange(std::string_view bytes);
// The same from lines given one by one, without their line ends.
ExchangeState ReadLines(const std::vector<std::string>& lines);

// Everything the host shows of each element, one text per element in input
// order: what must survive a selection being written back. Exact numbers;
// a solid's own color only where it is drawn in color 10.
std::vector<std::string> DescribeElements(const ElementStore& elements);

// A figure cell of W x H at origin, its span turned by thetaDeg.
FigureCell MakeCell(double w, double h, double thetaDeg = 0.0, Point origin = {});
// A span pointing up the y axis: u runs along +y and v along -x, exactly, so
// a swapped u/v or a lost sign shows, and straight lines compare bit for bit.
FigureCell QuarterTurnCell(double w = 10, double h = 6, Point origin = {100, 50});

// A row with every setting away from its default, the settings area's and the
// pens' included, each value one the store and the dialog keep as it is: what
// a test carries through a file or a dialog to see that nothing is lost.
PatternRow RowAwayFromDefaults();

// One draw call as a line of text with full precision, for exact comparisons.
class RecordingTarget final : public DrawTarget {
public:
    void EmitLine(Point a, Point b) override;
    void EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                 double tiltDeg) override;
    void EmitSolidTriangle(Point a, Point b, Point c) override;
    void EmitSolidQuad(Point a, Point b, Point c, Point d) override;
    void EmitSolidArc(std::int32_t code, Point centre, double r, double flatness, double tilt,
                      double angle1, double angle2) override;
    void EmitSolidRing(Point centre, double rOuter, double flatness, double tilt, double angle1,
                       double angle2, double rInner) override;
    void WriteSolidColor(std::int32_t rgb) override;
    void WriteLineColor(std::int32_t color, std::int32_t mode) override;

    struct Call {
        std::string op;  // "line", "arc", "tri", "quad", "sc", "so", "solidcolor", "linecolor"
        std::vector<double> values;  // in the order the call received them
    };
    std::vector<Call> calls;
};

using Calls = std::vector<RecordingTarget::Call>;

// What DrawFigure emits for one kind in one cell.
Calls Draw(std::int32_t kind, const FigureCell& cell, SolidStyle solid = {});

}  // namespace tesra::test

// Every suite knows the helpers by their short names.
namespace tesra {
using test::Calls;
using test::CrLf;
using test::Draw;
using test::MakeCell;
using test::QuarterTurnCell;
using test::ReadBytes;
using test::ReadExchange;
using test::RecordingTarget;
using test::ScratchDir;
using test::WriteBytes;
}  // namespace tesra

// The pen of each part of a row: every element is written in its part's pen
// (or the host's where the part keeps the current pen), attribute lines only
// where the pen changes, and rows without pens written as they always were.
#include "figures/pen_target.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "exchange/line_sink.h"
#include "figures/layout.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

constexpr std::int32_t kCircle = 49;      // "○": arcs only
constexpr std::int32_t kFilledDisc = 51;  // "●": a solid

constexpr double kHeight = 10;

// Two sides with a sharp corner: along x from the origin, then up along
// x = 100. The band stands on the left of the way (basePoint 下), so a guide
// line's offset from its side tells its part.
ElementPath Corner() {
    const std::vector<Point> points = {{}, {0, 0}, {100, 0}, {100, 100}};
    return ChainPath(points, 3);
}

std::optional<RowPart> GuidePartOfLine(double x1, double y1, double x2, double y2) {
    double offset;
    if (std::fabs(y1 - y2) < 1e-9)
        offset = y1;
    else if (std::fabs(x1 - x2) < 1e-9)
        offset = 100 - x1;
    else
        return std::nullopt;
    for (const auto& [v, part] : {std::pair{kHeight, RowPart::Upper},
                                  {kHeight / 2, RowPart::Middle},
                                  {0.0, RowPart::Lower}})
        if (std::fabs(offset - v) < 1e-6) return part;
    return std::nullopt;
}

struct PenCase {
    const char* what;
    std::int32_t figureKind;
    std::int32_t arrangement;
    std::array<std::int32_t, 3> guides;  // upper, middle, lower
    std::array<RowPen, kRowPartCount> pens;
    bool solidColor;  // the solid colour switch: solids in pen 10 and an RGB
    bool widths;      // the host passes widths (#zw)
};

// clang-format off
const PenCase kPenCases[] = {
    {"every part its own pen, each side apart", kCircle, kArrangePerSide, {2, 1, 2},
     {{{3, 5}, {2, 7}, {8, 2}, {1, 9}}}, false, false},
    {"only the figures, filled, along the run", kFilledDisc, kArrangeThrough, {1, 1, 1},
     {{{4, 3}, {}, {}, {}}}, false, false},
    {"only the middle line's type, corners, solid colour", kFilledDisc, kArrangeCorners, {2, 2, 2},
     {{{}, {}, {0, 5}, {}}}, true, false},
    {"the upper line's colour, widths passed", kCircle, kArrangePerSide, {2, 0, 1},
     {{{}, {6, 0}, {}, {}}}, false, true},
    {"numbers the host has no pen for are the current pen", kCircle, kArrangeThrough, {1, 2, 0},
     {{{12, -1}, {0, 3}, {99, 0}, {}}}, false, true},
};
// clang-format on

PatternRow RowOf(const PenCase& c) {
    PatternRow row{.figureKind = c.figureKind,
                   .interval = 5,
                   .basePoint = kBaseBottom,
                   .upperLine = c.guides[0],
                   .middleLine = c.guides[1],
                   .lowerLine = c.guides[2],
                   .arrangement = c.arrangement};
    row.figureColor = c.pens[0].color, row.figureLineType = c.pens[0].lineType;
    row.upperColor = c.pens[1].color, row.upperLineType = c.pens[1].lineType;
    row.middleColor = c.pens[2].color, row.middleLineType = c.pens[2].lineType;
    row.lowerColor = c.pens[3].color, row.lowerLineType = c.pens[3].lineType;
    return row;
}

ExchangeState Host(bool widths) {
    ExchangeState ex;
    ex.initial.lineColor = 2;
    ex.initial.lineType = 1;
    ex.initial.lineWidth = 3;
    ex.lwSeen = widths;
    return ex;
}

std::vector<std::string> Written(const PatternRow& row, const ExchangeState& ex, bool solidColor,
                                 bool throughPens) {
    VectorSink sink;
    Writer writer(ex, sink);
    writer.WriteInitialAttributes();
    LayoutInputs in{row, SolidStyle{solidColor, 0x00FF00}, ex.initial.lineColor};
    const ElementPath path = Corner();
    PenTarget pens(writer, row, ex.initial);
    LayOutPaths(in, std::span(&path, 1), throughPens ? pens.Target() : writer);
    return sink.lines;
}

std::vector<double> Numbers(const std::string& line) {
    std::vector<double> v;
    std::size_t at = line.find_first_of("-0123456789.");
    while (at != std::string::npos) {
        std::size_t end = line.find(' ', at);
        v.push_back(ParseFloat(line.substr(at, end - at)));
        at = end == std::string::npos ? end : line.find_first_not_of(' ', end);
    }
    return v;
}

TEST(PenTarget, EveryElementInItsPartsPenAndAttributeLinesOnlyWhereItChanges) {
    for (const PenCase& c : kPenCases) {
        SCOPED_TRACE(c.what);
        const ExchangeState ex = Host(c.widths);
        const PatternRow row = RowOf(c);
        std::map<std::string, std::int32_t> inForce;
        std::map<std::string, bool> sinceElement;  // an element since the key's last line
        std::map<RowPart, int> elementsOf;
        int elements = 0;
        const std::vector<std::string> lines = Written(row, ex, c.solidColor, true);
        for (const std::string& line : lines) {
            const std::string key = line.substr(0, 2);
            if (key == "lc" || key == "lt" || key == "lw" || key == "lg" || key == "ly") {
                const std::int32_t v = static_cast<std::int32_t>(Numbers(line.substr(2))[0]);
                EXPECT_TRUE(elements == 0 || sinceElement[key]) << "repeated " << line;
                EXPECT_TRUE(!inForce.contains(key) || inForce[key] != v || key == "lc")
                    << "no change " << line;
                inForce[key] = v;
                sinceElement[key] = false;
                continue;
            }
            ++elements;
            for (auto& [k, since] : sinceElement) since = true;
            const std::vector<double> v = Numbers(line);
            RowPart part = RowPart::Figures;
            if (line[0] != 'c' && line[0] != 's') {
                ASSERT_EQ(v.size(), 4u) << line;
                const auto guide = GuidePartOfLine(v[0], v[1], v[2], v[3]);
                ASSERT_TRUE(guide) << line;
                part = *guide;
            }
            ++elementsOf[part];
            const RowPen pen = c.pens[static_cast<std::size_t>(part)];
            const bool ownColor = pen.color >= 1 && pen.color <= 9;
            const bool solid = line[0] == 's';
            EXPECT_EQ(inForce["lc"], solid && c.solidColor ? kSolidColorPen
                                     : ownColor            ? pen.color
                                                           : ex.initial.lineColor)
                << line;
            if (solid) continue;
            EXPECT_EQ(inForce["lt"],
                      pen.lineType >= 1 && pen.lineType <= 9 ? pen.lineType : ex.initial.lineType)
                << line;
            if (c.widths) {
                EXPECT_EQ(inForce["lw"], ownColor ? 0 : ex.initial.lineWidth) << line;
            }
        }
        EXPECT_GT(elementsOf[RowPart::Figures], 0);
        for (std::size_t g = 0; g < 3; ++g)
            EXPECT_EQ(elementsOf[static_cast<RowPart>(g + 1)] > 0, c.guides[g] != kGuideNone) << g;
    }
}

// Rows whose every part keeps the current pen are written exactly as the
// writer alone writes them, whatever else the row sets.
TEST(PenTarget, RowsAtTheCurrentPenWriteWhatTheyAlwaysDid) {
    for (const PenCase& c : kPenCases) {
        SCOPED_TRACE(c.what);
        PatternRow row = RowOf(c);
        const PatternRow defaults;
        row.figureColor = defaults.figureColor, row.figureLineType = defaults.figureLineType;
        row.upperColor = defaults.upperColor, row.upperLineType = defaults.upperLineType;
        row.middleColor = defaults.middleColor, row.middleLineType = defaults.middleLineType;
        row.lowerColor = defaults.lowerColor, row.lowerLineType = defaults.lowerLineType;
        const ExchangeState ex = Host(c.widths);
        EXPECT_EQ(Written(row, ex, c.solidColor, true), Written(row, ex, c.solidColor, false));
    }
}

}  // namespace
}  // namespace tesra

// Turns the element lines of the exchange file into typed records. Each record
// takes its header (indicated mark, layer, color, type, width, flags) from
// the state at the moment its line is read; the indicated mark and the flags
// belong to one element only.

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

#include "exchange/element_store_parse.h"
#include "exchange/host_codes.h"
#include "geom/cp932.h"
#include "geom/helpers.h"
#include "geom/point.h"

namespace tesra {
namespace {

// Corners of an input solid within kTinyEps are one corner repeated: far
// tighter than the drawing tolerance, so that only a corner written twice is
// merged.
// Text and font names in a text record stay within the host's line limit.
constexpr std::size_t kMaxTextBytes = 255;

constexpr std::int32_t kDimensionTextDirection = 2;  // "cs"

double Float(const LineTokens& t, std::size_t i) { return ParseFloat(t[i]); }
std::int32_t Int(const LineTokens& t, std::size_t i) { return ParseInt(t[i]); }

// Corner k (from 0) of a solid line: tokens 2k+1, 2k+2.
Point Corner(const LineTokens& t, std::size_t k) {
    return {Float(t, 2 * k + 1), Float(t, 2 * k + 2)};
}

bool SameCorner(Point a, Point b) {
    return std::abs(a.x - b.x) <= kTinyEps && std::abs(a.y - b.y) <= kTinyEps;
}

// At most 255 bytes, and never half of a double-byte character.
std::string CutText(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size()) {
        const bool pair =
            cp932::IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size();
        const std::size_t width = pair ? 2 : 1;
        if (end + width > kMaxTextBytes) break;
        end += width;
    }
    return std::string(text.substr(0, end));
}

ElementHeader HeaderNow(const ExchangeState& s, std::int32_t color) {
    return {s.pendingIndicated, s.cur.layerGroup, s.cur.layer,   color,
            s.cur.lineType,     s.cur.lineWidth,  s.pendingFlags};
}

ElementHeader HeaderNow(const ExchangeState& s) { return HeaderNow(s, s.cur.lineColor); }

// The indicated mark and flags were taken into the header: they are used up.
void ConsumePending(ExchangeState& s) {
    s.pendingIndicated = 0;
    s.pendingFlags = 0;
}

template <class T>
void Store(ExchangeState& s, ElementKind kind, std::vector<T>& list, T record) {
    list.push_back(std::move(record));
    s.elements.order.push_back({kind, static_cast<std::int32_t>(list.size() - 1)});
    ConsumePending(s);
}

}  // namespace

void StoreCircleLine(ExchangeState& s, const LineTokens& t) {
    Store(s, ElementKind::Circle, s.elements.circles,
          JwwEntCircle{HeaderNow(s), Float(t, 1), Float(t, 2), Float(t, 3)});
}

void StoreArcLine(ExchangeState& s, const LineTokens& t) {
    JwwEntArc arc{HeaderNow(s), {}};
    for (std::size_t i = 0; i < std::size(arc.values); ++i) arc.values[i] = Float(t, i + 1);
    Store(s, ElementKind::Arc, s.elements.arcs, std::move(arc));
}

namespace {

// Kinds 1-10 take their sizes and color from the table; any other kind uses
// the sizes given with "cn0".
JwwEntText TextRecord(const ExchangeState& s, std::int32_t direction, const LineTokens& t) {
    const std::int32_t kindNumber = s.cur.textKind;
    const bool inTable =
        kindNumber >= 1 && kindNumber < static_cast<std::int32_t>(s.textKinds.size());
    const TextKind kind =
        inTable ? s.textKinds[static_cast<std::size_t>(kindNumber)]
                : TextKind{s.cur.cn0Width, s.cur.cn0Height, s.cur.cn0Spacing, s.cur.cn0Color};
    JwwEntText text;
    text.header = HeaderNow(s, kind.color);
    text.direction = direction;
    text.textColor = s.cur.textColor;
    text.textKind = kindNumber;
    text.width = kind.width;
    text.height = kind.height;
    text.spacing = kind.spacing;
    for (std::size_t i = 0; i < std::size(text.values); ++i) text.values[i] = Float(t, i + 1);
    text.fontName = CutText(s.cur.fontName);
    text.text = CutText(t[5]);
    return text;
}

std::int32_t TextDirection(std::string_view keyword) {
    const auto* at = std::find(kTextKeywords.begin(), kTextKeywords.end(), keyword);
    return static_cast<std::int32_t>(at - kTextKeywords.begin());
}

}  // namespace

// A "cs" text right after "msg" and its line is the text of a dimension.
void StoreTextLine(ExchangeState& s, const LineTokens& t) {
    const std::int32_t direction = TextDirection(t[0]);
    if (s.afterMsg && direction == kDimensionTextDirection) {
        Store(s, ElementKind::Dimension, s.elements.dimensions,
              JwwEntDimension{s.elements.pendingDimensionLine, TextRecord(s, direction, t)});
    } else {
        Store(s, ElementKind::Text, s.elements.texts, TextRecord(s, direction, t));
    }
}

void StorePointLine(ExchangeState& s, const LineTokens& t) {
    Store(s, ElementKind::Point, s.elements.points,
          JwwEntPoint{HeaderNow(s, s.cur.pointNumber), Float(t, 1), Float(t, 2), s.cur.lineColor});
}

void StorePointWithDataLine(ExchangeState& s, const LineTokens& t) {
    Store(s, ElementKind::PointWithData, s.elements.pointsWithData,
          JwwEntPointData{HeaderNow(s, s.cur.pointNumber), Float(t, 1), Float(t, 2), Float(t, 3),
                          Float(t, 4), Int(t, 5), s.cur.lineColor});
}

void StoreBlockLine(ExchangeState& s, const LineTokens& t) {
    Store(s, ElementKind::Block, s.elements.blocks,
          TJwwEntBlk{HeaderNow(s), Float(t, 1), Float(t, 2), std::string(t[3])});
}

namespace {

void StoreSolid(ExchangeState& s, std::initializer_list<Point> corners) {
    JwwEntSolid solid{HeaderNow(s), s.cur.solidColor, {}, 0};
    solid.values.reserve(2 * corners.size());
    for (Point p : corners) {
        solid.values.push_back(p.x);
        solid.values.push_back(p.y);
    }
    switch (corners.size()) {
        case 2: return Store(s, ElementKind::Solid2, s.elements.solids2, std::move(solid));
        case 3: return Store(s, ElementKind::Solid3, s.elements.solids3, std::move(solid));
        default: return Store(s, ElementKind::Solid4, s.elements.solids4, std::move(solid));
    }
}

// A repeated corner makes the solid a smaller one.
void StoreThreeCornerSolid(ExchangeState& s, Point c1, Point c2, Point c3) {
    if (SameCorner(c1, c2)) return StoreSolid(s, {c1, c3});
    if (SameCorner(c2, c3)) return StoreSolid(s, {c1, c2});
    StoreSolid(s, {c1, c2, c3});
}

void StoreFourCornerSolid(ExchangeState& s, Point c1, Point c2, Point c3, Point c4) {
    if (SameCorner(c1, c2) && SameCorner(c1, c3)) return StoreSolid(s, {c1, c4});
    if (SameCorner(c2, c3) && SameCorner(c2, c4)) return StoreSolid(s, {c1, c2});
    if (SameCorner(c1, c2) && SameCorner(c3, c4)) return StoreSolid(s, {c1, c3});
    if (SameCorner(c4, c1) || SameCorner(c4, c2) || SameCorner(c4, c3)) {
        return StoreSolid(s, {c1, c2, c3});
    }
    if (SameCorner(c3, c1) || SameCorner(c3, c2)) return StoreSolid(s, {c1, c2, c4});
    if (SameCorner(c2, c1)) return StoreSolid(s, {c1, c3, c4});
    StoreSolid(s, {c1, c2, c3, c4});
}

}  // namespace

void StoreSolid2Line(ExchangeState& s, const LineTokens& t) {
    StoreSolid(s, {Corner(t, 0), Corner(t, 1)});
}

void StoreSolid3Line(ExchangeState& s, const LineTokens& t) {
    StoreThreeCornerSolid(s, Corner(t, 0), Corner(t, 1), Corner(t, 2));
}

void StoreSolid4Line(ExchangeState& s, const LineTokens& t) {
    StoreFourCornerSolid(s, Corner(t, 0), Corner(t, 1), Corner(t, 2), Corner(t, 3));
}

// "sc"/"se": seven numbers and a code; "so"/"sg": eight numbers.
void StoreValueSolidLine(ExchangeState& s, const LineTokens& t) {
    const std::string_view keyword = t[0];
    const bool withCode = keyword == "sc" || keyword == "se";
    JwwEntSolid solid{HeaderNow(s), s.cur.solidColor, {}, withCode ? Int(t, 8) : 0};
    const std::size_t count = withCode ? 7 : 8;
    for (std::size_t i = 1; i <= count; ++i) solid.values.push_back(Float(t, i));
    auto& e = s.elements;
    if (keyword == "sc") return Store(s, ElementKind::SolidSc, e.solidsSc, std::move(solid));
    if (keyword == "se") return Store(s, ElementKind::SolidSe, e.solidsSe, std::move(solid));
    if (keyword == "so") return Store(s, ElementKind::SolidSo, e.solidsSo, std::move(solid));
    Store(s, ElementKind::SolidSg, e.solidsSg, std::move(solid));
}

// After "msg" the line waits for its "cs" text; otherwise it is a line, and
// after "pl" it belongs to the current polyline until "#" or another keyword
// ends it.
void StorePlainLine(ExchangeState& s, const LineTokens& t) {
    const double x1 = Float(t, 0), y1 = Float(t, 1), x2 = Float(t, 2), y2 = Float(t, 3);
    if (s.afterMsg) {
        s.elements.pendingDimensionLine = DimensionLine{HeaderNow(s), x1, y1, x2, y2};
        ConsumePending(s);
        return;
    }
    const std::int32_t polyline = s.inPolyline ? s.polylineCounter : 0;
    Store(s, ElementKind::Line, s.elements.lines,
          JwwEntLine{HeaderNow(s), polyline, x1, y1, x2, y2});
}

}  // namespace tesra

#pragma once
// The elements the user selected in the host, as the exchange file lists
// them: one typed record per element, each kind in its own list, and the
// order holding (kind, index) for every element in input order. Code that
// treats kinds differently visits each element (VisitElement) rather than
// switching on its kind.

#include <cstdint>
#include <string>
#include <vector>

namespace tesra {

struct ElementHeader {
    std::int32_t indicated = 0;
    std::int32_t layerGroup = 0;
    std::int32_t layer = 0;
    std::int32_t color = 0;  // line color; point number for points; text color for texts
    std::int32_t lineType = 0;
    std::int32_t lineWidth = 0;
    std::int32_t flags = 0;
};

enum class ElementKind : std::int32_t {
    Line = 1,
    Circle = 2,
    Arc = 3,
    Text = 4,
    Point = 5,
    PointWithData = 6,
    Dimension = 7,
    Block = 8,
    Solid2 = 9,
    Solid3 = 10,
    Solid4 = 11,
    SolidSc = 12,
    SolidSe = 13,
    SolidSo = 14,
    SolidSg = 15,
};

struct JwwEntLine {
    ElementHeader header;
    std::int32_t polyline = 0;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct JwwEntCircle {
    ElementHeader header;
    double x = 0, y = 0, r = 0;
};

struct JwwEntArc {
    ElementHeader header;
    double values[7] = {};
};

struct JwwEntText {
    ElementHeader header;
    std::int32_t direction = 0;  // 0 "ch" … 9 "c2"
    std::int32_t textColor = 0;
    std::int32_t textKind = 0;
    double width = 0, height = 0, spacing = 0;
    double values[4] = {};
    std::string fontName;  // CP932, at most 255 bytes
    std::string text;      // CP932, at most 255 bytes
};

struct JwwEntPoint {
    ElementHeader header;  // color holds the point number
    double x = 0, y = 0;
    std::int32_t lineColor = 1;  // the line color in force, so the point can be written back
};

struct JwwEntPointData {
    ElementHeader header;
    double x = 0, y = 0, a = 0, b = 0;
    std::int32_t code = 0;
    std::int32_t lineColor = 1;  // as for JwwEntPoint
};

struct DimensionLine {
    ElementHeader header{0, 0, 0, 1, 1, 0, 0};
    double x1 = 0, y1 = 0, x2 = 1.0, y2 = 0;
};

struct JwwEntDimension {
    DimensionLine line;
    JwwEntText text;
};

struct TJwwEntBlk {
    ElementHeader header;
    double x = 0, y = 0;
    std::string blockName;
};

struct JwwEntSolid {
    ElementHeader header;
    std::int32_t solidColor = 0;
    std::vector<double> values;  // 4, 6 or 8 corners' coordinates, or the sc/so values
    std::int32_t code = 0;       // "sc"/"se": token 8
};

struct ElementRef {
    ElementKind kind = ElementKind::Line;
    std::int32_t index = 0;  // in the list of its kind
};

// The seven kinds of solid share one record; their lines differ by keyword.
struct SolidElement {
    ElementKind kind;
    const JwwEntSolid& solid;
};

struct ElementStore {
    std::vector<JwwEntLine> lines;
    std::vector<JwwEntCircle> circles;
    std::vector<JwwEntArc> arcs;
    std::vector<JwwEntText> texts;
    std::vector<JwwEntPoint> points;
    std::vector<JwwEntPointData> pointsWithData;
    std::vector<JwwEntDimension> dimensions;
    std::vector<TJwwEntBlk> blocks;
    std::vector<JwwEntSolid> solids2, solids3, solids4, solidsSc, solidsSe, solidsSo, solidsSg;
    std::vector<ElementRef> order;
    DimensionLine pendingDimensionLine;

    void Clear() { *this = ElementStore{}; }

    const std::vector<JwwEntSolid>& Solids(ElementKind solidKind) const {
        switch (solidKind) {
            case ElementKind::Solid2: return solids2;
            case ElementKind::Solid3: return solids3;
            case ElementKind::Solid4: return solids4;
            case ElementKind::SolidSc: return solidsSc;
            case ElementKind::SolidSe: return solidsSe;
            case ElementKind::SolidSo: return solidsSo;
            default: return solidsSg;
        }
    }
};

// A visitor made of lambdas, one per record type it handles.
template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;  // for compilers without aggregate deduction

// Calls visit with the record that ref names: JwwEntLine … TJwwEntBlk, or a
// SolidElement for any solid. Every call must return the same type.
template <class Visitor>
decltype(auto) VisitElement(const ElementStore& store, ElementRef ref, Visitor&& visit) {
    const auto i = static_cast<std::size_t>(ref.index);
    switch (ref.kind) {
        case ElementKind::Line: return visit(store.lines[i]);
        case ElementKind::Circle: return visit(store.circles[i]);
        case ElementKind::Arc: return visit(store.arcs[i]);
        case ElementKind::Text: return visit(store.texts[i]);
        case ElementKind::Point: return visit(store.points[i]);
        case ElementKind::PointWithData: return visit(store.pointsWithData[i]);
        case ElementKind::Dimension: return visit(store.dimensions[i]);
        case ElementKind::Block: return visit(store.blocks[i]);
        default: return visit(SolidElement{ref.kind, store.Solids(ref.kind)[i]});
    }
}

}  // namespace tesra

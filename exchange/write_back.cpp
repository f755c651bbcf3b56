// The selected elements written back as the host wrote them, attributes included.
#include "exchange/write_back.h"

#include <optional>
#include <string>

#include "exchange/host_codes.h"
#include "exchange/numeric_line.h"

namespace tesra {
namespace {

// A text's line or font name could hold what the host's line cannot carry.
WriteBackRefusal TextRefusal(const JwwEntText& t) {
    if (t.text.find('\0') != std::string::npos || t.fontName.find('\0') != std::string::npos)
        return WriteBackRefusal::NulInText;
    if (t.fontName.empty()) return WriteBackRefusal::NoFontName;
    const bool fits = FontLine(t.fontName).size() <= kMaxOutputLine &&
                      TextElementLine(t).size() <= kMaxOutputLine;
    return fits ? WriteBackRefusal::None : WriteBackRefusal::LineTooLong;
}

WriteBackRefusal SolidRefusal(const SolidElement& s) {
    const bool coded = s.kind == ElementKind::SolidSc || s.kind == ElementKind::SolidSe;
    return coded && !IsSolidArcCode(s.solid.code) ? WriteBackRefusal::UnknownSolidCode
                                                  : WriteBackRefusal::None;
}

// Every other element is a keyword and at most eight numbers (the reader
// takes no more) and a code, so its line always fits: no need to build each
// line twice, once here and once to write it.
static_assert(kMaxNumericLineText <= kMaxOutputLine);

WriteBackRefusal RefusalFor(const ElementStore& store, ElementRef ref) {
    const auto refusal = Overloaded{
        [](const TJwwEntBlk&) { return WriteBackRefusal::Block; },
        [](const JwwEntDimension&) { return WriteBackRefusal::Dimension; },
        [](const JwwEntLine& l) {
            return l.polyline != 0 ? WriteBackRefusal::Curve : WriteBackRefusal::None;
        },
        [](const JwwEntText& t) { return TextRefusal(t); },
        [](const SolidElement& s) { return SolidRefusal(s); },
        [](const auto&) { return WriteBackRefusal::None; },
    };
    return VisitElement(store, ref, refusal);
}

// Each element's attribute lines that differ from what is in force, then
// its own line.
class ElementWriter {
public:
    explicit ElementWriter(Writer& writer) : writer_(writer) {}

    void operator()(const JwwEntLine& l) { WriteBackWithPen(l); }
    void operator()(const JwwEntCircle& c) { WriteBackWithPen(c); }
    void operator()(const JwwEntArc& a) { WriteBackWithPen(a); }
    void operator()(const JwwEntText& t) {
        WriteLayer(t.header);
        writer_.WriteTextAttributes(t);
        writer_.WriteBack(t);
    }
    // A point's header color is its point number; the pen is kept beside it.
    void operator()(const JwwEntPoint& p) { WriteBackPoint(p); }
    void operator()(const JwwEntPointData& p) { WriteBackPoint(p); }
    void operator()(const SolidElement& s) {
        WriteLineAttributes(s.solid.header, s.solid.header.color, s.solid.solidColor);
        writer_.WriteBack(s);
    }
    // Refused before anything is written (FirstRefusal).
    void operator()(const JwwEntDimension&) {}
    void operator()(const TJwwEntBlk&) {}

private:
    template <class Element>
    void WriteBackWithPen(const Element& e) {
        WriteLineAttributes(e.header, e.header.color);
        writer_.WriteBack(e);
    }

    template <class PointRecord>
    void WriteBackPoint(const PointRecord& p) {
        WriteLineAttributes(p.header, p.lineColor);
        writer_.WritePointNumber(p.header.color);
        writer_.WriteBack(p);
    }

    void WriteLayer(const ElementHeader& h) {
        writer_.WriteLayerGroup(h.layerGroup);
        writer_.WriteLayer(h.layer);
    }

    // Solids drawn in "lc10" carry their own color; others use a pen color.
    void WriteLineAttributes(const ElementHeader& h, std::int32_t color,
                             std::optional<std::int32_t> solidColor = std::nullopt) {
        WriteLayer(h);
        if (solidColor && color == kSolidColorPen) {
            writer_.WriteSolidColor(*solidColor);
        } else {
            writer_.WriteLineColor(color, 0);
        }
        writer_.WriteLineType(h.lineType, 0);
        writer_.WriteLineWidth(h.lineWidth);
    }

    Writer& writer_;
};

}  // namespace

WriteBackRefusal FirstRefusal(const ElementStore& store) {
    for (const ElementRef& ref : store.order) {
        const WriteBackRefusal refusal = RefusalFor(store, ref);
        if (refusal != WriteBackRefusal::None) return refusal;
    }
    return WriteBackRefusal::None;
}

std::string_view RefusalName(WriteBackRefusal refusal) {
    switch (refusal) {
        case WriteBackRefusal::None: return "none";
        case WriteBackRefusal::Block: return "a block";
        case WriteBackRefusal::Dimension: return "a dimension figure";
        case WriteBackRefusal::Curve: return "a line with the curve attribute";
        case WriteBackRefusal::UnknownSolidCode: return "a solid arc with an unknown code";
        case WriteBackRefusal::LineTooLong: return "an element longer than one output line";
        case WriteBackRefusal::NulInText: return "a text holding a NUL byte";
        case WriteBackRefusal::NoFontName: return "a text without a font name";
    }
    return "unknown";
}

void WriteBackSelection(const ElementStore& store, Writer& writer) {
    ElementWriter write(writer);
    for (const ElementRef& ref : store.order) VisitElement(store, ref, write);
}

}  // namespace tesra

// The command writer: attribute lines without repeats, element lines without degenerate geometry.
#include "exchange/writer.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "exchange/number_format.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// Emitters treat corners as one point when strictly closer than kSameEps,
// unlike SamePoint, which takes kSameEps itself as the same.
bool Coincide(Point a, Point b) {
    return std::fabs(a.x - b.x) < kSameEps && std::fabs(a.y - b.y) < kSameEps;
}

bool Finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// An attribute line: its keyword and the value straight after it.
class AttributeLine {
public:
    AttributeLine(std::string_view keyword, std::int32_t v, bool hex = false) {
        char* at = std::copy(keyword.begin(), keyword.end(), text_);
        end_ = hex ? WriteHex(at, v) : WriteInt(at, v);
    }
    // A second value after a space, as the solid color's RGB follows its pen.
    AttributeLine& Then(std::int32_t v) {
        *end_++ = ' ';
        end_ = WriteInt(end_, v);
        return *this;
    }
    std::string_view View() const { return {text_, static_cast<std::size_t>(end_ - text_)}; }

private:
    char text_[8 + 2 * (kMaxNumberText + 1)];
    char* end_;
};

// An attribute writer's common step: false when v repeats the value in force
// and nothing forces it; otherwise v becomes current and the force is spent.
bool Changed(bool& force, std::int32_t& cur, std::int32_t v) {
    if (!force && v == cur) return false;
    cur = v;
    force = false;
    return true;
}

}  // namespace

void Writer::AppendOutputLine(std::string_view text) {
    sink_.Append(text.substr(0, kMaxOutputLine));
}

void Writer::ResetWriterState() {
    force_ = FirstSeenFlags{};
    forceSolidColor_ = true;
    cur_ = CurrentAttributes{};
    textKind_.reset();
    font_.reset();
    textColor_ = 0;
    pointNumber_ = 1;
}

void Writer::WriteLayerGroup(std::int32_t g) {
    if (!Changed(force_.layerGroup, cur_.layerGroup, g)) return;
    AppendOutputLine(AttributeLine("lg", g, true).View());
    // A new layer group always restates the layer.
    force_.layer = true;
}

void Writer::WriteLayer(std::int32_t l) {
    if (!Changed(force_.layer, cur_.layer, l)) return;
    AppendOutputLine(AttributeLine("ly", l, true).View());
}

void Writer::WriteLineColor(std::int32_t color, std::int32_t /*mode*/) {
    if (!Changed(force_.lineColor, cur_.lineColor, color)) return;
    AppendOutputLine(AttributeLine("lc", color).View());
    forceSolidColor_ = false;
}

void Writer::WriteLineType(std::int32_t t, std::int32_t /*mode*/) {
    if (!Changed(force_.lineType, cur_.lineType, t)) return;
    AppendOutputLine(AttributeLine("lt", t).View());
}

void Writer::WriteLineWidth(std::int32_t w) {
    // The host passes widths only to add-ons that asked for them.
    if (!input_.lwSeen) return;
    if (w == -1) w = input_.initial.lineWidth;
    if (w < 0 || w > kMaxLineWidth) w = 0;
    if (!Changed(force_.lineWidth, cur_.lineWidth, w)) return;
    AppendOutputLine(AttributeLine("lw", w).View());
}

void Writer::WriteInitialAttributes() {
    const Attributes& initial = input_.initial;
    WriteLayerGroup(initial.layerGroup);
    WriteLayer(initial.layer);
    WriteLineColor(initial.lineColor, 0);
    WriteLineType(initial.lineType, 0);
    WriteLineWidth(initial.lineWidth);
}

void Writer::WriteSolidColor(std::int32_t rgb) {
    if (rgb < 0 || rgb > kMaxRgb) rgb = 0;
    const bool unchanged = !force_.lineColor && cur_.lineColor == kSolidColorPen &&
                           !forceSolidColor_ && rgb == cur_.solidColor;
    if (unchanged) return;
    AppendOutputLine(AttributeLine("lc", kSolidColorPen).Then(rgb).View());
    cur_.solidColor = rgb;
    forceSolidColor_ = false;
    cur_.lineColor = kSolidColorPen;
    force_.lineColor = false;
}

void Writer::EmitLine(Point a, Point b) {
    if (!Finite(a) || !Finite(b) || Coincide(a, b)) return;
    sink_.AppendNumeric({"", {a.x, a.y, b.x, b.y}});
}

void Writer::EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                     double tiltDeg) {
    if (!AllFinite({centre.x, centre.y, r, startDeg, endDeg, flatness, tiltDeg})) return;
    if (r <= kSameEps || std::fabs(flatness) <= kSameEps) return;
    sink_.AppendNumeric({"ci ", {centre.x, centre.y, r, startDeg, endDeg, flatness, tiltDeg}});
}

void Writer::EmitSolidTriangle(Point a, Point b, Point c) {
    if (!Finite(a) || !Finite(b) || !Finite(c)) return;
    if (Coincide(b, a) || Coincide(c, b) || Coincide(a, c)) return;
    sink_.AppendNumeric({"sl ", {a.x, a.y, b.x, b.y, c.x, c.y}});
}

void Writer::EmitSolidQuad(Point a, Point b, Point c, Point d) {
    if (!Finite(a) || !Finite(b) || !Finite(c) || !Finite(d)) return;
    if (Coincide(b, a)) return EmitSolidTriangle(a, c, d);
    if (Coincide(c, a)) return;
    if (Coincide(d, a)) return EmitSolidTriangle(a, b, c);
    if (Coincide(c, b)) return EmitSolidTriangle(a, b, d);
    if (Coincide(d, b)) return;
    if (Coincide(d, c)) return EmitSolidTriangle(a, b, c);
    sink_.AppendNumeric({"sl ", {a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y}});
}

void Writer::EmitSolidArc(std::int32_t code, Point centre, double r, double flatness, double tilt,
                          double angle1, double angle2) {
    if (!AllFinite({centre.x, centre.y, r, flatness, tilt, angle1, angle2})) return;
    if (r <= kSameEps || std::fabs(flatness) <= kSameEps) return;
    if (!IsSolidArcCode(code)) return;
    NumericLine line("sc ", {centre.x, centre.y, r, flatness, tilt, angle1, angle2});
    line.hasCode = true;
    line.code = code;
    sink_.AppendNumeric(line);
}

void Writer::EmitSolidRing(Point centre, double rOuter, double flatness, double tilt, double angle1,
                           double angle2, double rInner) {
    if (!AllFinite({centre.x, centre.y, rOuter, flatness, tilt, angle1, angle2, rInner})) return;
    const bool ring = rOuter > kSameEps && rInner > kSameEps && rInner < rOuter - kSameEps &&
                      std::fabs(flatness) > kSameEps;
    if (!ring) return;
    sink_.AppendNumeric(
        {"so ", {centre.x, centre.y, rOuter, flatness, tilt, angle1, angle2, rInner}});
}

namespace {

// Text kinds the host's table defines; any other kind carries its own sizes.
constexpr std::int32_t kFirstTableKind = 1, kLastTableKind = 10;

NumericLine SolidLine(const SolidElement& s) {
    NumericLine line;
    switch (s.kind) {
        case ElementKind::SolidSc: line.keyword = "sc "; break;
        case ElementKind::SolidSe: line.keyword = "se "; break;
        case ElementKind::SolidSo: line.keyword = "so "; break;
        case ElementKind::SolidSg: line.keyword = "sg "; break;
        default: line.keyword = "sl "; break;
    }
    line.hasCode = s.kind == ElementKind::SolidSc || s.kind == ElementKind::SolidSe;
    line.code = s.solid.code;
    // The reader keeps at most eight values of a solid.
    line.realCount = static_cast<std::uint8_t>(std::min(s.solid.values.size(), line.reals.size()));
    std::copy_n(s.solid.values.begin(), line.realCount, line.reals.begin());
    return line;
}

}  // namespace

std::string TextElementLine(const JwwEntText& t) {
    const auto direction = static_cast<std::size_t>(t.direction);
    std::string line(direction < kTextKeywords.size() ? kTextKeywords[direction]
                                                      : kTextKeywords[0]);
    for (double v : t.values) {
        line += ' ';
        AppendReal(line, v);
    }
    // Texts keep leading spaces and quotes only after a quote, which ends
    // the splitting of the line into fields.
    line += " \"";
    line += t.text;
    return line;
}

std::string FontLine(std::string_view fontName) {
    std::string line = "cn\"$";
    line += fontName;
    return line;
}

void Writer::WriteBack(const JwwEntLine& l) { sink_.AppendNumeric({"", {l.x1, l.y1, l.x2, l.y2}}); }

void Writer::WriteBack(const JwwEntCircle& c) { sink_.AppendNumeric({"ci ", {c.x, c.y, c.r}}); }

void Writer::WriteBack(const JwwEntArc& a) {
    const double* v = a.values;
    sink_.AppendNumeric({"ci ", {v[0], v[1], v[2], v[3], v[4], v[5], v[6]}});
}

void Writer::WriteBack(const JwwEntText& t) { AppendOutputLine(TextElementLine(t)); }

void Writer::WriteBack(const JwwEntPoint& p) { sink_.AppendNumeric({"pt ", {p.x, p.y}}); }

void Writer::WriteBack(const JwwEntPointData& p) {
    NumericLine line("pt ", {p.x, p.y, p.a, p.b});
    line.hasCode = true;
    line.code = p.code;
    sink_.AppendNumeric(line);
}

void Writer::WriteBack(const SolidElement& s) { sink_.AppendNumeric(SolidLine(s)); }

void Writer::WriteTextAttributes(const JwwEntText& t) {
    WriteTextKind(t);
    if (font_ != t.fontName) {
        AppendOutputLine(FontLine(t.fontName));
        font_ = t.fontName;
    }
    if (textColor_ != t.textColor) {
        AppendOutputLine(AttributeLine("cc", t.textColor).View());
        textColor_ = t.textColor;
    }
}

// Kinds 1-10 stand for the host's table; others give sizes and color with
// kind 0, as the text was read.
void Writer::WriteTextKind(const JwwEntText& t) {
    std::string line = "cn";
    if (t.textKind >= kFirstTableKind && t.textKind <= kLastTableKind) {
        AppendInt(line, t.textKind);
    } else {
        line += '0';
        for (double v : {t.width, t.height, t.spacing}) {
            line += ' ';
            AppendReal(line, v);
        }
        line += ' ';
        AppendInt(line, t.header.color);
    }
    if (line == textKind_) return;
    AppendOutputLine(line);
    textKind_ = std::move(line);
}

void Writer::WritePointNumber(std::int32_t n) {
    if (n == pointNumber_) return;
    AppendOutputLine(AttributeLine("pn", n).View());
    pointNumber_ = n;
}

}  // namespace tesra

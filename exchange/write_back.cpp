// The selected elements written back as the host wrote them, attributes included.
#include "exchange/write_back.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

#include "exchange/host_codes.h"
#include "exchange/number_format.h"
#include "exchange/numeric_line.h"

namespace tesra {
namespace {

// Text kinds the host's table defines; any other kind carries its own sizes.
constexpr std::int32_t kFirstTableKind = 1, kLastTableKind = 10;
// What the host reads before any "cc" or "pn" line: only a change is written,
// so a host that never sends them never gets them back.
constexpr std::int32_t kDefaultTextColor = 0;
constexpr std::int32_t kDefaultPointNumber = 1;

void AppendValues(std::string& line, std::span<const double> values) {
    for (double v : values) {
        if (!line.empty()) line += ' ';
        AppendReal(line, v);
    }
}

void AppendValues(std::string& line, std::initializer_list<double> values) {
    AppendValues(line, std::span<const double>(values.begin(), values.size()));
}

std::string KeywordLine(std::string_view keyword, std::span<const double> values) {
    std::string line(keyword);
    AppendValues(line, values);
    return line;
}

bool KnownSolidArcCode(std::int32_t code) {
    return code == 0 || code == 5 || code == 100 || code == -1;
}

// Texts keep leading spaces and quotes only after a quote, which ends the
// splitting of the line into fields.
std::string TextLine(const JwwEntText& t) {
    const auto direction = static_cast<std::size_t>(t.direction);
    std::string line = KeywordLine(
        direction < kTextKeywords.size() ? kTextKeywords[direction] : kTextKeywords[0], t.values);
    line += " \"";
    line += t.text;
    return line;
}

std::string SolidLine(ElementKind kind, const JwwEntSolid& s) {
    switch (kind) {
        case ElementKind::SolidSc:
        case ElementKind::SolidSe: {
            std::string line = KeywordLine(kind == ElementKind::SolidSc ? "sc" : "se", s.values);
            line += ' ';
            AppendInt(line, s.code);
            return line;
        }
        case ElementKind::SolidSo:
            return KeywordLine("so", s.values);
        case ElementKind::SolidSg:
            return KeywordLine("sg", s.values);
        default:
            return KeywordLine("sl", s.values);
    }
}

const JwwEntSolid& SolidAt(const ElementStore& store, ElementKind kind, std::size_t i) {
    switch (kind) {
        case ElementKind::Solid2:
            return store.solids2[i];
        case ElementKind::Solid3:
            return store.solids3[i];
        case ElementKind::Solid4:
            return store.solids4[i];
        case ElementKind::SolidSc:
            return store.solidsSc[i];
        case ElementKind::SolidSe:
            return store.solidsSe[i];
        case ElementKind::SolidSo:
            return store.solidsSo[i];
        default:
            return store.solidsSg[i];
    }
}

bool IsSolid(ElementKind kind) {
    return kind >= ElementKind::Solid2 && kind <= ElementKind::SolidSg;
}

// The element's own line; empty for kinds that cannot be written.
std::string ElementLine(const ElementStore& store, ElementRef ref) {
    const auto kind = static_cast<ElementKind>(ref.kind);
    const auto i = static_cast<std::size_t>(ref.index);
    switch (kind) {
        case ElementKind::Line: {
            const JwwEntLine& l = store.lines[i];
            std::string line;
            AppendValues(line, {l.x1, l.y1, l.x2, l.y2});
            return line;
        }
        case ElementKind::Circle: {
            const JwwEntCircle& c = store.circles[i];
            std::string line = "ci";
            AppendValues(line, {c.x, c.y, c.r});
            return line;
        }
        case ElementKind::Arc:
            return KeywordLine("ci", store.arcs[i].values);
        case ElementKind::Text:
            return TextLine(store.texts[i]);
        case ElementKind::Point: {
            const JwwEntPoint& p = store.points[i];
            std::string line = "pt";
            AppendValues(line, {p.x, p.y});
            return line;
        }
        case ElementKind::PointWithData: {
            const JwwEntPointData& p = store.pointsWithData[i];
            std::string line = "pt";
            AppendValues(line, {p.x, p.y, p.a, p.b});
            line += ' ';
            AppendInt(line, p.code);
            return line;
        }
        default:
            if (IsSolid(kind)) return SolidLine(kind, SolidAt(store, kind, i));
            return {};
    }
}

std::string FontLine(const std::string& fontName) {
    return "cn\"$" + fontName;
}

WriteBackRefusal RefusalFor(const ElementStore& store, ElementRef ref) {
    const auto kind = static_cast<ElementKind>(ref.kind);
    const auto i = static_cast<std::size_t>(ref.index);
    switch (kind) {
        case ElementKind::Block:
            return WriteBackRefusal::Block;
        case ElementKind::Dimension:
            return WriteBackRefusal::Dimension;
        case ElementKind::Line:
            if (store.lines[i].polyline != 0) return WriteBackRefusal::Curve;
            break;
        case ElementKind::SolidSc:
        case ElementKind::SolidSe:
            if (!KnownSolidArcCode(SolidAt(store, kind, i).code))
                return WriteBackRefusal::UnknownSolidCode;
            break;
        case ElementKind::Text: {
            const JwwEntText& t = store.texts[i];
            if (t.text.find('\0') != std::string::npos || t.fontName.find('\0') != std::string::npos)
                return WriteBackRefusal::NulInText;
            if (t.fontName.empty()) return WriteBackRefusal::NoFontName;
            const bool fits = FontLine(t.fontName).size() <= kMaxOutputLine &&
                              TextLine(t).size() <= kMaxOutputLine;
            return fits ? WriteBackRefusal::None : WriteBackRefusal::LineTooLong;
        }
        default:
            break;
    }
    // Every other element is a keyword and at most eight numbers (the reader
    // takes no more) and a code, so its line always fits: no need to build
    // each line twice, once here and once to write it.
    static_assert(kMaxNumericLineText <= kMaxOutputLine);
    return WriteBackRefusal::None;
}

// The attribute lines of texts and points, which the drawing never uses:
// only this writer moves them, so it keeps their values itself.
class TextAndPointAttributes {
public:
    explicit TextAndPointAttributes(Writer& writer) : writer_(writer) {}

    void ForText(const JwwEntText& t) {
        WriteTextKind(t);
        if (font_ != t.fontName) {
            writer_.AppendOutputLine(FontLine(t.fontName));
            font_ = t.fontName;
        }
        if (textColor_ != t.textColor) {
            std::string line = "cc";
            AppendInt(line, t.textColor);
            writer_.AppendOutputLine(line);
            textColor_ = t.textColor;
        }
    }

    void ForPoint(std::int32_t pointNumber) {
        if (pointNumber == pointNumber_) return;
        std::string line = "pn";
        AppendInt(line, pointNumber);
        writer_.AppendOutputLine(line);
        pointNumber_ = pointNumber;
    }

private:
    // Kinds 1-10 stand for the host's table; others give sizes and color
    // with kind 0, as the text was read.
    void WriteTextKind(const JwwEntText& t) {
        std::string line = "cn";
        if (t.textKind >= kFirstTableKind && t.textKind <= kLastTableKind) {
            AppendInt(line, t.textKind);
        } else {
            line += '0';
            AppendValues(line, {t.width, t.height, t.spacing});
            line += ' ';
            AppendInt(line, t.header.color);
        }
        if (line == kind_) return;
        writer_.AppendOutputLine(line);
        kind_ = std::move(line);
    }

    Writer& writer_;
    std::optional<std::string> kind_;  // the last "cn" line; none yet
    std::optional<std::string> font_;
    std::int32_t textColor_ = kDefaultTextColor;
    std::int32_t pointNumber_ = kDefaultPointNumber;
};

void WriteLayer(Writer& writer, const ElementHeader& h) {
    writer.WriteLayerGroup(h.layerGroup);
    writer.WriteLayer(h.layer);
}

// Solids drawn in "lc10" carry their own color; others use a pen color.
void WriteLineAttributes(Writer& writer, const ElementHeader& h, std::int32_t color,
                         std::optional<std::int32_t> solidColor = std::nullopt) {
    WriteLayer(writer, h);
    if (solidColor && color == kSolidColorPen) {
        writer.WriteSolidColor(*solidColor);
    } else {
        writer.WriteLineColor(color, 0);
    }
    writer.WriteLineType(h.lineType, 0);
    writer.WriteLineWidth(h.lineWidth);
}

void WritePenAttributes(Writer& writer, const ElementHeader& h) {
    WriteLineAttributes(writer, h, h.color);
}

void WriteAttributesOf(const ElementStore& store, ElementRef ref, Writer& writer,
                       TextAndPointAttributes& textAndPoint) {
    const auto kind = static_cast<ElementKind>(ref.kind);
    const auto i = static_cast<std::size_t>(ref.index);
    switch (kind) {
        case ElementKind::Line:
            return WritePenAttributes(writer, store.lines[i].header);
        case ElementKind::Circle:
            return WritePenAttributes(writer, store.circles[i].header);
        case ElementKind::Arc:
            return WritePenAttributes(writer, store.arcs[i].header);
        case ElementKind::Text:
            WriteLayer(writer, store.texts[i].header);
            return textAndPoint.ForText(store.texts[i]);
        case ElementKind::Point: {
            const JwwEntPoint& p = store.points[i];
            WriteLineAttributes(writer, p.header, p.lineColor);
            return textAndPoint.ForPoint(p.header.color);
        }
        case ElementKind::PointWithData: {
            const JwwEntPointData& p = store.pointsWithData[i];
            WriteLineAttributes(writer, p.header, p.lineColor);
            return textAndPoint.ForPoint(p.header.color);
        }
        default: {
            const JwwEntSolid& s = SolidAt(store, kind, i);
            return WriteLineAttributes(writer, s.header, s.header.color, s.solidColor);
        }
    }
}

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
        case WriteBackRefusal::None:
            return "none";
        case WriteBackRefusal::Block:
            return "a block";
        case WriteBackRefusal::Dimension:
            return "a dimension figure";
        case WriteBackRefusal::Curve:
            return "a line with the curve attribute";
        case WriteBackRefusal::UnknownSolidCode:
            return "a solid arc with an unknown code";
        case WriteBackRefusal::LineTooLong:
            return "an element longer than one output line";
        case WriteBackRefusal::NulInText:
            return "a text holding a NUL byte";
        case WriteBackRefusal::NoFontName:
            return "a text without a font name";
    }
    return "unknown";
}

void WriteBackSelection(const ElementStore& store, Writer& writer) {
    TextAndPointAttributes textAndPoint(writer);
    for (const ElementRef& ref : store.order) {
        WriteAttributesOf(store, ref, writer, textAndPoint);
        writer.AppendOutputLine(ElementLine(store, ref));
    }
}

}  // namespace tesra

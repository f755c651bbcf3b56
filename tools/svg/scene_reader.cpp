// An exchange file read back into a scene of lines, arcs and solids.
#include "tools/svg/scene_reader.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "exchange/host_codes.h"
#include "geom/cp932.h"
#include "geom/helpers.h"

namespace tesra::svg {

namespace {

// The longest records, the text kind columns "hch" and "hcc", have eleven
// fields; one more slot tells a record with too many fields from a full one.
constexpr std::size_t kFieldSlots = 12;
constexpr std::size_t kTextKindColumns = 10;

struct Fields {
    std::array<std::string_view, kFieldSlots> at{};
    std::size_t count = 0;
    bool overflow = false;
};

Fields SplitFields(std::string_view line) {
    Fields fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        pos = line.find_first_not_of(" \t", pos);
        if (pos == std::string_view::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t", pos), line.size());
        if (fields.count == kFieldSlots) {
            fields.overflow = true;
            break;
        }
        fields.at[fields.count++] = line.substr(pos, end - pos);
        pos = end;
    }
    return fields;
}

// Fields first..first+N-1 as numbers, or nothing if any of them is not one.
template <std::size_t N>
std::optional<std::array<double, N>> Numbers(const Fields& fields, std::size_t first) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = ParseNumber(fields.at[first + i]);
        if (!value) return std::nullopt;
        values[i] = *value;
    }
    return values;
}

bool IsMessage(std::string_view line) { return line.starts_with("he") || line.starts_with("h#"); }

// Records of the host's own file that tell the picture nothing ("hhp1ln"
// marks the element a point was picked on).
bool IsHostHeader(std::string_view keyword) {
    static constexpr std::array<std::string_view, 8> kHeaders = {"hq",  "hk",  "hs",  "hn",
                                                                 "hcw", "hcd", "hzs", "#"};
    return keyword.starts_with("file=") || keyword.starts_with("hhp") ||
           std::find(kHeaders.begin(), kHeaders.end(), keyword) != kHeaders.end();
}

// "hp12", "hp3-", "hp1ln", "hp1ci", "hp1ch": the number, whatever the host
// asked the point to be picked on.
std::optional<std::int32_t> IndicatedNumber(std::string_view keyword) {
    if (!keyword.starts_with("hp")) return std::nullopt;
    keyword.remove_prefix(2);
    const std::size_t digits = std::min(keyword.find_first_not_of("0123456789"), keyword.size());
    const std::string_view suffix = keyword.substr(digits);
    if (digits == 0 || digits > 4) return std::nullopt;
    if (!suffix.empty() && suffix != "-" && suffix != "ln" && suffix != "ci" && suffix != "ch")
        return std::nullopt;
    return ParseInteger(keyword.substr(0, digits));
}

bool IsQuietAttribute(std::string_view keyword) {
    return keyword == "bz" || keyword.starts_with("lg") || keyword.starts_with("ly") ||
           keyword.starts_with("lw");
}

// The keywords of texts; they differ in how the host lays the text out, which
// a picture of the drawing need not tell apart.
bool IsTextKeyword(std::string_view keyword) {
    static constexpr std::array<std::string_view, 10> kTextKeywords = {
        "ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
    return std::find(kTextKeywords.begin(), kTextKeywords.end(), keyword) != kTextKeywords.end();
}

// "ci" gives degrees and an end angle; start 0 end 360 is the whole ellipse,
// as is any pair that meets itself again.
std::optional<Geometry> CircleRecord(const Fields& f) {
    if (f.count == 4) {
        const auto v = Numbers<3>(f, 1);
        if (!v) return std::nullopt;
        return ArcShape{{{(*v)[0], (*v)[1]}, (*v)[2], 1.0, 0.0}, 0.0, kTwoPi};
    }
    if (f.count != 8) return std::nullopt;
    const auto v = Numbers<7>(f, 1);
    if (!v) return std::nullopt;
    const auto& [cx, cy, r, start, end, flatness, tilt] = *v;
    double sweep = std::fmod(end - start, 360.0);
    if (sweep <= 0.0) sweep += 360.0;
    return ArcShape{
        {{cx, cy}, r, flatness, tilt * kDegToRad}, start * kDegToRad, sweep * kDegToRad};
}

std::optional<Geometry> SolidRecord(const Fields& f) {
    if (f.count == 5) {
        const auto v = Numbers<4>(f, 1);
        if (!v) return std::nullopt;
        return LineShape{{(*v)[0], (*v)[1]}, {(*v)[2], (*v)[3]}};
    }
    if (f.count != 7 && f.count != 9) return std::nullopt;
    PolygonShape polygon;
    polygon.count = static_cast<int>((f.count - 1) / 2);
    for (int i = 0; i < polygon.count; ++i) {
        const auto v = Numbers<2>(f, 1 + 2 * static_cast<std::size_t>(i));
        if (!v) return std::nullopt;
        polygon.corners[static_cast<std::size_t>(i)] = {(*v)[0], (*v)[1]};
    }
    return polygon;
}

std::optional<Geometry> SolidArcRecord(const Fields& f) {
    if (f.count != 9) return std::nullopt;
    const auto v = Numbers<7>(f, 1);
    const auto code = ParseInteger(f.at[8]);
    if (!v || !code) return std::nullopt;
    const auto& [cx, cy, r, flatness, tilt, a1, a2] = *v;
    const Ellipse ellipse{{cx, cy}, r, flatness, tilt};
    if (*code == kFullEllipseCode) return SolidArcShape{{ellipse, 0.0, kTwoPi}};
    if (*code == kHalfEllipseCode) return SolidArcShape{{ellipse, a1, a2}};
    return std::nullopt;
}

std::optional<Geometry> RingRecord(const Fields& f) {
    if (f.count != 9) return std::nullopt;
    const auto v = Numbers<8>(f, 1);
    if (!v) return std::nullopt;
    const auto& [cx, cy, rOuter, flatness, tilt, a1, a2, rInner] = *v;
    return RingShape{{{cx, cy}, rOuter, flatness, tilt}, rInner};
}

std::optional<Geometry> PlainLineRecord(const Fields& f) {
    if (f.count != 4) return std::nullopt;
    const auto v = Numbers<4>(f, 0);
    if (!v) return std::nullopt;
    return LineShape{{(*v)[0], (*v)[1]}, {(*v)[2], (*v)[3]}};
}

std::optional<Geometry> PointRecord(const Fields& f) {
    if (f.count != 3 && f.count != 6) return std::nullopt;
    const auto v = Numbers<2>(f, 1);
    if (!v) return std::nullopt;
    return PointShape{{(*v)[0], (*v)[1]}};
}

std::optional<Geometry> ElementRecord(const Fields& f) {
    const std::string_view keyword = f.at[0];
    if (keyword == "ci") return CircleRecord(f);
    if (keyword == "pt") return PointRecord(f);
    if (keyword == "sl") return SolidRecord(f);
    if (keyword == "sc") return SolidArcRecord(f);
    if (keyword == "so") return RingRecord(f);
    return PlainLineRecord(f);
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One converter for a whole text, opened at its first double-byte character:
// opening one costs more than converting.
class DoubleByteDecoder {
public:
    DoubleByteDecoder() = default;
    ~DoubleByteDecoder() {
        if (Usable()) iconv_close(cd_);
    }
    DoubleByteDecoder(const DoubleByteDecoder&) = delete;
    DoubleByteDecoder& operator=(const DoubleByteDecoder&) = delete;

    // A double-byte character as UTF-8, or "?" where there is none.
    void Append(std::string& out, std::string_view pair) {
        if (!opened_) {
            cd_ = iconv_open("UTF-8", "CP932");
            opened_ = true;
        }
        std::array<char, 2> in{pair[0], pair[1]};
        std::array<char, 8> utf8{};
        char* src = in.data();
        char* dst = utf8.data();
        std::size_t srcLeft = in.size(), dstLeft = utf8.size();
        const bool converted =
            Usable() && iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
        if (converted) {
            out.append(utf8.data(), dst);
            return;
        }
        if (Usable()) iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the start state
        out += '?';
    }

private:
    bool Usable() const { return opened_ && cd_ != kNoConverter; }

    static inline const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
    iconv_t cd_ = kNoConverter;
    bool opened_ = false;
};

}  // namespace

std::optional<double> ParseNumber(std::string_view field) {
    const std::optional<double> value = WholeFiniteReal(field);
    if (!value || std::fabs(*value) > kMaxMagnitude) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseInteger(std::string_view field) { return WholeInt(field); }

Rgb PenColor(std::int32_t pen) {
    // Dark enough to read on white; 1 and 4 are darker than the host's
    // screen colors for that reason.
    static constexpr std::array<Rgb, 10> kPens = {
        0x808080,  // 0: no pen of its own
        0x008B8B,  // 1 dark cyan
        0x000000,  // 2 black
        0x00A000,  // 3 green
        0xB8960B,  // 4 dark yellow
        0xC000C0,  // 5 magenta
        0x0000E0,  // 6 blue
        0x8B4513,  // 7 brown
        0xE00000,  // 8 red
        0xFF8C00,  // 9 orange
    };
    if (pen < 0 || pen >= static_cast<std::int32_t>(kPens.size())) return kPens[0];
    return kPens[static_cast<std::size_t>(pen)];
}

Rgb FromHostRgb(std::int64_t bbggrr) {
    if (bbggrr < 0 || bbggrr > kMaxRgb) return 0;
    const auto v = static_cast<Rgb>(bbggrr);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

std::string CaptionText(std::string_view cp932) {
    DoubleByteDecoder decoder;
    std::string out;
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        const auto b = static_cast<unsigned char>(cp932[i]);
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
        } else if (b >= 0xA1 && b <= 0xDF) {
            AppendUtf8(out, U'\uFF61' + (b - 0xA1));  // half-width katakana
        } else if (cp932::IsLeadByte(b)) {
            if (i + 1 < cp932.size()) {
                decoder.Append(out, cp932.substr(i, 2));
                ++i;  // its trail byte
            } else {
                out += '?';
            }
        }
    }
    return out;
}

void SceneReader::ReadLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (ReadRecord(line)) ++understoodLines_;
}

bool SceneReader::ReadRecord(std::string_view line) {
    if (IsMessage(line)) {
        if (scene_.captions.size() < kMaxCaptions)
            scene_.captions.push_back(CaptionText(line.substr(2)));
        return true;
    }
    // A text runs from its quote to the end of the line, spaces included;
    // a font line ("cn"$<name>") has a quote too and is skipped there.
    if (const std::size_t quote = line.find('"'); quote != std::string_view::npos)
        return line.starts_with("cn\"") || ReadText(line, quote);
    const Fields fields = SplitFields(line);
    if (fields.count == 0) return false;
    if (IsHostHeader(fields.at[0])) return true;
    if (fields.overflow) return false;
    const FieldList list{fields.at.data(), fields.count};
    if (ReadAttribute(list) || ReadIndicatedPoint(list)) return true;
    auto geometry = ElementRecord(fields);
    if (!geometry) return false;
    AddShape({std::move(*geometry), LineRgb(), lineType_});
    return true;
}

bool SceneReader::ReadIndicatedPoint(FieldList fields) {
    const std::optional<std::int32_t> number = IndicatedNumber(fields[0]);
    if (!number || fields.size() != 3) return false;
    const auto x = ParseNumber(fields[1]), y = ParseNumber(fields[2]);
    if (!x || !y) return false;
    if (scene_.indicated.size() < kMaxIndicatedPoints)
        scene_.indicated.push_back({{*x, *y}, *number});
    return true;
}

bool SceneReader::ReadAttribute(FieldList fields) {
    const std::string_view keyword = fields[0];
    if (IsQuietAttribute(keyword)) return true;
    if (keyword == "hch" || keyword == "hcc") {
        ReadTextKindColumn(fields);
        return true;
    }
    if (keyword.starts_with("lc")) {
        ReadColor(keyword, fields.size() > 1 ? fields[1] : "", fields.size());
        return true;
    }
    if (keyword.starts_with("lt")) {
        const auto type = ParseInteger(keyword.substr(2));
        if (type && fields.size() == 1) lineType_ = *type;
        return true;
    }
    if (keyword.starts_with("cn")) {
        ReadTextKind(fields);
        return true;
    }
    return false;
}

// "hch" gives the height of kinds 1..10, "hcc" their pen; a column with a
// field that is no number is skipped whole.
void SceneReader::ReadTextKindColumn(FieldList fields) {
    if (fields.size() != 1 + kTextKindColumns) return;
    const bool heights = fields[0] == "hch";
    std::array<TextKind, 11> kinds = textKinds_;
    for (std::size_t i = 1; i <= kTextKindColumns; ++i) {
        if (heights) {
            const auto height = ParseNumber(fields[i]);
            if (!height) return;
            kinds[i].height = *height;
        } else {
            const auto pen = ParseInteger(fields[i]);
            if (!pen) return;
            kinds[i].pen = *pen;
        }
    }
    textKinds_ = kinds;
}

// "cn3" picks kind 3; "cn0 w h spacing color" is a free size of its own.
void SceneReader::ReadTextKind(FieldList fields) {
    const auto kind = ParseInteger(fields[0].substr(2));
    if (!kind || *kind < 0 || *kind > static_cast<std::int32_t>(kTextKindColumns)) return;
    if (*kind == 0) {
        if (fields.size() != 5) return;
        const auto height = ParseNumber(fields[2]);
        const auto pen = ParseInteger(fields[4]);
        if (!height || !pen || !ParseNumber(fields[1]) || !ParseNumber(fields[3])) return;
        textKinds_[0] = {*height, *pen};
    } else if (fields.size() != 1) {
        return;
    }
    textKind_ = static_cast<std::size_t>(*kind);
}

bool SceneReader::ReadText(std::string_view line, std::size_t quote) {
    const Fields f = SplitFields(line.substr(0, quote));
    if (f.count != 5 || !IsTextKeyword(f.at[0])) return false;
    const auto v = Numbers<4>(f, 1);
    if (!v) return false;
    const auto& [x, y, dx, dy] = *v;
    const double angle = dx == 0.0 && dy == 0.0 ? 0.0 : std::atan2(dy, dx);
    const TextKind& kind = textKinds_[textKind_];
    AddShape({TextShape{{x, y}, kind.height, angle, CaptionText(line.substr(quote + 1))},
              PenColor(kind.pen)});
    return true;
}

void SceneReader::ReadColor(std::string_view keyword, std::string_view rgbField,
                            std::size_t fields) {
    const auto pen = ParseInteger(keyword.substr(2));
    if (!pen || fields > 2 || (fields == 2 && *pen != kSolidColorPen)) return;
    if (fields == 2) {
        const auto rgb = ParseInteger(rgbField);
        if (!rgb) return;
        solidRgb_ = FromHostRgb(*rgb);
    }
    lineColor_ = *pen;
}

// Solids and lines alike take the solid color while "lc10" is in force:
// that is how the host colors a filled figure drawn after it.
Rgb SceneReader::LineRgb() const {
    return lineColor_ == kSolidColorPen ? solidRgb_ : PenColor(lineColor_);
}

void SceneReader::AddShape(Shape shape) {
    if (scene_.shapes.size() < maxShapes_) scene_.shapes.push_back(std::move(shape));
}

void SceneReader::ReadStream(std::istream& in) {
    std::array<char, 65536> chunk{};
    std::string line;
    bool tooLong = false;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        const std::string_view bytes(chunk.data(), static_cast<std::size_t>(in.gcount()));
        for (const char c : bytes) {
            if (c == '\n') {
                if (!tooLong) ReadLine(line);
                line.clear();
                tooLong = false;
            } else if (line.size() < kMaxLineBytes) {
                line += c;
            } else {
                tooLong = true;
            }
        }
    }
    if (!tooLong && !line.empty()) ReadLine(line);
}

Scene ReadScene(std::string_view text) {
    SceneReader reader;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        reader.ReadLine(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return reader.TakeScene();
}

}  // namespace tesra::svg

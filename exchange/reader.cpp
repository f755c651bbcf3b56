// The host's exchange file, JWC_TEMP.TXT, as this reader takes it. CP932 text,
// one record per line (CR LF or LF); the first token is the keyword:
//
//   hq                           no rule: ignored
//   file=C:\jww\a b.jww          file name, spaces included ("=" stops splitting)
//   hk 0                         hk
//   hs 100 100 ... (16 values)   scale of each layer group 0-F
//   hzs 420 297                  paper size
//   hcw 2 2.5 ... (10 values)    text kinds 1-10: width; hch height, hcd
//   hcc 1 1 2 ...                spacing, hcc color
//   hn x1 y1 x2 y2               hn
//   hrgb r0 r1 ... (8 or more)   color list
//   hp1 x y / hp2- / hp3ln /     indicated points 1-99, with their kind
//     hp4ci / hp5ch x y
//   bz                           sizes are paper millimetres
//   lgA 5 / lyF 0                layer group and layer: one hex digit, then
//                                  its value (the first line of a kind also
//                                  sets the initial attribute)
//   lgn name / lyn name          name of the current layer group / layer
//   lc2 / lt1 / lw3              line color, type, width
//   lc10 16711680                solid color (RGB) of the following solids
//   cn2 / cn0 w h d color       text kind; kind 0 carries its own sizes
//   cn"$<ＭＳ ゴシック>             font (the quote keeps the rest as one token)
//   cc3                          text color 0-8
//   pn2                          point number of the following points
//   z1 .. z5                     flags of the next element
//   hhp12ln                      "indicated" mark of the next element
//   pl                           the following lines form one polyline
//   msg                          the next line and "cs" text form a dimension
//   #                            ends a polyline or a dimension
//   -5000 0 5000 0               a line
//   ci x y r / ci x y r ...(7)   a circle / an arc
//   ch x y w angle "text         a text (also cv cs cr co cp ct ck cz c2)
//   pt x y / pt x y a b code     a point / a point with data
//   BL x y name                  a block insert
//   sl x1 y1 ... (2 to 4 corners)   solids; sc, se, so, sg x1 ... (8 values)
//
// Tokens are split at spaces and tabs (runs count once). A double quote stops
// the splitting and is dropped; an equals sign stops it and is kept. A CP932
// double-byte character always stays whole; other bytes below 0x20 and 0xFE,
// 0xFF are dropped. Lines that match no rule, or whose token count fits none,
// are ignored; numbers that do not parse read as 0.

#include "exchange/reader.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "exchange/atomic_file.h"
#include "exchange/element_store_parse.h"
#include "exchange/host_codes.h"
#include "exchange/line_tokens.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// Layer group, layer and text color digits out of range read as 0.
constexpr std::int32_t kMaxLayerDigit = 15;
constexpr std::int32_t kMaxTextColor = 8;
constexpr std::int32_t kMaxPointNumber = 99;
// Bounded by the token slots anyway; named so that the list's limit is visible.
constexpr std::size_t kMaxRgbValues = kTokenSlots - 1;

double Float(const LineTokens& t, std::size_t i) { return ParseFloat(t[i]); }
std::int32_t Int(const LineTokens& t, std::size_t i) { return ParseInt(t[i]); }

void ReadInto(double& field, std::string_view token) { field = ParseFloat(token); }
void ReadInto(std::int32_t& field, std::string_view token) { field = ParseInt(token); }

// Token 0 after its keyword.
std::string_view After(const LineTokens& t, std::size_t keywordLength) {
    return t[0].substr(std::min(keywordLength, t[0].size()));
}

// The one byte after a two-letter keyword as a digit, 0 when out of range.
std::int32_t DigitAfterKeyword(const LineTokens& t, bool hex, std::int32_t max) {
    const std::string_view digit = After(t, 2).substr(0, 1);
    std::string hexText = "$";
    hexText += digit;
    const std::int32_t d = hex ? ParseInt(hexText) : ParseInt(digit);
    return d < 0 || d > max ? 0 : d;
}

// Guards table indices against a current value the writer may have moved.
std::size_t LayerIndex(std::int32_t value) {
    return value < 0 || value > kMaxLayerDigit ? 0 : static_cast<std::size_t>(value);
}

// The first line of a kind also sets the initial attribute.
void TakeAttribute(std::int32_t d, bool& firstSeen, std::int32_t& initial, std::int32_t& current) {
    if (firstSeen) {
        initial = d;
        firstSeen = false;
    }
    current = d;
}

// Keyword rest, then " " and each further token.
std::string JoinedName(const LineTokens& t) {
    std::string name(After(t, 3));
    for (std::size_t i = 1; i < t.size(); ++i) {
        name += ' ';
        name += t[i];
    }
    return name;
}

void ReadFileName(ExchangeState& s, const LineTokens& t) {
    // The host writes the marker first, so the name is everything after the
    // fifth character (a marker found later in the token is read the same way).
    s.fileName = t[0].substr(std::min<std::size_t>(5, t[0].size()));
}

void ReadHk(ExchangeState& s, const LineTokens& t) { s.hk = Float(t, 1); }

void ReadScales(ExchangeState& s, const LineTokens& t) {
    for (std::size_t i = 0; i < s.scales.size(); ++i) s.scales[i] = Float(t, i + 1);
}

void ReadPaperSize(ExchangeState& s, const LineTokens& t) {
    s.paperSize = {Float(t, 1), Float(t, 2)};
}

template <auto Field>
void ReadTextKindColumn(ExchangeState& s, const LineTokens& t) {
    for (std::size_t k = 1; k < s.textKinds.size(); ++k) ReadInto(s.textKinds[k].*Field, t[k]);
}

void ReadBz(ExchangeState& s, const LineTokens&) { s.bz = true; }

void ReadHn(ExchangeState& s, const LineTokens& t) {
    for (std::size_t i = 0; i < s.hn.size(); ++i) s.hn[i] = Float(t, i + 1);
}

void ReadRgb(ExchangeState& s, const LineTokens& t) {
    const std::size_t count = std::min(t.size() - 1, kMaxRgbValues);
    if (s.rgb.size() < count) s.rgb.resize(count, 0);
    for (std::size_t i = 0; i < count; ++i) s.rgb[i] = Int(t, i + 1);
}

void ReadLayerGroupName(ExchangeState& s, const LineTokens& t) {
    s.layerGroupNames[LayerIndex(s.cur.layerGroup)] = JoinedName(t);
}

void ReadLayerName(ExchangeState& s, const LineTokens& t) {
    s.layerNames[LayerIndex(s.cur.layerGroup)][LayerIndex(s.cur.layer)] = JoinedName(t);
}

void ReadLayerGroup(ExchangeState& s, const LineTokens& t) {
    const std::int32_t d = DigitAfterKeyword(t, true, kMaxLayerDigit);
    TakeAttribute(d, s.firstSeen.layerGroup, s.initial.layerGroup, s.cur.layerGroup);
    if (t.size() >= 2) s.layerGroupValues[LayerIndex(d)] = Int(t, 1);
    s.inPolyline = false;
}

void ReadLayer(ExchangeState& s, const LineTokens& t) {
    const std::int32_t d = DigitAfterKeyword(t, true, kMaxLayerDigit);
    TakeAttribute(d, s.firstSeen.layer, s.initial.layer, s.cur.layer);
    if (t.size() >= 2) s.layerValues[LayerIndex(s.cur.layerGroup)][LayerIndex(d)] = Int(t, 1);
    s.inPolyline = false;
}

// "lc10 rgb" also names the solid color.

void ReadLineColor(ExchangeState& s, const LineTokens& t) {
    const std::int32_t d = ParseInt(After(t, 2));
    TakeAttribute(d, s.firstSeen.lineColor, s.initial.lineColor, s.cur.lineColor);
    if (d == kSolidColorPen && t.size() >= 2) s.cur.solidColor = Int(t, 1);
    s.inPolyline = false;
}

void ReadLineType(ExchangeState& s, const LineTokens& t) {
    TakeAttribute(ParseInt(After(t, 2)), s.firstSeen.lineType, s.initial.lineType, s.cur.lineType);
    s.inPolyline = false;
}

void ReadLineWidth(ExchangeState& s, const LineTokens& t) {
    TakeAttribute(ParseInt(After(t, 2)), s.firstSeen.lineWidth, s.initial.lineWidth,
                  s.cur.lineWidth);
    s.lwSeen = true;
    s.inPolyline = false;
}

void ReadFontName(ExchangeState& s, const LineTokens& t) {
    const std::string_view name = After(t, 3);
    if (s.initialFontName.empty()) s.initialFontName = name;
    s.cur.fontName = name;
    s.inPolyline = false;
}

// Text kind 0 carries its own width, height, spacing and color.
void TakeCn0Values(Attributes& a, const LineTokens& t) {
    a.cn0Width = Float(t, 1);
    a.cn0Height = Float(t, 2);
    a.cn0Spacing = Float(t, 3);
    a.cn0Color = Int(t, 4);
}

void ReadTextKind(ExchangeState& s, const LineTokens& t) {
    const std::int32_t d = ParseInt(After(t, 2));
    const bool ownSizes = d == 0 && t.size() >= 5;
    if (s.firstSeen.textKind) {
        s.initial.textKind = d;
        if (ownSizes) TakeCn0Values(s.initial, t);
        s.firstSeen.textKind = false;
    }
    s.cur.textKind = d;
    if (ownSizes) TakeCn0Values(s.cur, t);
    s.inPolyline = false;
}

void ReadTextColor(ExchangeState& s, const LineTokens& t) {
    s.cur.textColor = DigitAfterKeyword(t, false, kMaxTextColor);
    s.inPolyline = false;
}

void ReadFlag(ExchangeState& s, const LineTokens& t) {
    s.pendingFlags |= 1 << (t[0][1] - '1');  // "z1" .. "z5"
}

void ReadPointNumber(ExchangeState& s, const LineTokens& t) {
    s.cur.pointNumber = ParseInt(After(t, 2));
    s.inPolyline = false;
}

void StartPolyline(ExchangeState& s, const LineTokens&) {
    ++s.polylineCounter;
    s.inPolyline = true;
    s.afterMsg = false;
}

void StartDimension(ExchangeState& s, const LineTokens&) {
    s.afterMsg = true;
    s.inPolyline = false;
}

void EndGroup(ExchangeState& s, const LineTokens&) {
    s.inPolyline = false;
    s.afterMsg = false;
}

// "hp12", "hp12-", "hp12ln", "hp12ci", "hp12ch": the number ends at the
// suffix; a later suffix in this list wins over an earlier one.
void ReadIndicatedPoint(ExchangeState& s, const LineTokens& t) {
    constexpr std::size_t kNumberStart = 2;
    // clang-format off
    constexpr std::array<std::pair<std::string_view, PointKind>, 4> kSuffixes{{
        {"-", PointKind::Dash}, {"ln", PointKind::Ln}, {"ci", PointKind::Ci}, {"ch", PointKind::Ch}}};
    // clang-format on
    const std::string_view token = t[0];
    std::string_view number = token.substr(kNumberStart);
    PointKind kind = PointKind::Plain;
    for (const auto& [suffix, suffixKind] : kSuffixes) {
        const std::size_t at = token.find(suffix, kNumberStart);
        if (at == std::string_view::npos) continue;
        number = token.substr(kNumberStart, at - kNumberStart);
        kind = suffixKind;
    }
    const std::int32_t index = ParseInt(number);
    if (index < 1 || index > kMaxPointNumber) return;
    s.points[static_cast<std::size_t>(index)] = {true, Float(t, 1), Float(t, 2), kind};
    ++s.pointCount;
}

// "hhp12ln": the number runs to the earliest of "ln", "ci", "ch" after it.
void ReadPendingIndicated(ExchangeState& s, const LineTokens& t) {
    constexpr std::size_t kNumberStart = 3;
    constexpr std::size_t kSearchFrom = 4;
    const std::string_view token = t[0];
    std::size_t end = token.size();
    for (std::string_view suffix : {"ln", "ci", "ch"}) {
        end = std::min(end, token.find(suffix, kSearchFrom));
    }
    s.pendingIndicated = ParseInt(token.substr(kNumberStart, end - kNumberStart));
}

enum class Match { Contains, Equals, BeginsWith, Anything };

struct TokenCount {
    enum class Test { Any, AtLeast, Exactly } test = Test::Any;
    std::size_t n = 0;

    bool Fits(std::size_t count) const {
        return test == Test::Any || (test == Test::AtLeast ? count >= n : count == n);
    }
};

constexpr TokenCount Any() { return {}; }
constexpr TokenCount AtLeast(std::size_t n) { return {TokenCount::Test::AtLeast, n}; }
constexpr TokenCount Exactly(std::size_t n) { return {TokenCount::Test::Exactly, n}; }

using Apply = void (*)(ExchangeState&, const LineTokens&);

// An element line with a keyword also ends a polyline and a pending dimension.
template <Apply Store>
void KeywordElement(ExchangeState& s, const LineTokens& t) {
    Store(s, t);
    s.inPolyline = false;
    s.afterMsg = false;
}

struct LineRule {
    Match match;
    std::string_view keyword;
    TokenCount count;
    Apply apply;

    bool Fits(const LineTokens& t) const {
        if (!count.Fits(t.size())) return false;
        switch (match) {
            case Match::Contains: return t[0].find(keyword) != std::string_view::npos;
            case Match::Equals: return t[0] == keyword;
            case Match::BeginsWith: return t[0].starts_with(keyword);
            case Match::Anything: return true;
        }
        return false;
    }
};

// Tried in order; the first that fits applies. Longer keywords come before
// their prefixes ("lgn" before "lg", "cn$" before "cn"). A line that fits none
// is ignored, such as "ci" with 5 to 7 tokens.
using enum Match;
constexpr LineRule kRules[] = {
    {Contains, "file=", Any(), ReadFileName},
    {Equals, "hk", AtLeast(2), ReadHk},
    {Equals, "hs", AtLeast(17), ReadScales},
    {Equals, "hzs", AtLeast(3), ReadPaperSize},
    {Equals, "hcw", AtLeast(11), ReadTextKindColumn<&TextKind::width>},
    {Equals, "hch", AtLeast(11), ReadTextKindColumn<&TextKind::height>},
    {Equals, "hcd", AtLeast(11), ReadTextKindColumn<&TextKind::spacing>},
    {Equals, "hcc", AtLeast(11), ReadTextKindColumn<&TextKind::color>},
    {Equals, "bz", Any(), ReadBz},
    {Equals, "hn", AtLeast(5), ReadHn},
    {Equals, "hrgb", AtLeast(9), ReadRgb},
    {BeginsWith, "lgn", Any(), ReadLayerGroupName},
    {BeginsWith, "lyn", Any(), ReadLayerName},
    {BeginsWith, "lg", Any(), ReadLayerGroup},
    {BeginsWith, "ly", Any(), ReadLayer},
    {BeginsWith, "lc", Any(), ReadLineColor},
    {BeginsWith, "lt", Any(), ReadLineType},
    {BeginsWith, "lw", Any(), ReadLineWidth},
    {BeginsWith, "cn$", Any(), ReadFontName},
    {BeginsWith, "cn", Any(), ReadTextKind},
    {BeginsWith, "cc", Any(), ReadTextColor},
    {Equals, "z1", Any(), ReadFlag},
    {Equals, "z2", Any(), ReadFlag},
    {Equals, "z3", Any(), ReadFlag},
    {Equals, "z4", Any(), ReadFlag},
    {Equals, "z5", Any(), ReadFlag},
    {BeginsWith, "pn", Any(), ReadPointNumber},
    {Equals, "pl", Any(), StartPolyline},
    {Equals, "msg", Any(), StartDimension},
    {Equals, "#", Any(), EndGroup},
    {BeginsWith, "hp", AtLeast(3), ReadIndicatedPoint},
    {BeginsWith, "hhp", Any(), ReadPendingIndicated},
    {Equals, "ci", Exactly(4), KeywordElement<StoreCircleLine>},
    {Equals, "ci", AtLeast(8), KeywordElement<StoreArcLine>},
    {Equals, "ch", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "cv", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "cs", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "cr", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "co", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "cp", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "ct", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "ck", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "cz", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "c2", AtLeast(6), KeywordElement<StoreTextLine>},
    {Equals, "pt", Exactly(3), KeywordElement<StorePointLine>},
    {Equals, "pt", AtLeast(6), KeywordElement<StorePointWithDataLine>},
    {Equals, "BL", AtLeast(4), KeywordElement<StoreBlockLine>},
    {Equals, "sl", Exactly(5), KeywordElement<StoreSolid2Line>},
    {Equals, "sl", Exactly(7), KeywordElement<StoreSolid3Line>},
    {Equals, "sl", AtLeast(9), KeywordElement<StoreSolid4Line>},
    {Equals, "sc", AtLeast(9), KeywordElement<StoreValueSolidLine>},
    {Equals, "se", AtLeast(9), KeywordElement<StoreValueSolidLine>},
    {Equals, "so", AtLeast(9), KeywordElement<StoreValueSolidLine>},
    {Equals, "sg", AtLeast(9), KeywordElement<StoreValueSolidLine>},
    {Anything, "", Exactly(4), StorePlainLine},
};

// Lines whose LF was read, and a last line without one.
void ParseLines(ExchangeState& state, std::string_view bytes) {
    while (!bytes.empty()) {
        ParseExchangeLine(state, TakeLine(bytes));
    }
}

}  // namespace

void ResetExchangeState(ExchangeState& state) { state = ExchangeState{}; }

// A fresh state also gives back the element lists' memory.
void FreeExchangeState(ExchangeState& state) { ResetExchangeState(state); }

void ParseExchangeLine(ExchangeState& state, std::string_view line) {
    const LineTokens tokens(line);
    if (tokens.size() == 1 && tokens[0].empty()) return;
    const auto* rule = std::find_if(std::begin(kRules), std::end(kRules),
                                    [&](const LineRule& r) { return r.Fits(tokens); });
    if (rule != std::end(kRules)) rule->apply(state, tokens);
}

void ReadExchangeBytes(ExchangeState& state, std::string_view bytes) { ParseLines(state, bytes); }

bool ReadExchangeFile(ExchangeState& state, const std::filesystem::path& path) {
    std::string bytes;
    const ReadOutcome outcome = ReadFileBytes(path, bytes);
    if (outcome == ReadOutcome::kCannotOpen) return false;
    const bool failed = outcome == ReadOutcome::kReadError;
    // After a read error only the lines read whole count: everything after
    // the last LF goes (npos + 1 is 0, so without any LF nothing is kept).
    if (failed) bytes.erase(bytes.rfind('\n') + 1);
    ParseLines(state, bytes);
    return !failed;
}

}  // namespace tesra

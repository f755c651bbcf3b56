// Helpers shared by the test suites: scratch folders, file bytes, recording targets.
#include "test_support.h"

#include "exchange/line_tokens.h"
#include "exchange/reader.h"
#include "figures/figures.h"

#include <iconv.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>
#include <stdexcept>

namespace tesra::test {

namespace {

std::string Exact(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string Numbers(std::initializer_list<double> values) {
    std::string s;
    for (double v : values) s += " " + Exact(v);
    return s;
}

template <std::size_t N>
std::string Numbers(const double (&values)[N]) {
    std::string s;
    for (double v : values) s += " " + Exact(v);
    return s;
}

std::string Header(const ElementHeader& h, bool withPen = true) {
    std::string s = "lg" + std::to_string(h.layerGroup) + " ly" + std::to_string(h.layer) + " c" +
                    std::to_string(h.color);
    if (withPen) s += " lt" + std::to_string(h.lineType) + " lw" + std::to_string(h.lineWidth);
    return s;
}

}  // namespace

ExchangeState ReadExchange(std::string_view bytes) {
    ExchangeState state;
    ResetExchangeState(state);
    ReadExchangeBytes(state, bytes);
    return state;
}

ExchangeState ReadLines(const std::vector<std::string>& lines) {
    ExchangeState state;
    ResetExchangeState(state);
    for (const std::string& line : lines) ParseExchangeLine(state, line);
    return state;
}

std::vector<std::string> DescribeElements(const ElementStore& e) {
    const auto describe = Overloaded{
        [](const JwwEntLine& l) {
            return Header(l.header) + Numbers({l.x1, l.y1, l.x2, l.y2});
        },
        [](const JwwEntCircle& c) {
            return Header(c.header) + Numbers({c.x, c.y, c.r});
        },
        [](const JwwEntArc& a) { return Header(a.header) + Numbers(a.values); },
        [](const JwwEntText& t) {
            return Header(t.header, false) + " dir" + std::to_string(t.direction) + " cc" +
                   std::to_string(t.textColor) + " cn" + std::to_string(t.textKind) +
                   Numbers({t.width, t.height, t.spacing}) + Numbers(t.values) + " font[" +
                   t.fontName + "] text[" + t.text + "]";
        },
        [](const JwwEntPoint& p) {
            return Header(p.header) + " lc" + std::to_string(p.lineColor) + Numbers({p.x, p.y});
        },
        [](const JwwEntPointData& p) {
            return Header(p.header) + " lc" + std::to_string(p.lineColor) +
                   Numbers({p.x, p.y, p.a, p.b}) + " code" + std::to_string(p.code);
        },
        [](const SolidElement& solid) {
            const JwwEntSolid& s = solid.solid;
            std::string d = Header(s.header) + " code" + std::to_string(s.code);
            // Only a solid drawn in color 10 shows its own color.
            if (s.header.color == 10) d += " rgb" + std::to_string(s.solidColor);
            for (double v : s.values) d += " " + Exact(v);
            return d;
        },
        [](const auto&) { return std::string(" not written back"); },
    };
    std::vector<std::string> out;
    for (const ElementRef& ref : e.order)
        out.push_back(std::to_string(static_cast<int>(ref.kind)) + ": " +
                      VisitElement(e, ref, describe));
    return out;
}

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("tesra-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string CrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

std::vector<std::string> LinesLostIn(std::string_view read, std::string_view saved) {
    std::vector<std::string> lost;
    while (!read.empty()) {
        const std::string_view line = TakeLine(read);
        if (saved.find(line) == std::string_view::npos) lost.emplace_back(line);
    }
    return lost;
}

std::vector<std::string> WholeStore(std::vector<std::string> firstLines) {
    constexpr std::size_t kStoreLines = 113;
    if (firstLines.size() < kStoreLines) firstLines.resize(kStoreLines, "0");
    return firstLines;
}

std::string Sjis(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
    std::string in(utf8);
    std::string out(in.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t srcLeft = in.size(), dstLeft = out.size();
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("not CP932: " + in);
    out.resize(out.size() - dstLeft);
    return out;
}

FigureCell MakeCell(double w, double h, double thetaDeg, Point origin) {
    FigureCell cell;
    cell.O = origin;
    cell.thetaDeg = thetaDeg;
    cell.theta = thetaDeg / 180 * std::numbers::pi;
    cell.eu = {std::cos(cell.theta), std::sin(cell.theta)};
    cell.ev = {-std::sin(cell.theta), std::cos(cell.theta)};
    cell.W = w;
    cell.H = h;
    cell.C = cell.At(w / 2, h / 2);
    return cell;
}

FigureCell QuarterTurnCell(double w, double h, Point origin) {
    FigureCell cell;
    cell.O = origin;
    cell.eu = {0, 1};
    cell.ev = {-1, 0};
    cell.W = w;
    cell.H = h;
    cell.C = {origin.x - h / 2, origin.y + w / 2};
    cell.theta = std::numbers::pi / 2;
    cell.thetaDeg = 90;
    return cell;
}

PatternRow RowAwayFromDefaults() {
    PatternRow r{.figureKind = 49,
                 .width = 3,
                 .height = 2.5,
                 .placement = 1,
                 .interval = 1.5,
                 .basePoint = 2,
                 .upperLine = 1,
                 .middleLine = 2,
                 .lowerLine = 1,
                 .arrangement = 2,
                 .side = 1,
                 .orientation = 1,
                 .bend = 1,
                 .rowKind = 1,
                 .pitch = 1.5,
                 .rhythm = "LSS",
                 .shortRatio = 0.25,
                 .tickLength = 3,
                 .drawTop = 1,
                 .figureB = 37,
                 .widthB = 0.75,
                 .heightB = 2.5,
                 .sequence = "AAB",
                 .fit = 1,
                 .elementColors = 1};
    r.figureColor = 3, r.figureLineType = 2, r.upperColor = 1, r.upperLineType = 5;
    r.middleColor = 8, r.middleLineType = 7, r.lowerColor = 9, r.lowerLineType = 9;
    return r;
}

Calls Draw(std::int32_t kind, const FigureCell& cell, SolidStyle solid) {
    RecordingTarget out;
    DrawFigure(kind, cell, solid, out);
    return out.calls;
}

void RecordingTarget::EmitLine(Point a, Point b) {
    calls.push_back({"line", {a.x, a.y, b.x, b.y}});
}
void RecordingTarget::EmitArc(Point c, double r, double s, double e, double f, double t) {
    calls.push_back({"arc", {c.x, c.y, r, s, e, f, t}});
}
void RecordingTarget::EmitSolidTriangle(Point a, Point b, Point c) {
    calls.push_back({"tri", {a.x, a.y, b.x, b.y, c.x, c.y}});
}
void RecordingTarget::EmitSolidQuad(Point a, Point b, Point c, Point d) {
    calls.push_back({"quad", {a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y}});
}
void RecordingTarget::EmitSolidArc(std::int32_t code, Point c, double r, double f, double t,
                                   double a1, double a2) {
    calls.push_back({"sc", {static_cast<double>(code), c.x, c.y, r, f, t, a1, a2}});
}
void RecordingTarget::EmitSolidRing(Point c, double ro, double f, double t, double a1, double a2,
                                    double ri) {
    calls.push_back({"so", {c.x, c.y, ro, f, t, a1, a2, ri}});
}
void RecordingTarget::WriteSolidColor(std::int32_t rgb) {
    calls.push_back({"solidcolor", {static_cast<double>(rgb)}});
}
void RecordingTarget::WriteLineColor(std::int32_t color, std::int32_t mode) {
    calls.push_back({"linecolor", {static_cast<double>(color), static_cast<double>(mode)}});
}

}  // namespace tesra::test

// Mode "5": turn the selection into an own figure, keep the drawing, say what happened.
#include "app/run_register.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "exchange/block_formatter.h"
#include "exchange/host_codes.h"
#include "exchange/number_format.h"
#include "exchange/write_back.h"
#include "exchange/writer.h"
#include "geom/cp932.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// h#図形「
constexpr std::string_view kRegisteredBefore =
    "h#"
    "\x90\x7D\x8C\x60\x81\x75";
// 」を番号
constexpr std::string_view kRegisteredMiddle = "\x81\x76\x82\xF0\x94\xD4\x8D\x86\x20";
//  で登録しました。
constexpr std::string_view kRegisteredAfter =
    "\x20\x82\xC5\x93\x6F\x98\x5E\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";
// （図形に含めなかった要素
constexpr std::string_view kNotTakenBefore =
    "\x81\x69\x90\x7D\x8C\x60\x82\xC9\x8A\xDC\x82\xDF\x82\xC8\x82\xA9\x82\xC1\x82\xBD\x97\x76"
    "\x91\x66\x20";
//  個）
constexpr std::string_view kNotTakenAfter = "\x20\x8C\xC2\x81\x6A";
// （図形ファイルの読めない部分
constexpr std::string_view kDamagedBefore =
    "\x81\x69\x90\x7D\x8C\x60\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xC7\x82\xDF\x82\xC8"
    "\x82\xA2\x95\x94\x95\xAA\x20";
//  件はそのまま残しています）
constexpr std::string_view kDamagedAfter =
    "\x20\x8C\x8F\x82\xCD\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x8E\x63\x82\xB5\x82\xC4\x82\xA2\x82"
    "\xDC\x82\xB7\x81\x6A";
// 図形
constexpr std::string_view kDefaultName = "\x90\x7D\x8C\x60";
// h#登録できる線・円弧・円・ソリッドがありません。図形は登録しませんでした。
constexpr std::string_view kNothingDrawable =
    "h#"
    "\x93\x6F\x98\x5E\x82\xC5\x82\xAB\x82\xE9\x90\xFC\x81\x45\x89\x7E\x8C\xCA\x81\x45\x89\x7E"
    "\x81\x45\x83\x5C\x83\x8A\x83\x62\x83\x68\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
    "\x81\x42\x90\x7D\x8C\x60\x82\xCD\x93\x6F\x98\x5E\x82\xB5\x82\xDC\x82\xB9\x82\xF1\x82\xC5"
    "\x82\xB5\x82\xBD\x81\x42";
// h#選択した要素に幅または高さがありません。x 軸に沿って描いてください。図形は登録しませんでした。
constexpr std::string_view kNoExtent =
    "h#"
    "\x91\x49\x91\xF0\x82\xB5\x82\xBD\x97\x76\x91\x66\x82\xC9\x95\x9D\x82\xDC\x82\xBD\x82\xCD"
    "\x8D\x82\x82\xB3\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x78\x20\x8E\xB2"
    "\x82\xC9\x89\x88\x82\xC1\x82\xC4\x95\x60\x82\xA2\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2"
    "\x81\x42\x90\x7D\x8C\x60\x82\xCD\x93\x6F\x98\x5E\x82\xB5\x82\xDC\x82\xB9\x82\xF1\x82\xC5"
    "\x82\xB5\x82\xBD\x81\x42";
// h#要素が多すぎます（1図形に2000個まで）。図形は登録しませんでした。
constexpr std::string_view kTooManyElements =
    "h#"
    "\x97\x76\x91\x66\x82\xAA\x91\xBD\x82\xB7\x82\xAC\x82\xDC\x82\xB7\x81\x69\x31\x90\x7D\x8C"
    "\x60\x82\xC9\x32\x30\x30\x30\x8C\xC2\x82\xDC\x82\xC5\x81\x6A\x81\x42\x90\x7D\x8C\x60\x82"
    "\xCD\x93\x6F\x98\x5E\x82\xB5\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
// h#図形は 1000 個まで登録できます。図形は登録しませんでした。
constexpr std::string_view kLibraryFull =
    "h#"
    "\x90\x7D\x8C\x60\x82\xCD\x20\x31\x30\x30\x30\x20\x8C\xC2\x82\xDC\x82\xC5\x93\x6F\x98\x5E"
    "\x82\xC5\x82\xAB\x82\xDC\x82\xB7\x81\x42\x90\x7D\x8C\x60\x82\xCD\x93\x6F\x98\x5E\x82\xB5"
    "\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
// h#図形ファイルを読めないため、図形は登録しませんでした（ファイルはそのままです）。
constexpr std::string_view kLibraryUnreadable =
    "h#"
    "\x90\x7D\x8C\x60\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x93\xC7\x82\xDF\x82\xC8\x82\xA2"
    "\x82\xBD\x82\xDF\x81\x41\x90\x7D\x8C\x60\x82\xCD\x93\x6F\x98\x5E\x82\xB5\x82\xDC\x82\xB9"
    "\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x69\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x82\xBB"
    "\x82\xCC\x82\xDC\x82\xDC\x82\xC5\x82\xB7\x81\x6A\x81\x42";
// h#図形ファイルに書き込めないため、図形は登録しませんでした（ファイルはそのままです）。
constexpr std::string_view kLibraryNotSaved =
    "h#"
    "\x90\x7D\x8C\x60\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF"
    "\x82\xC8\x82\xA2\x82\xBD\x82\xDF\x81\x41\x90\x7D\x8C\x60\x82\xCD\x93\x6F\x98\x5E\x82\xB5"
    "\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x69\x83\x74\x83\x40\x83\x43\x83\x8B"
    "\x82\xCD\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x82\xC5\x82\xB7\x81\x6A\x81\x42";

using Shape = OwnElement::Shape;

OwnElement Element(Shape shape, std::int32_t color, std::initializer_list<double> values) {
    OwnElement el{shape, color, static_cast<std::int32_t>(values.size()), {}};
    std::copy(values.begin(), values.end(), el.values.begin());
    return el;
}

// The solid's values as read; an ellipse's code after them.
OwnElement SolidValues(Shape shape, const JwwEntSolid& s) {
    OwnElement el{shape, s.solidColor, static_cast<std::int32_t>(s.values.size()), {}};
    std::copy(s.values.begin(), s.values.end(), el.values.begin());
    if (shape == Shape::SolidEllipse) el.values[static_cast<std::size_t>(el.count++)] = s.code;
    return el;
}

// A solid of a form the figures draw: three or four corners, a whole or
// half ellipse, a ring. Two corners, "se", "sg" and the other "sc" codes are
// not taken.
std::optional<OwnElement> SolidElement(ElementKind kind, const JwwEntSolid& s) {
    const std::size_t n = s.values.size();
    switch (kind) {
        case ElementKind::Solid3:
        case ElementKind::Solid4:
            if (n != 6 && n != 8) return std::nullopt;
            return SolidValues(Shape::SolidPolygon, s);
        case ElementKind::SolidSc:
            if (n != 7 || (s.code != kFullEllipseCode && s.code != kHalfEllipseCode))
                return std::nullopt;
            return SolidValues(Shape::SolidEllipse, s);
        case ElementKind::SolidSo:
            if (n != 8) return std::nullopt;
            return SolidValues(Shape::SolidRing, s);
        default: return std::nullopt;
    }
}

const JwwEntSolid* SolidOf(const ElementStore& store, ElementKind kind, std::size_t i) {
    switch (kind) {
        case ElementKind::Solid3: return &store.solids3[i];
        case ElementKind::Solid4: return &store.solids4[i];
        case ElementKind::SolidSc: return &store.solidsSc[i];
        case ElementKind::SolidSo: return &store.solidsSo[i];
        default: return nullptr;
    }
}

// The element as a figure element, in the drawing's coordinates.
std::optional<OwnElement> FigureElement(const ElementStore& store, ElementRef ref) {
    const auto kind = static_cast<ElementKind>(ref.kind);
    const auto i = static_cast<std::size_t>(ref.index);
    switch (kind) {
        case ElementKind::Line: {
            const JwwEntLine& l = store.lines[i];
            return Element(Shape::Line, l.header.color, {l.x1, l.y1, l.x2, l.y2});
        }
        case ElementKind::Circle: {
            const JwwEntCircle& c = store.circles[i];
            return Element(Shape::Arc, c.header.color, {c.x, c.y, c.r, 0, 360, 1, 0});
        }
        case ElementKind::Arc: {
            const JwwEntArc& a = store.arcs[i];
            const auto& v = a.values;
            return Element(Shape::Arc, a.header.color, {v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
        }
        default:
            if (const JwwEntSolid* s = SolidOf(store, kind, i)) return SolidElement(kind, *s);
            return std::nullopt;
    }
}

bool AllValuesFinite(const OwnElement& el) {
    return std::all_of(el.values.begin(), el.values.begin() + el.count,
                       [](double v) { return std::isfinite(v); });
}

// Moves the figure so that its box's lower left corner is (0, 0).
void MoveBy(OwnElement& el, Point d) {
    auto& v = el.values;
    const bool corners = el.shape == Shape::Line || el.shape == Shape::SolidPolygon;
    const std::int32_t points = corners ? el.count / 2 : 1;
    for (std::int32_t k = 0; k < points; ++k) {
        v[static_cast<std::size_t>(2 * k)] -= d.x;
        v[static_cast<std::size_t>(2 * k + 1)] -= d.y;
    }
}

// Without control bytes, broken characters or spaces at either end, cut
// whole characters: the name stands in a line of the library and of the notice.
std::string NameFrom(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t width = cp932::IsLeadByte(b) && i + 1 < text.size() ? 2 : 1;
        if (name.size() + width > kMaxFigureName) break;
        const bool character =
            width == 2 ? static_cast<unsigned char>(text[i + 1]) >= 0x40 : b >= 0x20 && b != 0x7F;
        if (character) name.append(text.substr(i, width));
        i += width;
    }
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::string DefaultName(std::int32_t kind) {
    std::string name(kDefaultName);
    AppendInt(name, kind);
    return name;
}

struct Taken {
    std::vector<OwnElement> elements;
    std::string name;
    std::int32_t notTaken = 0;
    bool tooMany = false;
};

Taken TakeSelection(const ElementStore& store) {
    Taken t;
    bool named = false;
    for (const ElementRef ref : store.order) {
        if (static_cast<ElementKind>(ref.kind) == ElementKind::Text && !named) {
            t.name = NameFrom(store.texts[static_cast<std::size_t>(ref.index)].text);
            named = true;
            continue;
        }
        const std::optional<OwnElement> el = FigureElement(store, ref);
        if (!el || !AllValuesFinite(*el)) {
            ++t.notTaken;
            continue;
        }
        if (t.elements.size() == kMaxOwnFigureElements) {
            t.tooMany = true;
            break;
        }
        t.elements.push_back(*el);
    }
    return t;
}

RegisterOutcome LibraryRoom(const FigureLibrary& library) {
    if (!library.writable) return RegisterOutcome::LibraryUnreadable;
    const bool full =
        library.set.figures.size() >= kMaxOwnFigures || library.set.nextKind > kLastOwnFigureKind;
    return full ? RegisterOutcome::LibraryFull : RegisterOutcome::Registered;
}

// The longest notice, with every number at its widest, stays whole in one line.
constexpr std::size_t kWidestNumber = 11;
static_assert(kRegisteredBefore.size() + kMaxFigureName + kRegisteredMiddle.size() + kWidestNumber +
                  kRegisteredAfter.size() + kNotTakenBefore.size() + kWidestNumber +
                  kNotTakenAfter.size() + kDamagedBefore.size() + kWidestNumber +
                  kDamagedAfter.size() <=
              kMaxOutputLine);

std::string RegisteredNotice(const Registration& r) {
    std::string line(kRegisteredBefore);
    line += r.name;
    line += kRegisteredMiddle;
    AppendInt(line, r.kind);
    line += kRegisteredAfter;
    if (r.notTaken > 0) {
        line += kNotTakenBefore;
        AppendInt(line, r.notTaken);
        line += kNotTakenAfter;
    }
    if (r.damaged > 0) {
        line += kDamagedBefore;
        AppendInt(line, r.damaged);
        line += kDamagedAfter;
    }
    return line;
}

std::string Notice(const Registration& r) {
    switch (r.outcome) {
        case RegisterOutcome::Registered: return RegisteredNotice(r);
        case RegisterOutcome::NoExtent: return std::string(kNoExtent);
        case RegisterOutcome::TooManyElements: return std::string(kTooManyElements);
        case RegisterOutcome::LibraryFull: return std::string(kLibraryFull);
        case RegisterOutcome::LibraryUnreadable: return std::string(kLibraryUnreadable);
        case RegisterOutcome::LibraryNotSaved: return std::string(kLibraryNotSaved);
        default: return std::string(kNothingDrawable);
    }
}

}  // namespace

Registration RegisterSelection(const ExchangeState& exchange, FigureLibrary& library) {
    Registration r;
    r.damaged = library.damagedEntries;
    if (FirstRefusal(exchange.elements) != WriteBackRefusal::None) {
        r.outcome = RegisterOutcome::CannotKeepSelection;
        return r;
    }
    Taken taken = TakeSelection(exchange.elements);
    r.notTaken = taken.notTaken;
    Extent box;
    if (taken.tooMany) {
        r.outcome = RegisterOutcome::TooManyElements;
    } else if (!ElementsExtent(taken.elements, box)) {
        r.outcome = RegisterOutcome::NothingDrawable;
    } else if (!(box.high.x - box.low.x > kSameEps) || !(box.high.y - box.low.y > kSameEps)) {
        r.outcome = RegisterOutcome::NoExtent;
    } else {
        r.outcome = LibraryRoom(library);
    }
    if (r.outcome != RegisterOutcome::Registered) return r;

    for (OwnElement& el : taken.elements) MoveBy(el, box.low);
    r.kind = library.set.nextKind++;
    r.name = taken.name.empty() ? DefaultName(r.kind) : taken.name;
    library.set.figures.push_back({r.kind, r.name, box.high.x - box.low.x, box.high.y - box.low.y,
                                   std::move(taken.elements)});
    return r;
}

void WriteRegistration(const ExchangeState& exchange, const Registration& r, LineSink& out) {
    if (r.outcome == RegisterOutcome::CannotKeepSelection) return;
    Writer writer(exchange, out);
    if (exchange.bz) writer.AppendOutputLine("bz");
    WriteBackSelection(exchange.elements, writer);
    writer.WriteInitialAttributes();
    writer.AppendOutputLine(Notice(r));
}

namespace {

bool RegisterAndReplace(const RunPaths& paths, const WriteFaults& faults) {
    RunContext run;
    PrepareRun(run, paths);
    FigureLibrary library = LoadFigureLibrary(paths.figureLibrary);
    Registration r = RegisterSelection(run.exchange, library);
    if (r.outcome == RegisterOutcome::CannotKeepSelection) return false;
    // The library first: a figure the notice announces is one that was kept.
    if (r.outcome == RegisterOutcome::Registered &&
        !SaveFigureLibrary(library, paths.figureLibrary))
        r.outcome = RegisterOutcome::LibraryNotSaved;
    AtomicFile out(paths.exchangeFile, faults);
    BlockFormatter formatter(out);
    WriteRegistration(run.exchange, r, formatter);
    formatter.Finish();
    return out.Commit();
}

}  // namespace

int RunRegisterFigureMode(const RunPaths& paths, const WriteFaults& faults) {
    try {
        if (RegisterAndReplace(paths, faults)) return 0;
    } catch (const std::bad_alloc&) {
        // As any other failure: the host's file was never touched.
    }
    // Like the run along a selection: a file that still starts with "hq" is
    // the one state in which the host erases nothing.
    return 1;
}

}  // namespace tesra

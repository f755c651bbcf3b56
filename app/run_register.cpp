// Mode "5": turn the selection into an own figure, keep the drawing, say what happened.
#include "app/run_register.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "exchange/host_codes.h"
#include "exchange/number_format.h"
#include "exchange/write_back.h"
#include "exchange/writer.h"
#include "geom/helpers.h"
#include "notices_cp932.h"

namespace tesra {
namespace {

using Shape = OwnElement::Shape;

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
std::optional<OwnElement> FigureSolid(ElementKind kind, const JwwEntSolid& s) {
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

// The element as a figure element, in the drawing's coordinates.
std::optional<OwnElement> FigureElement(const ElementStore& store, ElementRef ref) {
    using Taken = std::optional<OwnElement>;
    return VisitElement(
        store, ref,
        Overloaded{
            [](const JwwEntLine& l) -> Taken {
                return MakeOwnElement(Shape::Line, l.header.color, {l.x1, l.y1, l.x2, l.y2});
            },
            [](const JwwEntCircle& c) -> Taken {
                return MakeOwnElement(Shape::Arc, c.header.color, {c.x, c.y, c.r, 0, 360, 1, 0});
            },
            [](const JwwEntArc& a) -> Taken {
                const auto& v = a.values;
                return MakeOwnElement(Shape::Arc, a.header.color,
                                      {v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
            },
            [](const SolidElement& s) -> Taken { return FigureSolid(s.kind, s.solid); },
            [](const auto&) -> Taken { return std::nullopt; },
        });
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
        if (ref.kind == ElementKind::Text && !named) {
            t.name = CleanFigureName(store.texts[static_cast<std::size_t>(ref.index)].text);
            named = true;
            continue;
        }
        const std::optional<OwnElement> el = FigureElement(store, ref);
        if (!el || !AllFinite(*el)) {
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

// The longest notice, with every number at its widest (and a space either
// side), stays whole in one line.
constexpr std::size_t kWidestNumber = 11 + 2;
static_assert(kRegisteredBefore.size() + kMaxFigureName + kRegisteredMiddle.size() + kWidestNumber +
                  kRegisteredAfter.size() + kNotTakenBefore.size() + kWidestNumber +
                  kNotTakenAfter.size() + kDamagedBefore.size() + kWidestNumber +
                  kDamagedAfter.size() <=
              kMaxOutputLine);

// A number set apart from the Japanese text around it.
void AppendSpacedInt(std::string& line, std::int64_t n) {
    line += ' ';
    AppendInt(line, n);
    line += ' ';
}

std::string RegisteredNotice(const Registration& r) {
    std::string line(kRegisteredBefore);
    line += r.name;
    line += kRegisteredMiddle;
    AppendSpacedInt(line, r.kind);
    line += kRegisteredAfter;
    if (r.notTaken > 0) {
        line += kNotTakenBefore;
        AppendSpacedInt(line, r.notTaken);
        line += kNotTakenAfter;
    }
    if (r.damaged > 0) {
        line += kDamagedBefore;
        AppendSpacedInt(line, r.damaged);
        line += kDamagedAfter;
    }
    return line;
}

std::string_view UnreadableNotice(LibraryProblem problem) {
    switch (problem) {
        case LibraryProblem::kByteOrderMark: return kLibraryHasBom;
        case LibraryProblem::kOtherVersion: return kLibraryOtherVersion;
        case LibraryProblem::kTooLarge: return kLibraryTooLarge;
        case LibraryProblem::kDanglingLink: return kLibraryLinkBroken;
        default: return kLibraryUnreadable;
    }
}

std::string_view NotSavedNotice(SaveFault fault) {
    switch (fault) {
        case SaveFault::kReadOnly: return kLibraryReadOnly;
        case SaveFault::kDanglingLink: return kLibraryLinkBroken;
        case SaveFault::kBusy: return kLibraryBusy;
        default: return kLibraryNotSaved;
    }
}

std::string Notice(const Registration& r) {
    switch (r.outcome) {
        case RegisterOutcome::Registered: return RegisteredNotice(r);
        case RegisterOutcome::NoExtent: return std::string(kNoExtent);
        case RegisterOutcome::TooManyElements: return std::string(kTooManyElements);
        case RegisterOutcome::NotFinite: return std::string(kNotFinite);
        case RegisterOutcome::LibraryFull: return std::string(kLibraryFull);
        case RegisterOutcome::LibraryUnreadable: return std::string(UnreadableNotice(r.problem));
        case RegisterOutcome::LibraryNotSaved: return std::string(NotSavedNotice(r.saveFault));
        default: return std::string(kNothingDrawable);
    }
}

// Sizes and coordinates from the box's corner: finite coordinates far apart
// can still be an infinite distance apart, which no later read would take.
bool FiniteOnceMoved(const std::vector<OwnElement>& elements, const Extent& box) {
    if (!std::isfinite(box.high.x - box.low.x) || !std::isfinite(box.high.y - box.low.y))
        return false;
    return std::all_of(elements.begin(), elements.end(), [&](OwnElement el) {
        MoveBy(el, box.low);
        return AllFinite(el);
    });
}

}  // namespace

Registration RegisterSelection(const ExchangeState& exchange, FigureLibrary& library) {
    Registration r;
    r.damaged = library.damagedEntries;
    r.problem = library.problem;
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
    } else if (!FiniteOnceMoved(taken.elements, box)) {
        r.outcome = RegisterOutcome::NotFinite;
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

namespace {

SelectionPlan RegistrationPlan(const Registration& r) {
    SelectionPlan plan;
    if (r.outcome == RegisterOutcome::CannotKeepSelection) {
        plan.outcome = SelectionPlan::Outcome::Refusal;
        return plan;
    }
    return NoticePlan(std::move(plan), Notice(r));
}

}  // namespace

void WriteRegistration(const ExchangeState& exchange, const Registration& r, LineSink& out) {
    WriteSelectionPlan(exchange, RegistrationPlan(r), out);
}

// The library first, under its lock: a figure the notice announces is one
// that was kept, and two registrations at once never give one number twice.
SelectionPlan PlanRegistration(const ExchangeState& exchange,
                               const std::filesystem::path& libraryPath) {
    // Before the lock: a library that cannot be locked must not lead to a
    // notice written over a selection that cannot go back whole.
    SelectionPlan writeBack = PlanWriteBack(exchange);
    if (writeBack.outcome == SelectionPlan::Outcome::Refusal) return writeBack;
    Registration r;
    const auto add = [&](FigureLibrary& library) {
        r = RegisterSelection(exchange, library);
        return r.outcome == RegisterOutcome::Registered;
    };
    r.saveFault = UpdateFigureLibrary(libraryPath, add);
    if (r.outcome != RegisterOutcome::CannotKeepSelection && r.saveFault != SaveFault::kNone)
        r.outcome = RegisterOutcome::LibraryNotSaved;
    return RegistrationPlan(r);
}

}  // namespace tesra

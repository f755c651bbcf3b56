// The library of the user's own figures. One line per element, numbers as the
// shortest text that reads back to the same double:
//
//   tesra-figures 1                      the format and its version
//   next 109                             the number the next figure gets
//   figure 107 12.5 4 樹木               number, box width and height, name
//   l 1 0 0 12.5 0                       line: pen, x1 y1 x2 y2
//   a 1 6.25 2 2 0 360 1 0               arc: pen, cx cy r start end flatness tilt (degrees)
//   p 255 0 0 1 0 1 1                    solid triangle or quad: RGB, corners
//   e 255 6 2 1 1 0 0 6.28318 100        solid ellipse (100) or part (5): RGB,
//                                        cx cy r flatness tilt angle1 angle2 code (radians)
//   r 255 6 2 1 1 0 0 6.28318 0.5        solid ring: RGB, cx cy r flatness tilt a1 a2 rInner
//   end
//
// Coordinates are the figure's own units from its box's lower left corner.
// An entry with any line that does not read (a bad number, a box without
// extent, a number given twice, more than the bounds allow, no "end") is
// skipped and kept as it was; so is any other line the reader does not know.
// Blank lines are ignored. Saving writes unknown lines before the figures and
// damaged entries after them: so a stray "end" can never complete an entry
// that had none, and a saved file reads back as the same library. A file
// that starts otherwise (another version, a byte order mark, anything else)
// is not ours and is never written over; nor is one cut at the read bounds.

#include "settings/figure_library.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

#include "exchange/host_codes.h"
#include "exchange/line_tokens.h"
#include "geom/cp932.h"
#include "geom/helpers.h"
#include "settings/library_text.h"

namespace tesra {
namespace {

constexpr std::string_view kHeaderKey = "tesra-figures";
constexpr std::string_view kHeader = "tesra-figures 1";
// UTF-8, UTF-16 little- and big-endian, as editors put them in front.
constexpr std::string_view kByteOrderMarks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
constexpr std::string_view kNextKey = "next";
constexpr std::string_view kFigureKey = "figure";
constexpr std::string_view kEndKey = "end";

struct ShapeKey {
    OwnElement::Shape shape;
    std::string_view key;
};
constexpr ShapeKey kShapeKeys[] = {
    {OwnElement::Shape::Line, "l"},         {OwnElement::Shape::Arc, "a"},
    {OwnElement::Shape::SolidPolygon, "p"}, {OwnElement::Shape::SolidEllipse, "e"},
    {OwnElement::Shape::SolidRing, "r"},
};

// The next space-separated field, removed from text.
std::string_view TakeField(std::string_view& text) {
    const std::size_t end = text.find(' ');
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return field;
}

std::optional<OwnElement> ReadElement(std::string_view line) {
    const std::string_view key = TakeField(line);
    const auto shape = std::find_if(std::begin(kShapeKeys), std::end(kShapeKeys),
                                    [key](const ShapeKey& k) { return k.key == key; });
    if (shape == std::end(kShapeKeys)) return std::nullopt;
    OwnElement el;
    el.shape = shape->shape;
    const auto color = WholeInt(TakeField(line));
    if (!color) return std::nullopt;
    el.color = *color;
    while (!line.empty()) {
        if (el.count == static_cast<std::int32_t>(el.values.size())) return std::nullopt;
        const auto v = WholeFiniteReal(TakeField(line));
        if (!v) return std::nullopt;
        el.values[static_cast<std::size_t>(el.count++)] = *v;
    }
    if (!ValueCountFits(el.shape, el.count)) return std::nullopt;
    const bool knownCode = el.shape != OwnElement::Shape::SolidEllipse ||
                           el.values[7] == kFullEllipseCode || el.values[7] == kHalfEllipseCode;
    return knownCode ? std::optional(el) : std::nullopt;
}

bool IsKind(std::int32_t kind) { return kind >= kFirstOwnFigureKind && kind <= kLastOwnFigureKind; }

// "figure N W H name": the number alone when the rest does not read.
struct FigureLine {
    std::optional<std::int32_t> kind;
    std::optional<OwnFigure> figure;
};

FigureLine ReadFigureLine(std::string_view rest) {
    FigureLine out;
    out.kind = WholeInt(TakeField(rest));
    if (!out.kind || !IsKind(*out.kind)) return {};
    const auto w = WholeFiniteReal(TakeField(rest)), h = WholeFiniteReal(TakeField(rest));
    if (!w || !h || !(*w > 0) || !(*h > 0) || rest.find('\0') != std::string_view::npos) return out;
    out.figure = OwnFigure{*out.kind, std::string(rest), *w, *h, {}};
    return out;
}

class LibraryReader {
public:
    FigureLibrary Read(std::string_view bytes) {
        const std::optional<std::string_view> other =
            ReadAfterHeader(bytes, kHeader, [this](std::string_view line) { Take(line); });
        if (other) return NotOurs(FirstLineProblem(*other));
        if (entry_.IsOpen()) CloseEntry(false);
        std::sort(lib_.set.figures.begin(), lib_.set.figures.end(),
                  [](const OwnFigure& a, const OwnFigure& b) { return a.kind < b.kind; });
        lib_.set.nextKind =
            std::clamp(std::max(next_, highest_ + 1), kFirstOwnFigureKind, kLastOwnFigureKind + 1);
        return std::move(lib_);
    }

private:
    static LibraryProblem FirstLineProblem(std::string_view line) {
        for (const std::string_view mark : kByteOrderMarks)
            if (line.starts_with(mark)) return LibraryProblem::kByteOrderMark;
        std::string_view rest = line;
        if (TakeField(rest) == kHeaderKey) return LibraryProblem::kOtherVersion;
        return LibraryProblem::kNotALibrary;
    }

    static FigureLibrary NotOurs(LibraryProblem problem) {
        FigureLibrary lib;
        lib.writable = false;
        lib.problem = problem;
        return lib;
    }

    void Take(std::string_view line) {
        std::string_view rest = line;
        const std::string_view key = TakeField(rest);
        if (key == kFigureKey) {
            if (entry_.IsOpen()) CloseEntry(false);
            return OpenEntry(line, rest);
        }
        if (!entry_.IsOpen()) {
            if (line.empty()) return;
            if (key == kNextKey && WholeInt(rest)) {
                next_ = std::max(next_, *WholeInt(rest));
                return;
            }
            lib_.unknownLines.emplace_back(line);
            return;
        }
        entry_.Add(line);
        if (key == kEndKey && rest.empty()) return CloseEntry(true);
        if (line.empty() || !entry_.Good()) return;
        const auto el = ReadElement(line);
        if (!el || figure_.elements.size() >= kMaxOwnFigureElements) return entry_.Spoil();
        figure_.elements.push_back(*el);
    }

    void OpenEntry(std::string_view line, std::string_view rest) {
        const FigureLine head = ReadFigureLine(rest);
        if (head.kind) highest_ = std::max(highest_, *head.kind);
        entry_.Open(line, head.figure.has_value());
        if (head.figure) figure_ = *head.figure;
    }

    void CloseEntry(bool ended) {
        const bool good = ended && entry_.Good() && !figure_.elements.empty() &&
                          lib_.set.figures.size() < kMaxOwnFigures && NewKind(figure_.kind);
        if (good) lib_.set.figures.push_back(std::move(figure_));
        entry_.Close(good, {lib_.damagedEntries, lib_.damagedLines});
        figure_ = {};
    }

    // False for a number already read: the entry that gives it again is kept aside.
    bool NewKind(std::int32_t kind) {
        const auto at = std::lower_bound(kinds_.begin(), kinds_.end(), kind);
        if (at != kinds_.end() && *at == kind) return false;
        kinds_.insert(at, kind);
        return true;
    }

    FigureLibrary lib_;
    std::vector<std::int32_t> kinds_;  // sorted
    EntryLines entry_;
    OwnFigure figure_;
    std::int32_t next_ = kFirstOwnFigureKind;
    std::int32_t highest_ = kFirstOwnFigureKind - 1;
};

std::string_view KeyOf(OwnElement::Shape shape) {
    for (const ShapeKey& k : kShapeKeys)
        if (k.shape == shape) return k.key;
    return "l";
}

void AppendFigure(std::string& out, const OwnFigure& f) {
    std::string line(kFigureKey);
    line += ' ';
    AppendWhole(line, f.kind);
    line += ' ';
    AppendShortest(line, f.width);
    line += ' ';
    AppendShortest(line, f.height);
    line += ' ';
    line += f.name;
    AppendLine(out, line);
    for (const OwnElement& el : f.elements) {
        line.clear();  // not `line = …`: GCC 12 warns of an overlap there at -O3 (a known false
                       // alarm)
        line += KeyOf(el.shape);
        line += ' ';
        AppendWhole(line, el.color);
        for (std::int32_t i = 0; i < el.count; ++i) {
            line += ' ';
            AppendShortest(line, el.values[static_cast<std::size_t>(i)]);
        }
        AppendLine(out, line);
    }
    AppendLine(out, kEndKey);
}

}  // namespace

FigureLibrary ParseFigureLibrary(std::string_view bytes) { return LibraryReader().Read(bytes); }

std::string SerializeFigureLibrary(const FigureLibrary& library) {
    std::string out;
    AppendLine(out, kHeader);
    std::string next(kNextKey);
    next += ' ';
    AppendWhole(next, library.set.nextKind);
    AppendLine(out, next);
    for (const std::string& line : library.unknownLines) AppendLine(out, line);
    for (const OwnFigure& f : library.set.figures) AppendFigure(out, f);
    for (const std::string& line : library.damagedLines) AppendLine(out, line);
    return out;
}

namespace {

FigureLibrary Unreadable(LibraryProblem problem) {
    FigureLibrary library;
    library.writable = false;
    library.problem = problem;
    return library;
}

SaveFault Save(const FigureLibrary& library, const std::filesystem::path& path,
               const WriteFaults& faults) {
    if (!library.writable) return SaveFault::kCannotWrite;
    AtomicFile file(path, faults);
    file.AppendLines(SerializeFigureLibrary(library));
    return file.Commit() ? SaveFault::kNone : file.Fault();
}

}  // namespace

FigureLibrary LoadFigureLibrary(const std::filesystem::path& path, ReadBounds bounds) {
    if (IsDanglingLink(path)) return Unreadable(LibraryProblem::kDanglingLink);
    std::string bytes;
    const ReadOutcome outcome = ReadBoundedFile(path, bytes, bounds);
    std::error_code ec;
    if (outcome == ReadOutcome::kCannotOpen && !std::filesystem::exists(path, ec) && !ec) {
        FigureLibrary missing;
        missing.problem = LibraryProblem::kMissing;
        return missing;
    }
    FigureLibrary library = ParseFigureLibrary(bytes);
    if (outcome == ReadOutcome::kRead || library.problem != LibraryProblem::kNone) return library;
    // What could not be read whole must not be written over.
    library.writable = false;
    library.problem =
        outcome == ReadOutcome::kOverBound ? LibraryProblem::kTooLarge : LibraryProblem::kReadError;
    return library;
}

bool SaveFigureLibrary(const FigureLibrary& library, const std::filesystem::path& path,
                       const WriteFaults& faults) {
    return Save(library, path, faults) == SaveFault::kNone;
}

SaveFault UpdateFigureLibrary(const std::filesystem::path& path,
                              const std::function<bool(FigureLibrary&)>& change,
                              const WriteFaults& faults) {
    const FileLock lock(path);
    FigureLibrary library = LoadFigureLibrary(path);
    if (!change(library)) return SaveFault::kNone;
    if (lock.Fault() != SaveFault::kNone) return lock.Fault();
    return Save(library, path, faults);
}

std::string CleanFigureName(std::string_view text) {
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

bool ApplyFigureEdit(FigureLibrary& library, const FigureEdit& edit) {
    auto& figures = library.set.figures;
    const auto at = std::find_if(figures.begin(), figures.end(),
                                 [&](const OwnFigure& f) { return f.kind == edit.kind; });
    if (at == figures.end()) return false;
    if (edit.remove)
        figures.erase(at);
    else
        at->name = CleanFigureName(edit.name);
    return true;
}

bool SaveFigureEdits(const std::filesystem::path& path, std::span<const FigureEdit> edits,
                     const WriteFaults& faults) {
    const auto apply = [&](FigureLibrary& library) {
        for (const FigureEdit& edit : edits) ApplyFigureEdit(library, edit);
        return true;
    };
    return UpdateFigureLibrary(path, apply, faults) == SaveFault::kNone;
}

}  // namespace tesra

#pragma once
// The user's own figures, kept beside the executable in a text file that a
// person can read and compare (CP932, CR LF; the format is described at the
// top of figure_library.cpp). Nothing in it is ever lost: an entry that does
// not read is skipped for drawing but kept, byte for byte, when the library
// is saved again; a file that is not a library of this version is never
// overwritten.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "figures/own_figures.h"

namespace tesra {

// Why a library file is not, or not wholly, a library this version may
// write over; what a run can tell the user.
enum class LibraryProblem {
    kNone,
    kMissing,        // no file yet: an empty library, which registering starts
    kByteOrderMark,  // saved by an editor as Unicode: names and lines would not read
    kOtherVersion,   // "tesra-figures N" of another version
    kNotALibrary,    // any other first line
    kReadError,
    kTooLarge,      // over the bounds below: the figures before them are drawn
    kDanglingLink,  // a link to nothing: not an empty library, or numbers would restart
};

// A library is read no further than this. The lines allow twice the largest
// library the figure bounds let a run keep (a header, and per figure its line,
// its elements and "end"), so that damaged entries beside it still fit; the
// bytes allow 64 per line of that, far above a line's usual 20 to 40, and
// keep a file without line feeds from being read whole.
inline constexpr std::size_t kLibraryMostLines =
    2 * (2 + kMaxOwnFigures * (kMaxOwnFigureElements + 2));
inline constexpr std::size_t kLibraryMostBytes = std::size_t{256} << 20;
inline constexpr ReadBounds kLibraryBounds{kLibraryMostLines, kLibraryMostBytes};

struct FigureLibrary {
    OwnFigureSet set;
    // What did not read, as it was: lines outside any entry, and the lines of
    // damaged entries. Saved before and after the figures, where neither can
    // change how the other reads.
    std::vector<std::string> unknownLines;
    std::vector<std::string> damagedLines;
    std::int32_t damagedEntries = 0;
    // False for a file this version cannot take as its own (another format,
    // a later version, a read error): registering then refuses to save.
    bool writable = true;
    LibraryProblem problem = LibraryProblem::kNone;
};

FigureLibrary ParseFigureLibrary(std::string_view bytes);
std::string SerializeFigureLibrary(const FigureLibrary& library);  // lines with CR LF

// A missing file is an empty library (kMissing); a dangling link is not.
FigureLibrary LoadFigureLibrary(const std::filesystem::path& path,
                                ReadBounds bounds = kLibraryBounds);
// Replaces the file as a whole or leaves the old one exactly as it was.
bool SaveFigureLibrary(const FigureLibrary& library, const std::filesystem::path& path,
                       const WriteFaults& faults = {});

// The one way a library is changed: under the file's lock, so that
// registrations and the dialog's edits at the same time neither lose one
// another's figures nor give a number twice, the file is read as it is now,
// `change` edits it and says whether to save, and it is saved whole. A lock
// that cannot be had still lets `change` see the library but saves nothing.
// kNone when saved or when change declined.
SaveFault UpdateFigureLibrary(const std::filesystem::path& path,
                              const std::function<bool(FigureLibrary&)>& change,
                              const WriteFaults& faults = {});

// Names are cut to this many bytes, so that the registration's notice fits
// in one line.
inline constexpr std::size_t kMaxFigureName = 80;
// A name as it may stand in a line of the library and of a notice: without
// control bytes, broken characters or spaces at either end, cut to whole
// characters. CP932 in and out.
std::string CleanFigureName(std::string_view cp932);

// A change the settings dialog makes to an own figure: a new name (CP932,
// cleaned) or its removal. Its number is never given again.
struct FigureEdit {
    std::int32_t kind = 0;
    bool remove = false;
    std::string name;
};
// False when the library has no such figure.
bool ApplyFigureEdit(FigureLibrary& library, const FigureEdit& edit);
// Reads the library file as it is now, so that figures registered meanwhile
// stay, applies the edits and saves it whole; or leaves it as it was.
bool SaveFigureEdits(const std::filesystem::path& path, std::span<const FigureEdit> edits,
                     const WriteFaults& faults = {});

}  // namespace tesra

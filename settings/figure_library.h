#pragma once
// The user's own figures, kept beside the executable in a text file that a
// person can read and compare (CP932, CR LF; the format is described at the
// top of figure_library.cpp). Nothing in it is ever lost: an entry that does
// not read is skipped for drawing but kept, byte for byte, when the library
// is saved again; a file that is not a library of this version is never
// overwritten.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "figures/own_figures.h"

namespace tesra {

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
};

FigureLibrary ParseFigureLibrary(std::string_view bytes);
std::string SerializeFigureLibrary(const FigureLibrary& library);  // lines with CR LF

// A missing file is an empty library.
FigureLibrary LoadFigureLibrary(const std::filesystem::path& path);
// Replaces the file as a whole or leaves the old one exactly as it was.
bool SaveFigureLibrary(const FigureLibrary& library, const std::filesystem::path& path,
                       const WriteFaults& faults = {});

}  // namespace tesra

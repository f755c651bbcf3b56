#pragma once
// What the figure library and the symbol library share as text files: a
// header line naming the format, entries from an opening key to "end", and
// numbers written as the shortest text that reads back as the same value.
// An entry that is damaged or cut short is set aside whole, line for line,
// so that a save writes it back as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/line_tokens.h"

namespace tesra {

void AppendShortest(std::string& out, double v);
void AppendWhole(std::string& out, std::int32_t v);
// One line of a library file, ended by CR LF.
void AppendLine(std::string& out, std::string_view line);

// Entries set aside: counted, their lines kept in the order read.
struct LinesAside {
    std::int32_t& entries;
    std::vector<std::string>& lines;
};

// The lines of the entry being read, as they stand.
class EntryLines {
public:
    void Open(std::string_view line, bool good) {
        open_ = true;
        good_ = good;
        lines_.assign(1, std::string(line));
    }
    void Add(std::string_view line) { lines_.emplace_back(line); }
    void Spoil() { good_ = false; }
    bool IsOpen() const { return open_; }
    bool Good() const { return good_; }
    // Ends the entry; unless it is taken, its lines go aside.
    void Close(bool taken, LinesAside aside);

private:
    bool open_ = false;
    bool good_ = false;
    std::vector<std::string> lines_;
};

// Feeds `take` every line after the header. When the first line that is not
// blank is anything but the header, feeds nothing and returns that line.
template <class Take>
std::optional<std::string_view> ReadAfterHeader(std::string_view bytes, std::string_view header,
                                                Take&& take) {
    bool first = true;
    while (!bytes.empty()) {
        const std::string_view line = TakeLine(bytes);
        if (first && !line.empty()) {
            first = false;
            if (line != header) return line;
            continue;
        }
        take(line);
    }
    return std::nullopt;
}

}  // namespace tesra

#include "settings/library_text.h"

#include <charconv>
#include <iterator>

namespace tesra {

void AppendShortest(std::string& out, double v) {
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), v);
    out.append(text, result.ptr);
}

void AppendWhole(std::string& out, std::int32_t v) {
    char text[16];
    const auto result = std::to_chars(std::begin(text), std::end(text), v);
    out.append(text, result.ptr);
}

void AppendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

void EntryLines::Close(bool taken, LinesAside aside) {
    open_ = false;
    if (!taken) {
        ++aside.entries;
        for (std::string& l : lines_) aside.lines.push_back(std::move(l));
    }
    lines_.clear();
}

}  // namespace tesra

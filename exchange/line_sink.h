#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/numeric_line.h"

namespace tesra {

// Where the command writer's finished lines go: the exchange file or memory.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void Append(std::string_view line) = 0;
    // An element line: formatted at once and appended, unless the sink keeps
    // the numbers to format them later.
    virtual void AppendNumeric(const NumericLine& line) {
        char text[kMaxNumericLineText + 16];
        Append({text, static_cast<std::size_t>(WriteNumericLine(text, line) - text)});
    }
    // Whole lines at once, each ending in CR LF (no line holds CR LF itself):
    // a sink that writes bytes takes them as they are.
    virtual void AppendLines(std::string_view lines) {
        while (!lines.empty()) {
            const std::size_t end = lines.find("\r\n");
            Append(lines.substr(0, end));
            lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 2);
        }
    }
};

class VectorSink final : public LineSink {
public:
    void Append(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

}  // namespace tesra

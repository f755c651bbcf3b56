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
};

class VectorSink final : public LineSink {
public:
    void Append(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

}  // namespace tesra

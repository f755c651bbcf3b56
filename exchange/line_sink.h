#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesra {

// Where the command writer's finished lines go: the exchange file or memory.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void Append(std::string_view line) = 0;
};

class VectorSink final : public LineSink {
public:
    void Append(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

}  // namespace tesra

#pragma once
// The command writer: attribute commands that suppress repeats, element
// commands that drop degenerate (or non-finite) geometry. It owns the syntax of
// every output line.

#include <cstdint>
#include <string_view>

#include "exchange/draw_target.h"
#include "exchange/exchange_state.h"
#include "exchange/host_codes.h"
#include "exchange/line_sink.h"

namespace tesra {

class Writer final : public DrawTarget {
public:
    // Starts as after ResetWriterState: every attribute writer emits once.
    // Reads only lwSeen and the initial attributes from what the reader kept.
    Writer(const ExchangeState& input, LineSink& sink) : input_(input), sink_(sink) {}

    void AppendOutputLine(std::string_view text);
    void ResetWriterState();

    void WriteLayerGroup(std::int32_t g);
    void WriteLayer(std::int32_t l);
    void WriteLineColor(std::int32_t color, std::int32_t mode) override;
    void WriteLineType(std::int32_t t, std::int32_t mode);
    void WriteLineWidth(std::int32_t w);
    void WriteSolidColor(std::int32_t rgb) override;
    // Layer group, layer, pen, line type and width as the host's file began
    // with them: where every drawing starts, after anything written back.
    void WriteInitialAttributes();

    void EmitLine(Point a, Point b) override;
    void EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                 double tiltDeg) override;
    void EmitSolidTriangle(Point a, Point b, Point c) override;
    void EmitSolidQuad(Point a, Point b, Point c, Point d) override;
    void EmitSolidArc(std::int32_t code, Point centre, double r, double flatness, double tilt,
                      double angle1, double angle2) override;
    void EmitSolidRing(Point centre, double rOuter, double flatness, double tilt, double angle1,
                       double angle2, double rInner) override;

private:
    const ExchangeState& input_;
    LineSink& sink_;
    CurrentAttributes cur_;
    FirstSeenFlags force_;  // set: the next call of that writer emits whatever its value
    bool forceSolidColor_ = true;
};

}  // namespace tesra

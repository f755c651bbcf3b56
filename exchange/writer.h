#pragma once
// The command writer: attribute commands that suppress repeats, element
// commands that drop degenerate (or non-finite) geometry. It owns the syntax of
// every output line.

#include <cstdint>
#include <optional>
#include <string>
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

    // The selection written back exactly as read: unlike the Emit… methods
    // nothing is dropped, since the host erases whatever is not written again.
    void WriteBack(const JwwEntLine& l);
    void WriteBack(const JwwEntCircle& c);
    void WriteBack(const JwwEntArc& a);
    void WriteBack(const JwwEntText& t);
    void WriteBack(const JwwEntPoint& p);
    void WriteBack(const JwwEntPointData& p);
    void WriteBack(const SolidElement& s);
    // The attributes only texts and points carry, each written when it
    // changes: text kind (or free size), font and text color; point number.
    void WriteTextAttributes(const JwwEntText& t);
    void WritePointNumber(std::int32_t n);

private:
    void WriteTextKind(const JwwEntText& t);

    const ExchangeState& input_;
    LineSink& sink_;
    CurrentAttributes cur_;
    FirstSeenFlags force_;  // set: the next call of that writer emits whatever its value
    bool forceSolidColor_ = true;
    // What the host assumes before any "cn", "cc" or "pn" line: a host that
    // never sends them never gets them back.
    std::optional<std::string> textKind_;  // the last "cn" line
    std::optional<std::string> font_;
    std::int32_t textColor_ = 0;
    std::int32_t pointNumber_ = 1;
};

// A text's own line and its font line, which write-back checks against the
// host's line limit before writing anything.
std::string TextElementLine(const JwwEntText& t);
std::string FontLine(std::string_view fontName);

}  // namespace tesra

#pragma once
// Between the layout and the command writer: gives each part of a row (the
// figures, the upper, middle and lower guide lines) the pen the row sets for
// it. The layout says which part it draws (DrawTarget::BeginPart); this layer
// writes the `lc`, `lt` (and, where the host passes widths, `lw`) lines that
// an element needs just before it, so that each attribute line appears only
// where the pen really changes. A part left at the current pen gets the
// attributes the host passed in.

#include <array>

#include "exchange/exchange_state.h"
#include "exchange/writer.h"
#include "figures/pattern.h"

namespace tesra {

// The host's line colours and line types a part may name; another number
// reads as the current pen.
inline constexpr std::int32_t kMostPenColor = 9;     // 補助線色
inline constexpr std::int32_t kMostPenLineType = 9;  // 補助線種

bool HasOwnPens(const PatternRow& row);

class PenTarget final : public DrawTarget {
public:
    // host: the attributes the host's file began with, in force when the
    // layout starts (Writer::WriteInitialAttributes was called).
    PenTarget(Writer& writer, const PatternRow& row, const Attributes& host);

    // What the layout draws into: the writer itself for a row whose parts all
    // take the current pen, so that such a run writes exactly what it always did.
    DrawTarget& Target();

    void BeginPart(RowPart part) override;
    void EmitLine(Point a, Point b) override;
    void EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                 double tiltDeg) override;
    void EmitSolidTriangle(Point a, Point b, Point c) override;
    void EmitSolidQuad(Point a, Point b, Point c, Point d) override;
    void EmitSolidArc(std::int32_t code, Point centre, double r, double flatness, double tilt,
                      double angle1, double angle2) override;
    void EmitSolidRing(Point centre, double rOuter, double flatness, double tilt, double angle1,
                       double angle2, double rInner) override;
    void WriteSolidColor(std::int32_t rgb) override;
    void WriteLineColor(std::int32_t color, std::int32_t mode) override;

private:
    enum class Drawn { Outline, Solid };
    void TakePen(Drawn drawn);

    Writer& writer_;
    std::array<RowPen, kRowPartCount> pens_;
    Attributes host_;
    bool ownPens_;
    RowPart part_ = RowPart::Figures;
    // A pen the figure chose itself (an own figure's element colour, the
    // solid colour pen): in force until the figure hands back the current pen.
    bool figurePen_ = false;
};

}  // namespace tesra

#pragma once
// Turns the lines of an exchange file, as a drawing run writes them, into a
// scene. Records understood (fields separated by spaces):
//
//   bz, lg<hex>, ly<hex>, lw<n>             accepted, nothing to draw
//   lt<n>                                   line type of the following lines and arcs
//   lc<n>                                   line color n (1..9 pen colors)
//   lc10 <bbggrr>                           solid color, also the line color
//   hch h1 … h10 / hcc c1 … c10             height and pen color of text kinds 1..10
//                                             (the host's own defaults until given)
//   cn<n> / cn0 w h spacing color           text kind of the following texts; kind 0
//                                             carries its own size and color
//   x1 y1 x2 y2                             line
//   ci cx cy r                              circle
//   ci cx cy r start end flatness tilt      arc, degrees, counter-clockwise
//   sl x1 y1 x2 y2 [x3 y3 [x4 y4]]          filled polygon (2 corners: a line)
//   sc cx cy r flatness tilt a1 a2 code     radians; code 100 whole, 5 a1 + a2
//   so cx cy rOuter flatness tilt a1 a2 rIn filled ring
//   pt x y / pt x y a b code                point, in the line color
//   ch x y dx dy "text                      text from (x, y) in the direction
//     (also cv cs cr co cp ct ck cz c2)       (dx, dy), in its kind's height and pen
//   he… / h#…                               message, shown as a caption
//   hpN x y (also hpN-, hpNln, hpNci, hpNch) indicated point N, a numbered mark
//   hq, hk, hs, hn, hcw, hcd, hzs, file=, #  the host's header, nothing to draw
//
// Text sizes are taken as they stand, in the file's unit: with "bz", as every
// batch file of this program writes, texts and coordinates are both paper
// millimetres.
//
// Anything else, and any record with a field that is not a finite number of
// sane size, is skipped: input may be arbitrary bytes. Input of which not one
// line is understood is no exchange file at all, which UnderstoodLines tells.

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/svg/scene.h"

namespace tesra::svg {

// Longer lines cannot come from the command writer; they are skipped whole,
// so that reading never holds more than this of one line.
inline constexpr std::size_t kMaxLineBytes = 4096;
// Caps that bound memory and output for any input.
inline constexpr std::size_t kMaxShapes = 1'000'000;
inline constexpr std::size_t kMaxCaptions = 100;
// The host numbers its points up to 99 per prompt; far more is noise.
inline constexpr std::size_t kMaxIndicatedPoints = 10'000;
// Coordinates beyond this are not drawings but noise; refusing them keeps
// every sum and product of the renderer finite.
inline constexpr double kMaxMagnitude = 1e12;

class SceneReader {
public:
    explicit SceneReader(std::size_t maxShapes = kMaxShapes) : maxShapes_(maxShapes) {}

    // One line without its LF; a trailing CR is dropped here.
    void ReadLine(std::string_view line);
    void ReadStream(std::istream& in);
    // Shapes that come from no file (frames, labels).
    void AddShape(Shape shape);

    const Scene& scene() const { return scene_; }
    // Lines read as a record of an exchange file, drawn or not.
    std::size_t UnderstoodLines() const { return understoodLines_; }
    Scene TakeScene() { return std::move(scene_); }

private:
    struct TextKind {
        double height = 0.0;
        std::int32_t pen = 0;
    };
    using FieldList = std::span<const std::string_view>;

    bool ReadRecord(std::string_view line);
    bool ReadAttribute(FieldList fields);
    bool ReadIndicatedPoint(FieldList fields);
    void ReadColor(std::string_view keyword, std::string_view rgbField, std::size_t fields);
    void ReadTextKindColumn(FieldList fields);
    void ReadTextKind(FieldList fields);
    bool ReadText(std::string_view line, std::size_t quote);
    Rgb LineRgb() const;

    std::size_t maxShapes_;
    std::int32_t lineColor_ = 1;
    std::int32_t lineType_ = kSolidLineType;
    Rgb solidRgb_ = 0;
    // Index 0 is the free size of "cn0"; 1..10 the host's table.
    std::array<TextKind, 11> textKinds_ = {{{2.0, 1},
                                            {2.0, 1},
                                            {2.5, 1},
                                            {3.0, 2},
                                            {4.0, 2},
                                            {5.0, 3},
                                            {6.0, 3},
                                            {7.0, 4},
                                            {8.0, 4},
                                            {9.0, 5},
                                            {10.0, 5}}};
    std::size_t textKind_ = 1;
    std::size_t understoodLines_ = 0;
    Scene scene_;
};

Scene ReadScene(std::string_view text);

// A finite decimal number within kMaxMagnitude, the whole field.
std::optional<double> ParseNumber(std::string_view field);
std::optional<std::int32_t> ParseInteger(std::string_view field);

// The color of host pen n; numbers without a pen of their own get grey.
Rgb PenColor(std::int32_t pen);
// The host writes colors as 0x00BBGGRR; out-of-range values are black,
// as the command writer clamps them.
Rgb FromHostRgb(std::int64_t bbggrr);

// CP932 text as UTF-8: ASCII and half-width katakana kept, double-byte
// characters through the C library's CP932 converter ("?" for one it does
// not know, or a lead byte with nothing after it), control bytes dropped.
std::string CaptionText(std::string_view cp932);

}  // namespace tesra::svg

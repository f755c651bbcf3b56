#pragma once
// Turns the lines of an exchange file, as a drawing run writes them, into a
// scene. Records understood (fields separated by spaces):
//
//   bz, lg<hex>, ly<hex>, lt<n>, lw<n>      accepted, nothing to draw
//   lc<n>                                   line color n (1..9 pen colors)
//   lc10 <bbggrr>                           solid color, also the line color
//   x1 y1 x2 y2                             line
//   ci cx cy r                              circle
//   ci cx cy r start end flatness tilt      arc, degrees, counter-clockwise
//   sl x1 y1 x2 y2 [x3 y3 [x4 y4]]          filled polygon (2 corners: a line)
//   sc cx cy r flatness tilt a1 a2 code     radians; code 100 whole, 5 a1 + a2
//   so cx cy rOuter flatness tilt a1 a2 rIn filled ring
//   he… / h#…                               message, shown as a caption
//
// Anything else, and any record with a field that is not a finite number of
// sane size, is skipped: input may be arbitrary bytes.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
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
    Scene TakeScene() { return std::move(scene_); }

private:
    void ReadColor(std::string_view keyword, std::string_view rgbField, std::size_t fields);
    Rgb LineRgb() const;

    std::size_t maxShapes_;
    std::int32_t lineColor_ = 1;
    Rgb solidRgb_ = 0;
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

// CP932 message text as UTF-8: ASCII and half-width katakana kept, other
// double-byte characters shown as "?", control bytes dropped.
std::string CaptionText(std::string_view cp932);

}  // namespace tesra::svg

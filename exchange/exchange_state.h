#pragma once
// Everything read from the host's exchange file, and the current drawing
// attributes that the reader moves while reading.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/element_store.h"

namespace tesra {

struct TextKind {
    double width = 3.0, height = 3.0, spacing = 0.0;
    std::int32_t color = 2;
};

struct Attributes {
    std::int32_t layerGroup = 0;
    std::int32_t layer = 0;
    std::int32_t lineColor = 1;
    std::int32_t lineType = 1;
    std::int32_t lineWidth = 0;
    std::int32_t textKind = 1;
    double cn0Width = 2.0, cn0Height = 2.0, cn0Spacing = 0.0;
    std::int32_t cn0Color = 1;
};

// Set until the first line of its kind is read. The command writer keeps a set
// of its own as "force the next command".
struct FirstSeenFlags {
    bool layerGroup = true;
    bool layer = true;
    bool lineColor = true;
    bool lineType = true;
    bool lineWidth = true;
    bool textKind = true;
};

// Current attributes: moved by the reader; the command writer keeps its own.
struct CurrentAttributes : Attributes {
    std::int32_t textColor = 0;
    std::string fontName =
        "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>";  // "<ＭＳ ゴシック>"
    std::int32_t pointNumber = 1;
    std::int32_t solidColor = 0;
};

enum class PointKind : std::int32_t { Plain = 0, Dash = 1, Ln = 2, Ci = 3, Ch = 4 };

struct IndicatedPoint {
    bool present = false;
    double x = 0.0, y = 0.0;
    PointKind kind = PointKind::Plain;
};

inline constexpr int kIndicatedPointSlots = 100;  // index 0 unused, 1..99

struct ExchangeState {
    // Header values
    double hk = 0.0;
    std::string fileName;
    std::array<double, 16> scales{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::array<double, 2> paperSize{1189.0, 841.0};
    std::array<double, 4> hn{};
    std::vector<std::int32_t> rgb = std::vector<std::int32_t>(8, 0);
    bool bz = false;

    std::array<TextKind, 11> textKinds{};  // 1..10 used

    Attributes initial;
    std::string initialFontName;
    FirstSeenFlags firstSeen;
    bool lwSeen = false;
    CurrentAttributes cur;

    // Element context, read by the element store
    std::int32_t pendingIndicated = 0;
    std::int32_t pendingFlags = 0;
    std::int32_t polylineCounter = 0;
    bool inPolyline = false;
    bool afterMsg = false;

    std::array<std::string, 16> layerGroupNames{};
    std::array<std::int32_t, 16> layerGroupValues{};
    std::array<std::array<std::string, 16>, 16> layerNames{};
    std::array<std::array<std::int32_t, 16>, 16> layerValues{};

    std::array<IndicatedPoint, kIndicatedPointSlots> points{};
    std::int32_t pointCount = 0;

    ElementStore elements;
};

}  // namespace tesra

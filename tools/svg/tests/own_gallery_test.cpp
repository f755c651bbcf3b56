// The own-figure sheet: every sample registers, fills its own box, and is
// repeated along each site in its own solid colors.
#include "tools/svg/own_gallery.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/svg/svg_render.h"

namespace tesra::svg {
namespace {

TEST(OwnGallery, EverySampleRegistersAndFillsItsOwnBox) {
    const Scene scene = BuildOwnFigureGallery();
    const std::size_t samples = OwnFigureSamples().size();
    std::size_t at = 0, frames = 0;
    while (at < scene.shapes.size() && frames < samples) {
        const auto* frame = std::get_if<FrameShape>(&scene.shapes[at++].geometry);
        if (!frame) continue;
        ++frames;
        Scene figure;
        while (at < scene.shapes.size() &&
               !std::holds_alternative<LabelShape>(scene.shapes[at].geometry))
            figure.shapes.push_back(scene.shapes[at++]);
        const Bounds drawn = SceneBounds(figure);
        ASSERT_FALSE(drawn.empty) << frames;
        // The box is where the elements reach, on every side.
        EXPECT_NEAR(drawn.minX, frame->low.x, 1e-9) << frames;
        EXPECT_NEAR(drawn.maxX, frame->high.x, 1e-9) << frames;
        EXPECT_NEAR(drawn.minY, frame->low.y, 1e-9) << frames;
        EXPECT_NEAR(drawn.maxY, frame->high.y, 1e-9) << frames;
    }
    EXPECT_EQ(frames, samples);
}

TEST(OwnGallery, SitesRepeatTheFiguresInTheirOwnColors) {
    const Scene scene = BuildOwnFigureGallery();
    // 0x00BBGGRR in the samples: green 2129952, grey 4210752, red 255.
    std::size_t green = 0, grey = 0, red = 0;
    for (const Shape& s : scene.shapes) {
        if (std::holds_alternative<LabelShape>(s.geometry) ||
            std::holds_alternative<LineShape>(s.geometry) ||
            std::holds_alternative<ArcShape>(s.geometry))
            continue;
        green += s.color == 0x208020 ? 1 : 0;
        grey += s.color == 0x404040 ? 1 : 0;
        red += s.color == 0xFF0000 ? 1 : 0;
    }
    // One in each tile, and many along each site.
    EXPECT_GT(green, 10u);
    EXPECT_GT(grey, 20u);
    EXPECT_GT(red, 10u);
    const std::string svg = RenderSvg(scene);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
}

}  // namespace
}  // namespace tesra::svg

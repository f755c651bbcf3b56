// The figure chooser's grouping, layout at every scaling, keyboard and scrolling.
#include "settings/dialog/figure_grid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "figures/figures.h"

namespace tesra {
namespace {

// The built-in kinds and own figures 107, 110 and a deleted 108, in list order.
FigureGridContent FullContent(std::int32_t current = 0) {
    std::vector<GridCell> items;
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind)
        items.push_back({kind, std::string(FigureName(kind)), false, true});
    items.push_back({107, "post", true, true});
    items.push_back({110, "図形110", true, true});
    items.push_back({108, "(削除された図形 108)", false, false});
    return GroupFigures(items, current);
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(FigureGrid, GroupsEveryFigureOnceByFamilyWithOwnFiguresLast) {
    const FigureGridContent content = FullContent();
    ASSERT_EQ(content.sections.size(), BuiltInFigureFamilies().size() + 1);
    for (std::size_t s = 0; s < BuiltInFigureFamilies().size(); ++s) {
        const auto& family = BuiltInFigureFamilies()[s];
        EXPECT_EQ(content.sections[s].title, family.title);
        ASSERT_EQ(content.sections[s].cells.size(), family.kinds.size());
        for (std::size_t i = 0; i < family.kinds.size(); ++i)
            EXPECT_EQ(content.sections[s].cells[i].kind, family.kinds[i]);
    }
    // The built-in kinds each once: figure_grid.cpp checks the families as it compiles.
    const GridSection& own = content.sections.back();
    EXPECT_EQ(own.title, kOwnFiguresTitle);
    std::vector<std::int32_t> ownKinds;
    for (const GridCell& cell : own.cells) ownKinds.push_back(cell.kind);
    EXPECT_EQ(ownKinds, (std::vector<std::int32_t>{107, 110, 108}));  // in list order

    // Families without a figure in the list are left out.
    const GridCell star{47, "☆", false, true};
    const FigureGridContent one = GroupFigures({&star, 1}, 47);
    ASSERT_EQ(one.sections.size(), 1u);
    EXPECT_EQ(one.sections[0].title, "星");
    EXPECT_EQ(OpenedCell(FullContent(110), -1), kFigureKindCount + 1);
    EXPECT_EQ(OpenedCell(FullContent(110), 107), kFigureKindCount);
    EXPECT_EQ(OpenedCell(FullContent(999), 998), 0);
}

TEST(FigureGrid, LayoutKeepsCellsApartInTwelveColumnsAtEveryScaling) {
    const FigureGridContent content = FullContent();
    const FigureGridLayout at96 = LayOutFigureGrid(content, 96, 10000);
    for (const unsigned dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        const FigureGridLayout layout = LayOutFigureGrid(content, dpi, 10000);
        ASSERT_EQ(layout.cells.size(), content.Cells().size());
        ASSERT_EQ(layout.titles.size(), content.sections.size());
        EXPECT_EQ(layout.rules.size(), content.sections.size() - 1);
        std::set<int> columns;
        for (std::size_t i = 0; i < layout.cells.size(); ++i) {
            const PixelRect& c = layout.cells[i];
            columns.insert(c.left);
            EXPECT_GT(c.left, layout.titles.front().left);
            EXPECT_LE(c.right, layout.width);
            EXPECT_LE(c.bottom, layout.contentHeight);
            for (std::size_t j = 0; j < i; ++j) ASSERT_FALSE(Overlap(c, layout.cells[j]));
        }
        EXPECT_EQ(columns.size(), static_cast<std::size_t>(kGridColumns));
        // Each family starts a row beside its title, below the rule.
        std::size_t first = 0;
        for (std::size_t s = 0; s < content.sections.size(); ++s) {
            EXPECT_EQ(layout.titles[s].top, layout.cells[first].top);
            if (s > 0) {
                EXPECT_LT(layout.rules[s - 1], layout.titles[s].top);
            }
            first += content.sections[s].cells.size();
        }
        // Everything fits: nothing scrolls, the status line follows the cells.
        EXPECT_EQ(layout.viewHeight, layout.contentHeight);
        EXPECT_EQ(layout.status.top, layout.viewHeight);
        // Sizes follow the scaling, to a pixel per cell.
        EXPECT_NEAR(layout.width, at96.width * dpi / 96.0, kGridColumns + 2);
    }
}

TEST(FigureGrid, KeysMoveAsInAList) {
    const FigureGridContent content = FullContent();
    const FigureGridLayout layout = LayOutFigureGrid(content, 96, 10000);
    const int last = static_cast<int>(layout.cells.size()) - 1;
    // Cells: 線 0..10 (one row), 斜線・山形 11..38 (rows of 12, 12, 4), 三角形 39..50, …
    const struct {
        int from;
        GridKey key;
        int to;
    } cases[] = {
        {0, GridKey::Left, 0},    {0, GridKey::Right, 1},       {10, GridKey::Right, 11},
        {11, GridKey::Left, 10},  {last, GridKey::Right, last}, {0, GridKey::Up, 0},
        {0, GridKey::Down, 11},   {10, GridKey::Down, 21},      {11, GridKey::Up, 0},
        {21, GridKey::Up, 10},    {33, GridKey::Down, 38},      {38, GridKey::Down, 42},
        {47, GridKey::Up, 38},    {last, GridKey::Down, last},  {25, GridKey::Home, 0},
        {25, GridKey::End, last}, {25, GridKey::PageDown, 39},  {25, GridKey::PageUp, 11},
        {11, GridKey::PageUp, 0}, {0, GridKey::PageUp, 0},      {last, GridKey::PageDown, last},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " key " << static_cast<int>(c.key));
        EXPECT_EQ(MoveInGrid(content, layout, c.from, c.key), c.to);
    }
}

TEST(FigureGrid, ScrollingShowsTheFocusedCellWholeWhereRoomIsShort) {
    const FigureGridContent content = FullContent();
    for (const int maxHeight : {0, 100, 250, 400}) {
        SCOPED_TRACE(maxHeight);
        const FigureGridLayout layout = LayOutFigureGrid(content, 120, maxHeight);
        ASSERT_LT(layout.viewHeight, layout.contentHeight);
        EXPECT_GE(layout.viewHeight, 2 * (layout.cells[0].bottom - layout.cells[0].top));
        int scroll = 0;
        // Down and up again through every row.
        for (const GridKey key : {GridKey::End, GridKey::Home}) {
            int cell = MoveInGrid(content, layout, 0, key);
            scroll = ScrollToShow(layout, cell, scroll);
            for (int step = 0; step < 40; ++step) {
                const PixelRect& r = layout.cells[static_cast<std::size_t>(cell)];
                ASSERT_GE(r.top, scroll);
                ASSERT_LE(r.bottom, scroll + layout.viewHeight);
                ASSERT_EQ(scroll, ClampScroll(layout, scroll));
                cell = MoveInGrid(content, layout, cell,
                                  key == GridKey::Home ? GridKey::Down : GridKey::Up);
                scroll = ScrollToShow(layout, cell, scroll);
            }
        }
        EXPECT_EQ(ScrollToShow(layout, 0, 99999), 0);  // the first row shows its margin
    }
}

TEST(FigureGrid, StatusGivesTheWholeNameAndTheKeysThatApply) {
    const GridCell builtIn{83, std::string(FigureName(83)), false, true};
    const GridCell own{107, "樹木", true, true};
    EXPECT_EQ(GridStatusName(builtIn), FigureName(83));
    EXPECT_EQ(GridStatusName(own), "樹木(登録番号 107)");
    EXPECT_EQ(GridStatusKeys(builtIn, true).find("F2"), std::string::npos);
    EXPECT_NE(GridStatusKeys(own, true).find("F2: 名前の変更"), std::string::npos);
    EXPECT_EQ(GridStatusKeys(own, false).find("F2"), std::string::npos);
    EXPECT_NE(GridStatusKeys(own, false).find("できません"), std::string::npos);
}

}  // namespace
}  // namespace tesra

// The figure lists, the preview band and its caption with the user's own figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>
#include <string>
#include <utility>

#include "fake_dialog_platform.h"
#include "figures/figures.h"
#include "painted_points.h"
#include "settings/dialog/preview.h"
#include "settings/dialog/settings_dialog.h"
#include "test_support.h"

namespace tesra {
namespace {

using test::FakeDialogPlatform;

// A figure twice as wide as tall: its lines, from corner to corner.
OwnFigure Crossed(std::int32_t kind, std::string name, int lines = 1) {
    OwnFigure figure{kind, std::move(name), 4.0, 2.0, {}};
    figure.elements.push_back({OwnElement::Shape::Line, 1, 4, {0, 0, 4, 2}});
    if (lines > 1) figure.elements.push_back({OwnElement::Shape::Line, 1, 4, {0, 2, 4, 0}});
    return figure;
}

// Numbers 108 and 109 were given to figures since deleted.
FigureLibrary GappedLibrary(std::int32_t damaged = 0) {
    FigureLibrary library;
    library.set.figures = {Crossed(107, "post"), Crossed(110, "")};
    library.set.nextKind = 112;
    library.damagedEntries = damaged;
    return library;
}

struct OwnRun {
    test::ScratchDir dir;
    std::filesystem::path storeFile = dir / "tesra.dat";
    PatternStore store;
    FakeDialogPlatform ui;
    std::optional<SettingsDialog> dialog;

    // With a library file, OK saves renames and deletions to it.
    void Open(const PatternStore& saved, FigureLibrary library,
              std::filesystem::path libraryFile = {}) {
        SavePatternStore(saved, storeFile);
        store = LoadPatternStore(storeFile);
        dialog.emplace(ui, store, storeFile, std::move(library), std::move(libraryFile));
        dialog->Fill(false);
    }
    PatternStore Saved() const { return LoadPatternStore(storeFile); }
};

constexpr std::size_t kListed = kFigureKindCount + 2;  // the built-in kinds and two own ones

// Row 1's list, the second figure's list of row 3 (the row the band and the
// area show) and the band's caption, for a built-in kind, own figures named
// and unnamed, and numbers of deleted figures. OK reads every item back as
// the number it was filled from.
TEST(SettingsDialogOwnFigures, ListsAndCaptionShowThemAfterTheBuiltInOnesAndOkKeepsTheirNumbers) {
    const struct {
        std::int32_t kind;
        std::int32_t item;
        std::string text;
        std::int32_t picture;
    } cases[] = {
        {5, 5, std::string(FigureName(5)), 5},
        {107, 107, "cp932:post", 107},
        {110, 108, "図形110", 110},  // unnamed
        {108, 109, "(削除された図形 108)", -1},
        {500, 109, "(削除された図形 500)", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        OwnRun run;
        PatternStore s;
        s.selectedRow = 3;
        s.rows[0].figureKind = c.kind;
        s.rows[2].figureKind = c.kind;
        s.rows[2].figureB = c.kind;
        run.Open(s, GappedLibrary(2));
        const std::size_t size = kListed + (c.picture < 0 ? 1 : 0);
        for (const std::string list : {"ComboBoxZ1", "ComboBoxZB"}) {
            SCOPED_TRACE(list);
            const auto& shown = run.ui.Named(list);
            ASSERT_EQ(shown.items.size(), size);
            ASSERT_EQ(shown.pictures.size(), size);
            EXPECT_EQ(shown.selected, c.item);
            EXPECT_EQ(shown.items[static_cast<std::size_t>(c.item)], c.text);
            EXPECT_EQ(shown.pictures[static_cast<std::size_t>(c.item)], c.picture);
            for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind)
                ASSERT_EQ(shown.pictures[static_cast<std::size_t>(kind)], kind);
        }
        // Another row's list has no item for a number it does not use.
        EXPECT_EQ(run.ui.Named("ComboBoxZ2").items.size(), kListed);
        EXPECT_EQ(run.ui.previews.back().caption,
                  "行3を表示中\n使用中: 行3\n" + c.text + "\n破損図形 2件");
        // The band and the items paint from the dialog's own copy of the library.
        ASSERT_NE(run.ui.ownFigures, nullptr);
        EXPECT_NE(run.ui.ownFigures->Find(110), nullptr);
        run.dialog->Button1Click();
        const PatternStore saved = run.Saved();
        EXPECT_EQ(saved.rows[0].figureKind, c.kind);
        EXPECT_EQ(saved.rows[2].figureB, c.kind);
    }
    // A row without a figure still hears of the damaged entries.
    OwnRun none;
    PatternStore s;
    s.rows[0].figureKind = -1;
    none.Open(s, GappedLibrary(1));
    EXPECT_EQ(none.ui.previews.back().caption, "行1を表示中\n使用中: 行1\n破損図形 1件");
}

// The figure chooser opened from row 1's figure box.
using Action = FigureGridAnswer::Action;

struct ChooserRun : OwnRun {
    std::filesystem::path libraryFile = dir / "tesra_figures.txt";

    // Row 1 (in use) draws 107, row 4 draws 110 as its second figure; the
    // library file is the gapped library unless the test wrote one.
    void Open(std::deque<FigureGridAnswer> answers, bool yes = false) {
        if (!std::filesystem::exists(libraryFile)) {
            ASSERT_TRUE(SaveFigureLibrary(GappedLibrary(), libraryFile));
        }
        PatternStore s;
        s.rows[0].figureKind = 107;
        s.rows[3].figureB = 110;
        OwnRun::Open(s, LoadFigureLibrary(libraryFile), libraryFile);
        ui.gridAnswers = std::move(answers);
        ui.yes = yes;
        dialog->OpenFigureGrid(ui.Find("ComboBoxZ1"));
    }
    FigureLibrary SavedLibrary() const { return LoadFigureLibrary(libraryFile); }
    std::string FocusedKindName(std::size_t opening) const {
        const auto& grid = ui.grids.at(opening);
        return grid.content.Cells().at(static_cast<std::size_t>(grid.focusCell))->name;
    }
};

TEST(FigureChooser, OpensAtTheBoxsFigureAndChoosingSetsTheBoxAndTheBand) {
    ChooserRun run;
    run.Open({{Action::Choose, 47, {}}});
    ASSERT_EQ(run.ui.grids.size(), 1u);
    EXPECT_EQ(run.ui.grids[0].content.current, 107);
    EXPECT_EQ(run.FocusedKindName(0), "cp932:post");
    EXPECT_TRUE(run.ui.grids[0].content.ownEditable);
    EXPECT_EQ(run.ui.Named("ComboBoxZ1").selected, 47);
    EXPECT_EQ(run.ui.previews.back().row.figureKind, 47);
    run.dialog->Button1Click();
    EXPECT_EQ(run.Saved().rows[0].figureKind, 47);
}

TEST(FigureChooser, RenameAndDeleteShowAtOnceAndReachTheLibraryOnlyOnOk) {
    const struct {
        std::deque<FigureGridAnswer> answers;
        bool yes;
        bool ok;
        std::vector<std::string> names;  // of the saved library's figures
        std::size_t questions;
    } cases[] = {
        // Renamed; a name CP932 cannot hold is refused; an empty one becomes the number.
        {{{Action::Rename, 107, " 樹木 "}, {Action::Rename, 110, "\xF0\x9F\x8C\xB2"}},
         false,
         true,
         {"樹木", ""},
         0},
        {{{Action::Rename, 107, ""}}, false, true, {"図形107", ""}, 0},
        // Deleted: 110 is drawn by row 4 and 107 by row 1, so each asks first.
        {{{Action::Delete, 110, {}}}, false, true, {"post", ""}, 1},
        {{{Action::Delete, 110, {}}, {Action::Delete, 107, {}}}, true, true, {}, 2},
        // Cancel keeps the file as it was.
        {{{Action::Rename, 107, "x"}, {Action::Delete, 110, {}}}, true, false, {"post", ""}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.size());
        ChooserRun run;
        run.Open(c.answers, c.yes);
        ASSERT_EQ(run.ui.grids.size(), c.answers.size() + 1);  // reopened after each, then left
        EXPECT_EQ(run.ui.questions.size(), c.questions);
        c.ok ? run.dialog->Button1Click() : run.dialog->Button2Click();
        const FigureLibrary saved = run.SavedLibrary();
        ASSERT_EQ(saved.set.figures.size(), c.names.size());
        for (std::size_t i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(saved.set.figures[i].name, c.names[i]);
        EXPECT_EQ(saved.set.nextKind, 112);  // numbers are never given again
        // Rows keep their numbers, deleted or not.
        EXPECT_EQ(run.Saved().rows[0].figureKind, 107);
        EXPECT_EQ(run.Saved().rows[3].figureB, 110);
    }
}

TEST(FigureChooser, DeletedFigureShowsAsDeletedAndTheQuestionNamesItsRows) {
    ChooserRun run;
    run.Open({{Action::Delete, 107, {}}}, true);
    ASSERT_EQ(run.ui.questions.size(), 1u);
    EXPECT_EQ(run.ui.questions[0], SettingsDialog::DeleteQuestion("cp932:post", 107, {1}));
    EXPECT_NE(run.ui.questions[0].find("行1で使われています"), std::string::npos);
    const auto& box = run.ui.Named("ComboBoxZ1");
    EXPECT_EQ(box.items.at(static_cast<std::size_t>(box.selected)), "(削除された図形 107)");
    EXPECT_EQ(run.ui.Named("ComboBoxZ2").items.size(), kListed - 1);
    // The reopened chooser shows it without a picture, and not as editable.
    const auto cells = run.ui.grids[1].content.Cells();
    const auto deleted = std::find_if(cells.begin(), cells.end(),
                                      [](const GridCell* cell) { return cell->kind == 107; });
    ASSERT_NE(deleted, cells.end());
    EXPECT_FALSE((*deleted)->drawn);
    EXPECT_FALSE((*deleted)->own);
}

// The band's caption names the figure by its new name as soon as it is
// renamed; a refused name comes back in the reopened chooser to be corrected.
TEST(FigureChooser, RenameShowsInTheCaptionAtOnceAndARefusedNameIsKept) {
    const std::string refused = "\xF0\x9F\x8C\xB2 木";
    ChooserRun run;
    run.Open({{Action::Rename, 107, "樹木"}, {Action::Rename, 107, refused}});
    ASSERT_EQ(run.ui.grids.size(), 3u);
    EXPECT_EQ(run.ui.grids[1].content.renameText, "");
    EXPECT_EQ(run.ui.grids[2].content.renameText, refused);
    EXPECT_EQ(run.ui.messages.size(), 1u);
    EXPECT_EQ(run.ui.previews.back().caption, "行1を表示中\n使用中: 行1\ncp932:樹木");
}

// One row or several: the question's words follow, and it ends as a question.
TEST(FigureChooser, DeleteQuestionSpeaksOfOneRowOrOfSeveral) {
    const struct {
        std::vector<int> rows;
        const char* rowsWord;
    } cases[] = {{{4}, "この行は"}, {{1, 4}, "これらの行は"}};
    for (const auto& c : cases) {
        const std::string q = SettingsDialog::DeleteQuestion("post", 107, c.rows);
        EXPECT_NE(q.find(c.rowsWord), std::string::npos) << q;
        EXPECT_TRUE(q.ends_with("削除しますか？")) << q;
    }
}

TEST(FigureChooser, EditsKeepFiguresRegisteredMeanwhileAndSayWhenTheyCannotBeSaved) {
    ChooserRun run;
    run.Open({{Action::Rename, 107, "a"}});
    FigureLibrary meanwhile = run.SavedLibrary();
    meanwhile.set.figures.push_back(Crossed(112, "new"));
    meanwhile.set.nextKind = 113;
    ASSERT_TRUE(SaveFigureLibrary(meanwhile, run.libraryFile));
    run.dialog->Button1Click();
    const FigureLibrary saved = run.SavedLibrary();
    ASSERT_EQ(saved.set.figures.size(), 3u);
    EXPECT_EQ(saved.set.figures[0].name, "a");
    EXPECT_EQ(saved.set.figures[2].name, "new");
    EXPECT_TRUE(run.ui.messages.empty());

    // A library of another format: nothing can be renamed, and nothing is written.
    ChooserRun other;
    test::WriteBytes(other.libraryFile, "something else\r\n");
    other.Open({{Action::Rename, 107, "b"}});
    EXPECT_FALSE(other.ui.grids.back().content.ownEditable);
    other.dialog->Button1Click();
    EXPECT_EQ(test::ReadBytes(other.libraryFile), "something else\r\n");
}

// OK over a read-only store or library keeps each file as it was, byte for
// byte, and says which could not be saved.
TEST(FigureChooser, ReadOnlyFilesAreKeptAndOkSaysSo) {
    const struct {
        bool storeReadOnly, libraryReadOnly;
    } cases[] = {{true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.storeReadOnly) + std::to_string(c.libraryReadOnly));
        ChooserRun run;
        run.Open({{Action::Rename, 107, "a"}});
        const auto readOnly = std::filesystem::perms::owner_read;
        if (c.storeReadOnly) std::filesystem::permissions(run.storeFile, readOnly);
        if (c.libraryReadOnly) std::filesystem::permissions(run.libraryFile, readOnly);
        const std::string store = test::ReadBytes(run.storeFile);
        const std::string library = test::ReadBytes(run.libraryFile);
        run.dialog->Button1Click();
        EXPECT_EQ(run.ui.messages.size(),
                  (c.storeReadOnly ? 1u : 0u) + (c.libraryReadOnly ? 1u : 0u));
        if (c.storeReadOnly) {
            EXPECT_EQ(test::ReadBytes(run.storeFile), store);
            EXPECT_EQ(std::filesystem::status(run.storeFile).permissions(), readOnly);
        }
        // The rename reaches a library that may be written, and no other.
        EXPECT_EQ(test::ReadBytes(run.libraryFile) == library, c.libraryReadOnly);
    }
}

TEST(OwnFigurePictures, ItemAndBandDrawTheFiguresOfTheGivenSet) {
    OwnFigureSet one, two;
    one.figures = {Crossed(107, "a")};
    two.figures = {Crossed(107, "a", 2)};
    const PreviewBox item{3.0, 2.0, 24.0, 13.0};
    const PreviewDrawing picture = FigurePicture(107, item, &one);
    ASSERT_EQ(CountInk(picture, PreviewInk::Pen), 1u);
    EXPECT_EQ(CountInk(FigurePicture(107, item, nullptr), PreviewInk::Pen), 0u);
    // Its own proportions, whatever the cell's.
    const auto& line = *std::find_if(picture.begin(), picture.end(),
                                     [](const auto& p) { return p.ink == PreviewInk::Pen; });
    const Point a = line.points.at(0), b = line.points.at(1);
    EXPECT_NEAR(std::fabs(b.x - a.x), 2 * std::fabs(b.y - a.y), 1e-9);

    // Kept pictures are those drawn afresh, wherever the box stands, and are
    // drawn anew from another set.
    FigurePictures kept(&one);
    for (const PreviewBox at : {item, PreviewBox{40.5, 7.25, 24.0, 13.0}, item}) {
        const PreviewDrawing fresh = FigurePicture(107, at, &one);
        const PreviewDrawing shown = kept.Picture(107, at);
        ASSERT_EQ(shown.size(), fresh.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            ASSERT_EQ(shown[i].points.size(), fresh[i].points.size());
            for (std::size_t k = 0; k < shown[i].points.size(); ++k) {
                EXPECT_NEAR(shown[i].points[k].x, fresh[i].points[k].x, 1e-9);
                EXPECT_NEAR(shown[i].points[k].y, fresh[i].points[k].y, 1e-9);
            }
        }
    }
    kept.Use(&two);
    EXPECT_EQ(CountInk(kept.Picture(107, item), PreviewInk::Pen), 2u);

    PatternRow row;
    row.figureKind = 107;
    const PreviewBox band{108.0, 320.0, 663.0, 88.0};
    const std::size_t once = CountInk(PatternPreview(row, {}, band, &one), PreviewInk::Pen);
    EXPECT_GT(once, 2u);
    EXPECT_EQ(CountInk(PatternPreview(row, {}, band, &two), PreviewInk::Pen), 2 * once);
}

}  // namespace
}  // namespace tesra

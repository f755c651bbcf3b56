// The symbol chooser in the settings dialog: a chosen symbol fills the row
// with every setting, the row saved as a symbol, renames and deletes saved on
// OK only, and a damaged file that still opens.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_dialog_platform.h"
#include "settings/dialog/row_settings_area.h"
#include "settings/dialog/settings_dialog.h"
#include "test_support.h"

namespace tesra {
namespace {

using test::FakeDialogPlatform;
using Action = FigureGridAnswer::Action;

struct SymbolRun {
    test::ScratchDir dir;
    std::filesystem::path storeFile = dir / "tesra.dat";
    std::filesystem::path symbolFile = dir / "tesra_symbols.txt";
    PatternStore store;
    FakeDialogPlatform ui;
    std::optional<SettingsDialog> dialog;

    void Open(const std::string& symbolBytes) {
        PatternStore saved;
        saved.selectedRow = 4;
        SavePatternStore(saved, storeFile);
        store = LoadPatternStore(storeFile);
        test::WriteBytes(symbolFile, symbolBytes);
        dialog.emplace(ui, store, storeFile);
        dialog->UseSymbols(LoadSymbolLibrary(symbolFile), symbolFile);
        dialog->Fill(false);
    }
    PatternRow SavedRow(int row) const { return LoadPatternStore(storeFile).rows[row - 1]; }
};

std::string FileOf(std::vector<Symbol> symbols, const std::string& damaged = "") {
    SymbolLibrary lib;
    lib.symbols = std::move(symbols);
    return SerializeSymbolLibrary(lib) + damaged;
}

Symbol Named(const std::string& name, const PatternRow& row = {}) {
    Symbol s;
    s.name = name;
    s.row = row;
    return s;
}

const std::string kDamaged = "symbol broken\r\nrow 1 2\r\nend\r\n";

TEST(SymbolsDialog, ChosenSymbolFillsEveryFieldOfTheShownRowAndOkKeepsIt) {
    SymbolRun run;
    run.Open(FileOf({Named("a"), Named("boundary", test::RowAwayFromDefaults())}, kDamaged));
    run.ui.symbolAnswers = {{Action::Choose, 1, ""}};
    run.dialog->OpenSymbolGrid();
    ASSERT_EQ(run.ui.symbolGrids.size(), 1u);
    const auto& cells = run.ui.symbolGrids[0].content.grid.Cells();
    ASSERT_EQ(cells.size(), 2u);  // the damaged entry is left out, the dialog opens
    EXPECT_EQ(cells[1]->name, "cp932:boundary");
    EXPECT_EQ(run.ui.previews.back().row, test::RowAwayFromDefaults());
    run.ui.typed = "copy";  // the row as shown, area included, saved as a symbol
    run.dialog->RegisterRowAsSymbol();
    run.dialog->Button1Click();
    EXPECT_EQ(run.SavedRow(4), test::RowAwayFromDefaults());
    EXPECT_EQ(run.SavedRow(1), PatternRow{});
    EXPECT_EQ(test::ReadBytes(run.symbolFile),
              FileOf({Named("a"), Named("boundary", test::RowAwayFromDefaults()),
                      Named("copy", test::RowAwayFromDefaults())},
                     kDamaged));
}

// What the user does in the chooser and with the dialog: the rows stored and
// the symbol file afterwards.
TEST(SymbolsDialog, EditsReachTheFileOnOkOnly) {
    struct EditCase {
        const char* what;
        std::vector<FigureGridAnswer> answers;
        std::optional<std::string> typed;  // a row saved as a symbol under this name
        bool ok;
        std::vector<std::string> names;
        bool yes = true;  // the answer to the question before a delete
    };
    const EditCase cases[] = {
        {"chooser left: nothing", {}, std::nullopt, true, {"a", "b"}},
        {"renamed and deleted, OK",
         {{Action::Rename, 0, "c"}, {Action::Delete, 1, ""}},
         std::nullopt,
         true,
         {"c"}},
        {"renamed, Cancel", {{Action::Rename, 0, "c"}}, std::nullopt, false, {"a", "b"}},
        {"delete not confirmed", {{Action::Delete, 1, ""}}, std::nullopt, true, {"a", "b"}, false},
        {"a name the file cannot hold",
         {{Action::Rename, 0, "\xF0\x9F\x98\x80"}},
         std::nullopt,
         true,
         {"a", "b"}},
        {"the row saved as a symbol, OK", {}, "mine", true, {"a", "b", "mine"}},
        {"the row saved as a symbol, Cancel", {}, "mine", false, {"a", "b"}},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        SymbolRun run;
        run.Open(FileOf({Named("a"), Named("b")}));
        run.ui.symbolAnswers.assign(c.answers.begin(), c.answers.end());
        run.ui.yes = c.yes;
        run.dialog->OpenSymbolGrid();
        if (c.typed) {
            run.ui.typed = c.typed;
            run.dialog->RegisterRowAsSymbol();
        }
        if (c.ok)
            run.dialog->Button1Click();
        else
            run.dialog->Button2Click();
        std::vector<std::string> names;
        for (const Symbol& s : LoadSymbolLibrary(run.symbolFile).symbols) names.push_back(s.name);
        EXPECT_EQ(names, c.names);
    }
}

// A name the file cannot hold is refused with a message, and the user gets
// the text back to correct: in the name box when registering, in the chooser's
// rename box when renaming.
TEST(SymbolsDialog, ARefusedNameComesBackAsTyped) {
    const std::string emoji = "a\xF0\x9F\x98\x80";
    SymbolRun run;
    run.Open(FileOf({Named("a"), Named("b")}));
    run.ui.typed = emoji;
    run.ui.typedLater = {"  ", "ok"};
    run.dialog->Pressed(run.ui.Find(kRegisterSymbolButton));
    EXPECT_EQ(run.ui.initialTexts, (std::vector<std::string>{"", emoji, "  "}));
    run.ui.symbolAnswers = {{Action::Rename, 1, emoji}, {Action::Rename, 1, "c"}};
    run.dialog->Pressed(run.ui.Find(kSymbolFromButton));
    ASSERT_EQ(run.ui.symbolGrids.size(), 3u);
    EXPECT_EQ(run.ui.symbolGrids[1].content.grid.renameText, emoji);
    EXPECT_EQ(run.ui.symbolGrids[1].focusCell, 1);
    EXPECT_EQ(run.ui.messages.size(), 3u);
    run.dialog->Button1Click();
    std::vector<std::string> names;
    for (const Symbol& s : LoadSymbolLibrary(run.symbolFile).symbols) names.push_back(s.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "c", "ok"}));
}

// A chooser without cells would open and close unseen.
TEST(SymbolsDialog, NoSymbolsIsSaidInsteadOfAnEmptyChooser) {
    SymbolRun run;
    run.Open(FileOf({}, kDamaged));
    run.dialog->Pressed(run.ui.Find(kSymbolFromButton));
    EXPECT_TRUE(run.ui.symbolGrids.empty());
    EXPECT_EQ(run.ui.messages.size(), 1u);
}

TEST(SymbolsDialog, AFileOfAnotherVersionIsOnlyRead) {
    SymbolRun run;
    const std::string later = "tesra-symbols 2\r\nsymbol x\r\nrow 0 1 1 0 0 1 0 0 0\r\nend\r\n";
    run.Open(later);
    run.ui.typed = "mine";
    run.dialog->RegisterRowAsSymbol();
    run.dialog->Button1Click();
    EXPECT_EQ(test::ReadBytes(run.symbolFile), later);
    EXPECT_EQ(run.ui.messages.size(), 1u);
}

}  // namespace
}  // namespace tesra

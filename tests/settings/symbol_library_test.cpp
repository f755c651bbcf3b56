// The symbol library: round trips, what a damaged file keeps, and the symbols
// that ship with the program.
#include "settings/symbol_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "figures/own_figures.h"
#include "test_support.h"

using namespace std::string_literals;

namespace tesra {
namespace {

using test::ScratchDir;

Symbol Named(const std::string& name) {
    Symbol s;
    s.name = name;
    return s;
}

// Every field of a row away from its default, and doubles that only the
// shortest round-trip text keeps.
Symbol EveryFieldSymbol() {
    Symbol s;
    s.name = test::Sjis("人工斜面 A");
    s.description = test::Sjis("長さは例");
    s.row = test::RowAwayFromDefaults();
    s.row.figureKind = 108;
    s.row.figureB = 107;
    s.row.width = 0.1 + 0.2;
    s.row.height = 1e-300;
    s.row.interval = 1.0 / 3;
    s.row.pitch = 0.1 + 0.2;
    s.needs = {{108, test::Sjis("樹木")}, {107, ""}};
    s.laterKeys = {"shadow=1"};
    return s;
}

TEST(SymbolLibrary, SavedThenLoadedEverySymbolIsTheSame) {
    ScratchDir dir;
    const auto path = dir / "tesra_symbols.txt";
    EXPECT_TRUE(LoadSymbolLibrary(path).writable);  // missing: empty and writable
    SymbolLibrary lib;
    lib.symbols = {EveryFieldSymbol(), Named("plain")};
    ASSERT_TRUE(SaveSymbolLibrary(lib, path));
    const SymbolLibrary back = LoadSymbolLibrary(path);
    EXPECT_EQ(back.symbols, lib.symbols);
    EXPECT_EQ(back.damagedEntries, 0);
    EXPECT_TRUE(test::ReadBytes(path).starts_with("tesra-symbols 1\r\nsymbol "));
    lib.writable = false;  // another version's file is never written over
    const std::string before = test::ReadBytes(path);
    EXPECT_FALSE(SaveSymbolLibrary(lib, path));
    lib.writable = true;
    EXPECT_FALSE(SaveSymbolLibrary(lib, path, WriteFaults{10}));
    EXPECT_EQ(test::ReadBytes(path), before);
}

const std::string kHead = "tesra-symbols 1\r\n";
const std::string kGood = "symbol ok\r\nrow 0 10 10 0 0 1 0 0 0\r\nend\r\n";

// Whatever is wrong with an entry, before or after a good one, the good one
// reads and the damaged one is counted and kept.
const std::string kDamagedEntries[] = {
    "symbol x\r\nrow 0 10 10 0 0 1 0 0\r\nend\r\n",      // eight fields
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0 0\r\nend\r\n",  // ten fields
    "symbol x\r\nrow 0 10 nan 0 0 1 0 0 0\r\nend\r\n",   // not finite
    "symbol x\r\nrow 0.5 10 10 0 0 1 0 0 0\r\nend\r\n",  // a code that is no integer
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0\r\nrow 0 1 1 0 0 1 0 0 0\r\nend\r\n",  // row twice
    "symbol x\r\nnote y\r\nend\r\n",                                            // no row
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0\r\npitch=0\r\nend\r\n",                // a key's bad value
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0\r\nrhythm=LX\r\nend\r\n",
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0\r\nfigure_color=red\r\nend\r\n",
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0\r\nhello\r\nend\r\n",       // an unknown line
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0\r\nneeds 12 x\r\nend\r\n",  // a built-in kind
    "symbol a\0b\r\nrow 0 10 10 0 0 1 0 0 0\r\nend\r\n"s,            // NUL in the name
    "symbol x\r\nrow 0 10 10 0 0 1 0 0 0\r\n",                       // no end
};

std::string Symbols(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += kGood;
    return s;
}

// What a file does as a whole: symbols read, entries skipped, whether it may
// be saved over; and that nothing read is lost when it is.
TEST(SymbolLibrary, WholeFiles) {
    struct WholeFile {
        std::string bytes;
        std::size_t symbols;
        int damaged;
        bool writable;
    };
    std::vector<WholeFile> files = {
        // clang-format off
        {"", 0, 0, true},
        {"tesra-symbols 1\n" + kGood, 1, 0, true},                  // LF ends
        {"tesra-figures 1\r\n" + kGood, 0, 0, false},               // another format
        {"tesra-symbols 2\r\n" + kGood, 0, 0, false},               // a later version
        {kHead + "; office list\r\nend\r\n\r\n" + kGood, 1, 0, true},  // stray lines
        {kHead + "symbol x\r\nrow 0 1 1 0 0 1 0 0 0\r\nshadow=1\r\nend\r\n", 1, 0, true},  // later key
        {kHead + Symbols(static_cast<int>(kMaxSymbols) + 1), kMaxSymbols, 1, true},
        // clang-format on
    };
    for (const std::string& entry : kDamagedEntries)
        for (const std::string& bytes : {kHead + entry + kGood, kHead + kGood + entry})
            files.push_back({bytes, 1, 1, true});
    for (const WholeFile& f : files) {
        SCOPED_TRACE(f.bytes.substr(0, 90));
        const SymbolLibrary lib = ParseSymbolLibrary(f.bytes);
        EXPECT_EQ(lib.symbols.size(), f.symbols);
        EXPECT_EQ(lib.damagedEntries, f.damaged);
        EXPECT_EQ(lib.writable, f.writable);
        if (!f.writable) continue;
        const std::string saved = SerializeSymbolLibrary(lib);
        EXPECT_EQ(test::LinesLostIn(f.bytes, saved), std::vector<std::string>{});
        EXPECT_EQ(SerializeSymbolLibrary(ParseSymbolLibrary(saved)), saved);
    }
}

// Edits find their symbol by place and name; a file changed meanwhile never
// has another symbol renamed or removed.
TEST(SymbolLibrary, EditsLandOnTheSymbolTheDialogSaw) {
    using Action = SymbolEdit::Action;
    struct EditCase {
        SymbolEdit edit;
        bool applied;
        std::vector<std::string> names;
    };
    const EditCase cases[] = {
        {{Action::Add, 0, "", Named("d")}, true, {"a", "b", "c", "d"}},
        {{Action::Remove, 1, "b", {}}, true, {"a", "c"}},
        {{Action::Remove, 0, "c", {}}, true, {"a", "b"}},  // moved since
        {{Action::Remove, 1, "z", {}}, false, {"a", "b", "c"}},
        {{Action::Rename, 2, "c", Named(" e\x01 ")}, true, {"a", "b", "e"}},
    };
    for (const EditCase& c : cases) {
        SymbolLibrary lib;
        for (const char* n : {"a", "b", "c"}) lib.symbols.push_back(Named(n));
        EXPECT_EQ(ApplySymbolEdit(lib, c.edit), c.applied);
        std::vector<std::string> names;
        for (const Symbol& s : lib.symbols) names.push_back(s.name);
        EXPECT_EQ(names, c.names);
    }
}

TEST(SymbolLibrary, ARowWithAnOwnFigureSaysWhichItNeeds) {
    OwnFigureSet own;
    own.figures.push_back({108, "tree", 1, 1, {}});
    const PatternRow row{.figureKind = 108, .figureB = 109};
    const Symbol s = SymbolOfRow(row, "hedge", "", &own);
    EXPECT_EQ(s.needs, (std::vector<NeededFigure>{{108, "tree"}, {109, ""}}));
    EXPECT_TRUE(SymbolOfRow(PatternRow{.figureB = 3}, "x", "", &own).needs.empty());
}

// The file users get: every entry reads, at least twelve symbols, and saving
// it changes no byte (it is written as the program writes it).
TEST(SymbolLibrary, ShippedSymbolsReadWhole) {
    const std::string bytes = test::ReadBytes(TESRA_SHIPPED_SYMBOLS);
    const SymbolLibrary lib = ParseSymbolLibrary(bytes);
    EXPECT_TRUE(lib.writable);
    EXPECT_EQ(lib.damagedEntries, 0);
    EXPECT_TRUE(lib.unknownLines.empty());
    EXPECT_GE(lib.symbols.size(), 12u);
    EXPECT_EQ(SerializeSymbolLibrary(lib), bytes);
    for (const Symbol& s : lib.symbols) EXPECT_TRUE(s.needs.empty()) << s.name;
}

}  // namespace
}  // namespace tesra

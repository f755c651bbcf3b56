// The settings dialog's logic driven through a fake form.
#include "settings/dialog/settings_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>
#include <string>

#include "exchange/number_format.h"
#include "fake_dialog_platform.h"
#include "figures/figures.h"
#include "settings/dialog/row_settings_area.h"
#include "test_support.h"
#include "typed_values.h"

namespace tesra {

// Failures name the fields rather than dumping the bytes.
void PrintTo(const PatternRow& r, std::ostream* os) {
    *os << "{kind " << r.figureKind << " W " << r.width << " H " << r.height << " place "
        << r.placement << " I " << r.interval << " base " << r.basePoint << " guides "
        << r.upperLine << r.middleLine << r.lowerLine << " arrange " << r.arrangement << " side "
        << r.side << " orient " << r.orientation << " rowKind " << r.rowKind << " pitch " << r.pitch
        << " rhythm " << r.rhythm << " short " << r.shortRatio << " tick " << r.tickLength
        << " top " << r.drawTop << " B " << r.figureB << " " << r.widthB << "x" << r.heightB
        << " seq " << r.sequence << " fit " << r.fit << " colors " << r.elementColors << "}";
}

namespace {

using test::FakeDialogPlatform;

std::string Row(std::string_view prefix, int row) { return ControlName(prefix, row); }

// One dialog run against a scratch folder: load the store (as the run flow
// does), fill the form, then let the test act on the fake.
struct DialogRun {
    test::ScratchDir dir;
    std::filesystem::path storeFile = dir / "tesra.dat";
    PatternStore store;
    FakeDialogPlatform ui;
    SettingsDialog dialog{ui, store, storeFile};

    void Open(bool bz = false) {
        store = LoadPatternStore(storeFile);
        dialog.Fill(bz);
    }
    PatternStore Saved() const { return LoadPatternStore(storeFile); }
    // OK as the user presses it until the form closes: a value OK replaces
    // takes a second press once its note is up.
    void AcceptWithOk() {
        dialog.Button1Click();
        if (ui.closeCount == 0) dialog.Button1Click();
    }
};

TEST(SettingsDialogFill, WithoutStoreFileShowsTheDefaults) {
    DialogRun run;
    run.Open();
    EXPECT_EQ(run.ui.position.left, 0);
    EXPECT_EQ(run.ui.position.top, 0);
    EXPECT_EQ(run.ui.focused, run.ui.Find("RadioButton1"));
    EXPECT_FALSE(run.ui.Named("CheckBox1").on);
    EXPECT_EQ(run.ui.Named("Label2").color, 0);
    for (int row = 1; row <= kPatternRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(run.ui.Named(Row("RadioButton", row)).on, row == 1);
        const auto& figures = run.ui.Named(Row("ComboBoxZ", row));
        ASSERT_EQ(figures.items.size(), static_cast<std::size_t>(kFigureKindCount));
        // The full-width macron shown as two half-width ones, which the font
        // draws at every scaling.
        EXPECT_EQ(figures.items[figures.selected], "¯¯(上線)");
        EXPECT_EQ(run.ui.Named(Row("EditW", row)).text, "10");
        EXPECT_EQ(run.ui.Named(Row("EditH", row)).text, "10");
        EXPECT_EQ(run.ui.Named(Row("EditD", row)).text, "0");
        const auto& base = run.ui.Named(Row("ComboBoxB", row));
        EXPECT_EQ(base.items[base.selected], "中");
        for (std::string_view guide : {"ComboBoxU", "ComboBoxC", "ComboBoxD"}) {
            const auto& list = run.ui.Named(Row(guide, row));
            EXPECT_EQ(list.items[list.selected], "なし");
        }
        const auto& placement = run.ui.Named(Row("ComboBoxA", row));
        EXPECT_EQ(placement.items[placement.selected], "間隔指定");
    }
}

TEST(SettingsDialogFill, UnitLabelFollowsTheScaleSwitch) {
    const struct {
        bool bz;
        const char* label;
    } cases[] = {{true, "[図寸mm]"}, {false, "[実寸mm]"}};
    for (const auto& c : cases) {
        DialogRun run;
        run.Open(c.bz);
        EXPECT_EQ(run.ui.Named("LabelU").text, c.label) << c.bz;
    }
}

// Every field of every row distinct, so that a row or column mix-up between
// filling and reading back cannot cancel out.
PatternStore DistinctStore() {
    PatternStore s;
    s.formLeft = 123;
    s.formTop = -45;
    s.selectedRow = 9;
    s.solidColorSwitch = true;
    s.solidColor = 0x123456;
    for (int i = 0; i < kPatternRows; ++i) {
        PatternRow& r = s.rows[static_cast<std::size_t>(i)];
        r = {i * 9, 1.25 + i,    30.5 + i,    i % 2,    0.75 * i,
             i % 3, (i + 1) % 3, (i + 2) % 3, i / 4 % 3};
        r.arrangement = i % 3;
        r.side = (i + 1) % 3;
        r.orientation = i / 2 % 2;
        r.rowKind = i / 3 % 2;
        r.pitch = 0.5 + i;
        r.rhythm = std::string("LSSLSSLS").substr(0, 1 + static_cast<std::size_t>(i) % 8);
        r.shortRatio = 0.0625 * (i + 1);
        r.tickLength = 3.25 + i;
        r.drawTop = i / 4 % 2;
        r.figureB = 100 - i;
        r.widthB = 0.125 * (i + 1);
        r.heightB = 7.5 + i;
        r.sequence = std::string("ABBABAAB").substr(0, static_cast<std::size_t>(i) % 9);
        r.fit = i / 6 % 2;
        r.elementColors = (i + 1) / 6 % 2;
    }
    return s;
}

TEST(SettingsDialogOk, UntouchedFormSavesWhatWasLoaded) {
    DialogRun run;
    const PatternStore stored = DistinctStore();
    SavePatternStore(stored, run.storeFile);
    run.Open();
    run.ui.position = {123, -45};  // the window stayed where it was put
    run.dialog.Button1Click();
    EXPECT_EQ(SerializePatternStore(run.Saved()), SerializePatternStore(stored));
    EXPECT_EQ(run.ui.closeCount, 1);
}

// Each text typed in a box of row 1 (the area shows row 1): the note when the
// box is left, and what OK stores once the user has moved on.
TEST(SettingsDialogOk, TypedTextsAreStoredAsTheStoreReadsThem) {
    for (const test::TypedValueCase& c : test::kTypedValueCases) {
        SCOPED_TRACE(std::string(c.control) + " " + std::string(c.typed));
        DialogRun run;
        run.Open();
        const RowSetting& s = test::SettingOfBox(c.control);
        const std::string name = s.key.empty() ? Row(c.control, 1) : std::string(c.control);
        const Control box = run.ui.Find(name);
        run.ui.SetEditText(box, c.typed);
        run.dialog.Edited(box);
        run.dialog.LeftEditBox(box);
        const std::string note = run.ui.Named(name).note;
        EXPECT_EQ(!note.empty(), c.noted) << note;
        const std::string stored = c.stored.empty() ? "(空)" : std::string(c.stored);
        if (c.noted) {
            EXPECT_NE(note.find("「" + std::string(c.typed) + "」"), std::string::npos) << note;
            EXPECT_NE(note.find("「" + stored + "」を保存"), std::string::npos) << note;
        }
        run.dialog.Edited(run.ui.Find("ComboBoxA1"));  // the user moves on
        run.dialog.Button1Click();
        EXPECT_EQ(run.ui.closeCount, 1);
        EXPECT_EQ(ValueText(s, run.Saved().rows[0]), c.stored);
    }
}

// OK stores a value other than typed only when its note was on the box
// before OK was pressed: pressed at once, OK shows the note and stays.
TEST(SettingsDialogOk, StoresAReplacedValueOnlyOnceItsNoteWasSeen) {
    const struct {
        const char* what;
        std::function<void(DialogRun&, Control)> act;  // after "abc" is typed as row 2's width
        int presses;                                   // of OK until the form closes
        double stored;
    } cases[] = {
        {"Enter in the box", [](DialogRun&, Control) {}, 2, 1.0},
        {"OK clicked, the box losing the focus to it",
         [](DialogRun& run, Control box) { run.dialog.LeftEditBox(box); }, 2, 1.0},
        {"the user went on to the next box",
         [](DialogRun& run, Control box) {
             run.dialog.LeftEditBox(box);
             run.dialog.Edited(run.ui.Find("EditH2"));
         },
         1, 1.0},
        {"the user corrected the text after the note",
         [](DialogRun& run, Control box) {
             run.dialog.LeftEditBox(box);
             run.ui.SetEditText(box, "3");
             run.dialog.Edited(box);
         },
         1, 3.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DialogRun run;
        run.Open();
        const Control box = run.ui.Find("EditW2");
        run.ui.SetEditText(box, "abc");
        run.dialog.Edited(box);
        c.act(run, box);
        for (int press = 1; press < c.presses; ++press) {
            run.dialog.Button1Click();
            EXPECT_EQ(run.ui.closeCount, 0);
            EXPECT_FALSE(std::filesystem::exists(run.storeFile));
            EXPECT_NE(run.ui.Named("EditW2").note, "");
        }
        run.dialog.Button1Click();
        EXPECT_EQ(run.ui.closeCount, 1);
        EXPECT_EQ(run.Saved().rows[1].width, c.stored);
        EXPECT_EQ(run.ui.Named("EditW2").note.empty(), c.stored == 3.0);
    }
}

// A store longer than its bound holds more than the dialog saw: OK says so
// and leaves the file as it is.
TEST(SettingsDialogOk, RefusesToSaveOverAStoreItDidNotReadWhole) {
    DialogRun run;
    const std::string bytes = SerializePatternStore(DistinctStore()) + "[extension]\r\n" +
                              std::string(kStoreMostBytes, ';') + "\r\n";
    test::WriteBytes(run.storeFile, bytes);
    run.Open();
    run.ui.SetEditText(run.ui.Find("EditW1"), "3");
    run.dialog.Button1Click();
    EXPECT_EQ(run.ui.closeCount, 1);
    ASSERT_EQ(run.ui.messages.size(), 1u);
    EXPECT_NE(run.ui.messages[0].find("保存しません"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(run.storeFile), bytes);
}

TEST(SettingsDialogOk, SavedWidthShowsInItsShortFormAtTheNextStart) {
    DialogRun run;
    run.Open();
    run.ui.Named("EditW1").text = "2.50";
    run.ui.Named("EditW2").text = "0";
    run.ui.Named("EditD1").text = "abc";
    run.AcceptWithOk();
    FakeDialogPlatform next;
    PatternStore store = LoadPatternStore(run.storeFile);
    SettingsDialog(next, store, run.storeFile).Fill(false);
    EXPECT_EQ(next.Named("EditW1").text, "2.5");
    EXPECT_EQ(next.Named("EditW2").text, "1");
    EXPECT_EQ(next.Named("EditD1").text, "0");
}

TEST(SettingsDialogOk, ReadsListsSelectorCheckBoxAndPosition) {
    DialogRun run;
    run.Open();
    run.ui.SelectItem(run.ui.Find("ComboBoxZ4"), kFigureKindCount - 1);
    run.ui.SelectItem(run.ui.Find("ComboBoxA4"), 1);
    run.ui.SelectItem(run.ui.Find("ComboBoxB4"), 2);
    run.ui.SelectItem(run.ui.Find("ComboBoxU4"), 1);
    run.ui.SelectItem(run.ui.Find("ComboBoxC4"), 2);
    run.ui.SelectItem(run.ui.Find("ComboBoxD4"), 1);
    run.ui.SetSelector(run.ui.Find("RadioButton4"), true);
    run.ui.Named("CheckBox1").on = true;
    run.ui.position = {640, 200};
    run.dialog.Button1Click();
    const PatternStore saved = run.Saved();
    const PatternRow expected{kFigureKindCount - 1, 10.0, 10.0, 1, 0.0, 2, 1, 2, 1};
    EXPECT_EQ(saved.rows[3], expected);
    EXPECT_EQ(saved.selectedRow, 4);
    EXPECT_TRUE(saved.solidColorSwitch);
    EXPECT_EQ(saved.formLeft, 640);
    EXPECT_EQ(saved.formTop, 200);
}

TEST(SettingsDialogLists, IndexWithoutItemShowsNoneAndReadsBackMinusOne) {
    // Kinds from kFigureKindCount on name own figures (own_figures_dialog_test.cpp).
    const std::int32_t figureKinds[] = {-1, -3};
    for (std::int32_t kind : figureKinds) {
        SCOPED_TRACE(kind);
        DialogRun run;
        PatternStore s;
        s.rows[0].figureKind = kind;
        s.rows[1].placement = 2;  // two items only
        s.rows[2].basePoint = 3;  // three items only
        s.rows[3].lowerLine = -1;
        SavePatternStore(s, run.storeFile);
        run.Open();
        EXPECT_EQ(run.ui.Named("ComboBoxZ1").selected, -1);
        EXPECT_EQ(run.ui.Named("ComboBoxA2").selected, -1);
        EXPECT_EQ(run.ui.Named("ComboBoxB3").selected, -1);
        EXPECT_EQ(run.ui.Named("ComboBoxD4").selected, -1);
        run.dialog.Button1Click();
        const PatternStore saved = run.Saved();
        EXPECT_EQ(saved.rows[0].figureKind, -1);
        EXPECT_EQ(saved.rows[1].placement, -1);
        EXPECT_EQ(saved.rows[2].basePoint, -1);
        EXPECT_EQ(saved.rows[3].lowerLine, -1);
        EXPECT_EQ(saved.rows[1].figureKind, 0);
    }
}

TEST(SettingsDialogCancel, SavesNothingAfterAnyEdit) {
    for (bool fileExists : {false, true}) {
        SCOPED_TRACE(fileExists);
        DialogRun run;
        if (fileExists) {
            SavePatternStore(DistinctStore(), run.storeFile);
        }
        const std::string before = fileExists ? test::ReadBytes(run.storeFile) : "";
        run.Open();
        run.ui.Named("EditW1").text = "99";
        run.ui.SetSelector(run.ui.Find("RadioButton12"), true);
        run.ui.Named("CheckBox1").on = !run.ui.Named("CheckBox1").on;
        run.ui.chooserAnswer = 0x00FF00;
        run.dialog.Label2Click();
        run.dialog.Button2Click();
        EXPECT_EQ(run.ui.closeCount, 1);
        ASSERT_EQ(std::filesystem::exists(run.storeFile), fileExists);
        if (fileExists) {
            EXPECT_EQ(test::ReadBytes(run.storeFile), before);
        }
    }
}

// The preview's solid color follows the check box and the swatch.
TEST(SettingsDialogColor, ChooserOpensAtTheSwatchColorAndThePreviewFollows) {
    DialogRun run;
    PatternStore s;
    s.solidColor = 0x0000FF;
    SavePatternStore(s, run.storeFile);
    run.Open();
    run.ui.Named("CheckBox1").on = true;
    run.dialog.Edited(run.ui.Find("CheckBox1"));
    run.ui.chooserAnswer = 0x00FF00;
    run.dialog.Label2Click();
    run.ui.chooserAnswer = std::nullopt;  // the second time the user cancels
    run.dialog.Label2Click();
    EXPECT_EQ(run.ui.chooserPresets, (std::vector<std::int32_t>{0x0000FF, 0x00FF00}));
    EXPECT_EQ(run.ui.Named("Label2").color, 0x00FF00);
    ASSERT_EQ(run.ui.previews.size(), 3u);
    EXPECT_TRUE(run.ui.previews[1].solid.enabled);
    EXPECT_EQ(run.ui.previews[1].solid.color, 0x0000FF);
    EXPECT_EQ(run.ui.previews[2].solid.color, 0x00FF00);
}

TEST(SettingsDialogColor, ChosenColorIsStoredOnlyByOk) {
    const struct {
        bool ok;
        bool checked;
        std::int32_t storedColor;
    } cases[] = {{true, true, 0xABCDEF}, {true, false, 0xABCDEF}, {false, true, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ok);
        DialogRun run;
        PatternStore s;
        s.solidColor = 7;
        SavePatternStore(s, run.storeFile);
        run.Open();
        run.ui.chooserAnswer = 0xABCDEF;
        run.dialog.Label2Click();
        run.ui.Named("CheckBox1").on = c.checked;
        c.ok ? run.dialog.Button1Click() : run.dialog.Button2Click();
        const PatternStore saved = run.Saved();
        EXPECT_EQ(saved.solidColor, c.storedColor);
        EXPECT_EQ(saved.solidColorSwitch, c.ok && c.checked);
    }
}

// The stored row gets the only selector, the focus and the preview band; a row
// out of range gets none, the band shows row 1, and OK keeps it as stored. The
// band shows once, whatever edits the window reports while it fills, and edits
// of controls outside the rows (but the check box) change nothing.
TEST(SettingsDialogFill, StoredRowGetsTheSelectorTheFocusAndThePreview) {
    for (const std::int32_t selected : {7, 1, 0, 13, -1}) {
        SCOPED_TRACE(selected);
        const bool inUse = selected >= 1 && selected <= kPatternRows;
        DialogRun run;
        PatternStore s = DistinctStore();
        s.selectedRow = selected;
        SavePatternStore(s, run.storeFile);
        run.dialog.Edited(run.ui.Find("EditW2"));
        run.Open();
        for (const char* name : {"Button1", "Memo1", "Label2", "PaintBox1"})
            run.dialog.Edited(run.ui.Find(name));
        run.dialog.Edited(kNoControl);
        for (int row = 1; row <= kPatternRows; ++row)
            EXPECT_EQ(run.ui.Named(Row("RadioButton", row)).on, row == selected) << row;
        EXPECT_EQ(run.ui.focused, inUse ? run.ui.Find(Row("RadioButton", selected)) : kNoControl);
        ASSERT_EQ(run.ui.previews.size(), 1u);
        EXPECT_EQ(run.ui.previews[0].row,
                  s.rows[static_cast<std::size_t>(inUse ? selected - 1 : 0)]);
        EXPECT_TRUE(run.ui.previews[0].solid.enabled);
        EXPECT_EQ(run.ui.previews[0].solid.color, 0x123456);
        run.dialog.Button1Click();
        EXPECT_EQ(run.Saved().selectedRow, selected);
    }
}

TEST(SettingsDialogPreview, FollowsTheEditedRowAsOkWouldStoreIt) {
    // A text typed in an edit box, an item picked in a list, or the selector switched on.
    const struct {
        const char* control;
        const char* text = nullptr;
        std::int32_t item = -1;
    } cases[] = {
        {"EditW3", "0"},
        {"EditH3", "2.50"},
        {"EditD3", "abc"},
        {"ComboBoxZ3", nullptr, 54},
        {"ComboBoxA3", nullptr, 0},
        {"ComboBoxB3", nullptr, 0},
        {"ComboBoxU3", nullptr, 2},
        {"ComboBoxC3", nullptr, 2},
        {"ComboBoxD3", nullptr, 2},
        {"RadioButton3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        DialogRun run;
        SavePatternStore(DistinctStore(), run.storeFile);
        run.Open();
        const Control control = run.ui.Find(c.control);
        if (c.text)
            run.ui.SetEditText(control, c.text);
        else if (c.item >= 0)
            run.ui.SelectItem(control, c.item);
        else
            run.ui.SetSelector(control, true);
        run.dialog.Edited(control);
        ASSERT_EQ(run.ui.previews.size(), 2u);
        const PatternRow shown = run.ui.previews.back().row;
        run.AcceptWithOk();
        EXPECT_EQ(shown, run.Saved().rows[2]);
    }
}

// The area below the band shows the band's row: switching rows keeps the
// area's edits of the row left, OK stores every row's, Cancel none. Codes
// the area has no item or check for are kept as stored.
TEST(SettingsDialogArea, EditsTheBandsRowAndKeepsEachRowsEditsUntilOk) {
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        DialogRun run;
        PatternStore stored = DistinctStore();
        stored.rows[4].arrangement = 7;
        stored.rows[4].drawTop = 5;
        SavePatternStore(stored, run.storeFile);
        run.Open();
        const PatternRow& nine = stored.rows[8];
        EXPECT_EQ(run.ui.Named("ComboBoxArrange").selected, nine.arrangement);
        EXPECT_EQ(run.ui.Named("ComboBoxZB").selected, nine.figureB);
        EXPECT_EQ(run.ui.Named("EditPitch").text, "8.5");
        EXPECT_EQ(run.ui.Named("EditRhythm").text, nine.rhythm);
        EXPECT_EQ(run.ui.Named("CheckBoxDrawTop").on, nine.drawTop != 0);

        run.ui.SetEditText(run.ui.Find("EditPitch"), "3.5");
        run.dialog.Edited(run.ui.Find("EditPitch"));
        EXPECT_EQ(run.ui.previews.back().row.pitch, 3.5);
        run.dialog.Edited(run.ui.Find("EditW3"));
        EXPECT_EQ(run.ui.Named("EditPitch").text, "2.5");
        EXPECT_EQ(run.ui.previews.back().row, stored.rows[2]);
        run.ui.SelectItem(run.ui.Find("ComboBoxSide"), 2);
        run.ui.Named("CheckBoxFit").on = true;
        run.dialog.Edited(run.ui.Find("ComboBoxSide"));
        run.dialog.Edited(run.ui.Find("RadioButton5"));
        EXPECT_EQ(run.ui.Named("ComboBoxArrange").selected, -1);
        EXPECT_TRUE(run.ui.Named("CheckBoxDrawTop").on);
        ok ? run.dialog.Button1Click() : run.dialog.Button2Click();

        PatternStore expected = stored;
        if (ok) {
            expected.rows[8].pitch = 3.5;
            expected.rows[2].side = 2;
            expected.rows[2].fit = 1;
        }
        EXPECT_EQ(run.Saved().rows, expected.rows);
    }
}

// Every setting of the area, changed once, reaches the preview at once and the
// store on OK: a list's item 1 or a ticked box is the value 1, a typed text
// is read as the shared table of typed values says.
TEST(SettingsDialogArea, EverySettingReachesThePreviewAndTheStore) {
    for (const RowSetting& s : kKeySettings) {
        SCOPED_TRACE(std::string(s.control));
        DialogRun run;
        run.Open();
        const Control control = run.ui.Find(std::string(s.control));
        const auto kind = run.ui.Named(std::string(s.control)).kind;
        std::string expected = "1";
        if (kind == ControlKind::CheckBox) {
            run.ui.SetChecked(control, true);
        } else if (kind != ControlKind::Edit) {
            run.ui.SelectItem(control, 1);
        } else {
            const auto typed = std::find_if(
                std::begin(test::kTypedValueCases), std::end(test::kTypedValueCases),
                [&](const test::TypedValueCase& c) { return c.control == s.control && !c.noted; });
            ASSERT_NE(typed, std::end(test::kTypedValueCases));
            run.ui.SetEditText(control, std::string(typed->typed));
            expected = typed->stored;
        }
        run.dialog.Edited(control);
        const PatternRow shown = run.ui.previews.back().row;
        run.dialog.Button1Click();
        EXPECT_EQ(ValueText(s, run.Saved().rows[0]), expected);
        EXPECT_EQ(ValueText(s, shown), expected);
        PatternRow others = run.Saved().rows[0];
        const PatternRow defaults;
        if (s.integer) others.*s.integer = defaults.*s.integer;
        if (s.real) others.*s.real = defaults.*s.real;
        if (s.text) others.*s.text = defaults.*s.text;
        EXPECT_EQ(others, PatternRow{}) << "only this setting changed";
    }
}

// A value typed in the area that OK replaces stays with its row: leaving the
// row hides it, coming back shows it with its note, and OK never passes it
// unseen (it brings the row back to the area first).
TEST(SettingsDialogArea, AReplacedValueStaysWithItsRowUntilOk) {
    const struct {
        const char* box;
        const char* typed;
        const char* stored;
    } boxes[] = {
        {"EditRhythm", "LXS", "LS"}, {"EditShortRatio", "7", "0.5"}, {"EditSequence", "ABC", ""}};
    for (const auto& b : boxes)
        for (const bool leftFirst : {true, false}) {
            SCOPED_TRACE(std::string(b.box) + (leftFirst ? " left" : " not left"));
            DialogRun run;
            run.Open();
            const Control box = run.ui.Find(b.box);
            run.ui.SetEditText(box, b.typed);
            run.dialog.Edited(box);
            if (leftFirst) run.dialog.LeftEditBox(box);
            run.dialog.Edited(run.ui.Find("ComboBoxZ2"));  // row 2 to the area
            EXPECT_EQ(run.ui.Named(b.box).note, "");
            EXPECT_EQ(run.ui.Named(b.box).text, ValueText(test::SettingOfBox(b.box), PatternRow{}));
            if (leftFirst) run.dialog.Edited(run.ui.Find("ComboBoxZ1"));  // and back
            const int presses = leftFirst ? 1 : 2;
            if (!leftFirst) {
                run.dialog.Button1Click();
                EXPECT_EQ(run.ui.closeCount, 0);
            }
            EXPECT_EQ(run.ui.Named(b.box).text, b.typed);
            EXPECT_NE(run.ui.Named(b.box).note, "");
            run.dialog.Button1Click();
            EXPECT_EQ(run.ui.closeCount, 1) << presses << " presses";
            EXPECT_EQ(ValueText(test::SettingOfBox(b.box), run.Saved().rows[0]), b.stored);
        }
}

// Editing one row while another is in use: the band says which it shows,
// which one OK would keep in use, and the whole name of the figure shown.
TEST(SettingsDialogPreview, CaptionSaysWhichRowIsShownAndWhichIsInUse) {
    DialogRun run;
    PatternStore s = DistinctStore();
    s.selectedRow = 12;
    s.rows[0].figureKind = 83;
    SavePatternStore(s, run.storeFile);
    run.Open();
    // Row 12 is a slope row: it draws no figure, so the caption names none.
    ASSERT_EQ(s.rows[11].rowKind, kRowSlope);
    EXPECT_EQ(run.ui.previews.back().caption, "行12を表示中\n使用中: 行12");
    run.dialog.Edited(run.ui.Find("EditW1"));
    EXPECT_EQ(run.ui.previews.back().caption, "行1を表示中\n使用中: 行12\n弓形2(上)");
    run.ui.SelectItem(run.ui.Find("ComboBoxZ1"), -1);
    run.ui.SetSelector(run.ui.Find("RadioButton12"), false);
    run.dialog.Edited(run.ui.Find("ComboBoxZ1"));
    EXPECT_EQ(run.ui.previews.back().caption, "行1を表示中\n使用中: なし");
}

}  // namespace
}  // namespace tesra

namespace tesra {
namespace {

// The figures a row draws, as the caption names them: the second only when
// the sequence has a B, none for a slope row.
TEST(SettingsDialogPreview, CaptionNamesTheFiguresTheRowDraws) {
    const struct {
        std::int32_t rowKind;
        const char* sequence;
        const char* expected;
    } cases[] = {
        {kRowRule, "", "行1を表示中\n使用中: 行1\n○"},
        {kRowRule, "AAA", "行1を表示中\n使用中: 行1\n○"},
        {kRowRule, "AAB", "行1を表示中\n使用中: 行1\nA: ○\nB: ★"},
        {kRowSlope, "AB", "行1を表示中\n使用中: 行1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sequence);
        DialogRun run;
        PatternStore s;
        s.rows[0].figureKind = 49;
        s.rows[0].figureB = 48;
        s.rows[0].sequence = c.sequence;
        s.rows[0].rowKind = c.rowKind;
        SavePatternStore(s, run.storeFile);
        run.Open();
        EXPECT_EQ(run.ui.previews.back().caption, c.expected);
    }
}

// Every item of a figure list is told apart by its name; the two "／／" and
// the two "＼＼" by a number the store never sees.
TEST(SettingsDialogFill, EveryFigureItemHasANameOfItsOwn) {
    DialogRun run;
    run.Open();
    const auto& items = run.ui.Named("ComboBoxZ1").items;
    const std::set<std::string> names(items.begin(), items.end());
    EXPECT_EQ(names.size(), items.size());
    EXPECT_EQ(items.at(12), "／／(1)");
    EXPECT_EQ(items.at(71), "／／(2)");
    EXPECT_EQ(items.at(72), "＼＼(2)");
}

// Arrow keys on a selector choose the row before or after as the row in use,
// round from one end to the other; focus, band and area go with it.
TEST(SettingsDialogKeyboard, ArrowsMoveTheRowInUseAmongTheSelectors) {
    using Move = SettingsDialog::SelectorMove;
    const struct {
        int from;
        Move move;
        int to;
    } cases[] = {
        {1, Move::Next, 2},
        {5, Move::Previous, 4},
        {12, Move::Next, 1},
        {1, Move::Previous, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        DialogRun run;
        PatternStore s = DistinctStore();
        s.selectedRow = c.from;
        SavePatternStore(s, run.storeFile);
        run.Open();
        run.dialog.SelectorKey(run.ui.Find(Row("RadioButton", c.from)), c.move);
        for (int row = 1; row <= kPatternRows; ++row)
            EXPECT_EQ(run.ui.Named(Row("RadioButton", row)).on, row == c.to) << row;
        EXPECT_EQ(run.ui.focused, run.ui.Find(Row("RadioButton", c.to)));
        EXPECT_EQ(run.ui.previews.back().row, s.rows[static_cast<std::size_t>(c.to - 1)]);
        EXPECT_EQ(run.ui.Named("EditPitch").text,
                  FormatReal(s.rows[static_cast<std::size_t>(c.to - 1)].pitch));
        run.dialog.Button1Click();
        EXPECT_EQ(run.Saved().selectedRow, c.to);
    }
}

// A label's access key puts the focus on its control; the rows' key on the
// selector in use (the first when none is). The window answers the keys of
// the controls that carry their own.
TEST(SettingsDialogKeyboard, AccessKeysFocusTheLabelledControl) {
    const struct {
        char key;
        int rowInUse;
        const char* focused;  // nullptr: not a label's key
    } cases[] = {
        {'a', 3, "ComboBoxArrange"},
        {'P', 3, "EditPitch"},
        {'B', 3, "ComboBoxZB"},
        {'q', 3, "EditSequence"},
        {'G', 7, "RadioButton7"},
        {'G', 0, "RadioButton1"},
        {'X', 3, "Memo1"},
        {'S', 3, nullptr},
        {'K', 3, nullptr},
        {'V', 3, nullptr},
        {'z', 3, "ComboBoxFigureColor"},
        {'U', 3, "ComboBoxUpperColor"},
        {'J', 3, "ComboBoxMiddleColor"},
        {'D', 3, "ComboBoxLowerColor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        DialogRun run;
        PatternStore s;
        s.selectedRow = c.rowInUse;
        SavePatternStore(s, run.storeFile);
        run.Open();
        run.ui.focused = kNoControl;
        EXPECT_EQ(run.dialog.AccessKey(c.key), c.focused != nullptr);
        EXPECT_EQ(run.ui.focused, c.focused ? run.ui.Find(c.focused) : kNoControl);
    }
}

}  // namespace
}  // namespace tesra

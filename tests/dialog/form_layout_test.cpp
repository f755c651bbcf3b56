// The form table against the original form: names, positions, tab order and lists.
#include "settings/dialog/form_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/dialog/row_settings_area.h"
#include "settings/pattern_store.h"
#include "settings/row_settings.h"

namespace tesra {
namespace {

const ControlEntry* Entry(const std::string& name) {
    for (const ControlEntry& c : FormControls()) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

TEST(FormLayout, NamesAreUniqueAndEveryRowHasItsTenControls) {
    std::set<std::string> names;
    for (const ControlEntry& c : FormControls()) EXPECT_TRUE(names.insert(c.name).second) << c.name;
    for (int row = 1; row <= kPatternRows; ++row) {
        // The dialog fills and reads the row fields by these names.
        EXPECT_NE(Entry(ControlName("RadioButton", row)), nullptr) << row;
        for (const RowSetting& s : kLineSettings) {
            const ControlEntry* c = Entry(ControlName(s.control, row));
            ASSERT_NE(c, nullptr) << s.control << row;
            EXPECT_EQ(c->kind, IsTyped(s.kind) ? ControlKind::Edit : ControlKind::DropDown)
                << c->name;
        }
    }
    EXPECT_EQ(FormControls().size(), 10u * kPatternRows + 9u + 9u + SettingsAreaControls().size());
    // The dialog fills and reads the area's settings by these names.
    for (const RowSetting& s : kKeySettings) {
        if (s.control.empty()) continue;
        const ControlEntry* c = Entry(std::string(s.control));
        ASSERT_NE(c, nullptr) << s.control;
        const ControlKind kind = s.kind == ValueKind::Switch ? ControlKind::CheckBox
                                 : IsTyped(s.kind)           ? ControlKind::Edit
                                                             : ControlKind::DropDown;
        EXPECT_EQ(c->kind, kind) << s.control;
    }
}

// The window code creates controls in this order, which makes the tab order:
// row by row, each row's controls from left to right, the area's in the
// store's order of their settings, the memo, the buttons, the check box and
// the color swatch beside it; the labels after every tab stop.
TEST(FormLayout, TabOrderGoesThroughTheRowsTheAreaAndTheButtonsThenTheLabels) {
    int expected = 0;
    bool labels = false;
    for (const ControlEntry& c : FormControls()) {
        if (c.tabOrder < 0) {
            labels = true;
            continue;
        }
        EXPECT_FALSE(labels) << c.name << " comes after a label";
        EXPECT_EQ(c.tabOrder, expected++) << c.name;
    }
    std::vector<std::string> order;
    for (int row = 1; row <= kPatternRows; ++row)
        for (std::string_view prefix : RowControlPrefixes())
            order.push_back(ControlName(prefix, row));
    for (const RowSetting& s : kKeySettings)
        if (!s.control.empty()) order.emplace_back(s.control);
    for (std::string_view button : {kSymbolFromButton, kRegisterSymbolButton})
        order.emplace_back(button);
    for (const char* name : {"Memo1", "Button1", "Button2", "CheckBox1", "Label2"})
        order.emplace_back(name);
    ASSERT_EQ(order.size(), static_cast<std::size_t>(expected));
    for (std::size_t i = 0; i < order.size(); ++i) {
        const ControlEntry* c = Entry(order[i]);
        ASSERT_NE(c, nullptr) << order[i];
        EXPECT_EQ(c->tabOrder, static_cast<int>(i)) << order[i];
    }
}

TEST(FormLayout, PlacesFollowTheRowPitch) {
    const struct {
        const char* name;
        Rect place;
    } cases[] = {
        {"RadioButton1", {8, 20, 25, 17}},   {"RadioButton12", {8, 284, 25, 17}},
        {"ComboBoxZ1", {32, 16, 81, 21}},    {"EditW2", {112, 40, 57, 21}},
        {"EditH12", {168, 280, 57, 21}},     {"ComboBoxB5", {360, 112, 49, 21}},
        {"ComboBoxD12", {520, 280, 57, 21}}, {"Memo1", {584, 16, 197, 185}},
        {"Button2", {632, 272, 121, 25}},
    };
    for (const auto& c : cases) {
        const Rect r = Entry(c.name)->place;
        EXPECT_EQ(std::tie(r.left, r.top, r.width, r.height),
                  std::tie(c.place.left, c.place.top, c.place.width, c.place.height))
            << c.name;
    }
}

TEST(FormLayout, EveryControlLiesInsideTheClientArea) {
    for (const ControlEntry& c : FormControls()) {
        EXPECT_GE(c.place.left, 0) << c.name;
        EXPECT_GE(c.place.top, 0) << c.name;
        EXPECT_LE(c.place.left + c.place.width, kClientWidth) << c.name;
        EXPECT_LE(c.place.top + c.place.height, kClientHeight) << c.name;
    }
}

// The band and the settings area only add to the form: the band created last
// (no tab order changes), the area's tab stops after the rows'; the rows'
// controls above the band, the area's below it, and the client area grows by
// the band's and the area's heights alone.
TEST(FormLayout, PreviewBandAndSettingsAreaLieBelowTheRows) {
    const ControlEntry& band = FormControls().back();
    EXPECT_EQ(band.name, "PaintBox1");
    EXPECT_EQ(band.kind, ControlKind::PreviewBand);
    EXPECT_EQ(band.tabOrder, -1);
    EXPECT_EQ(band.place.top, kRowsAreaHeight);
    EXPECT_EQ(kClientHeight, 309 + kPreviewBandHeight + kSettingsAreaHeight);
    EXPECT_EQ(kSettingsAreaTop, kRowsAreaHeight + kPreviewBandHeight);
    std::set<std::string> area;
    for (const ControlEntry& c : SettingsAreaControls()) area.insert(c.name);
    for (const ControlEntry& c : FormControls()) {
        if (&c == &band) continue;
        if (area.contains(c.name))
            EXPECT_GE(c.place.top, kSettingsAreaTop) << c.name;
        else
            EXPECT_LE(c.place.top + c.place.height, kRowsAreaHeight) << c.name;
    }
}

// Controls of one line of the area never cover each other.
TEST(FormLayout, SettingsAreaControlsDoNotOverlap) {
    const std::vector<ControlEntry> area = SettingsAreaControls();
    for (std::size_t i = 0; i < area.size(); ++i)
        for (std::size_t j = i + 1; j < area.size(); ++j) {
            const Rect a = area[i].place, b = area[j].place;
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << area[i].name << " and " << area[j].name;
        }
}

// A heading over every column but the selectors', centred on it.
TEST(FormLayout, EachHeadingStandsOverItsColumn) {
    int headings = 0;
    for (const ControlEntry& c : FormControls()) {
        if (c.kind != ControlKind::Heading) continue;
        ++headings;
        const ControlEntry* column = Entry(ControlName(c.name.substr(7), 1));
        ASSERT_NE(column, nullptr) << c.name;
        EXPECT_EQ(c.place.left, column->place.left) << c.name;
        EXPECT_EQ(c.place.width, column->place.width) << c.name;
        EXPECT_LE(c.place.top + c.place.height, column->place.top) << c.name;
    }
    EXPECT_EQ(headings, 9);
    EXPECT_EQ(Entry("HeadingComboBoxB")->text, "基準点");
}

TEST(FormLayout, FixedItemsAndInputMethod) {
    const struct {
        const char* name;
        std::vector<std::string_view> items;
        bool imeOff;
    } cases[] = {
        {"ComboBoxZ3", {}, true},
        {"ComboBoxA3", {"間隔指定", "均等配置"}, false},
        {"ComboBoxB3", {"上", "中", "下"}, false},
        {"ComboBoxU3", {"なし", "間隔", "全長"}, false},
        {"ComboBoxC3", {"なし", "間隔", "全長"}, false},
        {"ComboBoxD3", {"なし", "間隔", "全長"}, false},
        {"EditW3", {}, true},
        {"EditH3", {}, true},
        {"EditD3", {}, true},
    };
    for (const auto& c : cases) {
        const ControlEntry* s = Entry(c.name);
        EXPECT_EQ(std::vector<std::string_view>(s->items.begin(), s->items.end()), c.items)
            << c.name;
        EXPECT_EQ(s->imeOff, c.imeOff) << c.name;
    }
}

TEST(FormLayout, MemoHoldsTheHelpLinesSeparatedByCrLf) {
    const ControlEntry* memo = Entry("Memo1");
    std::size_t lines = 1;
    for (std::size_t at = memo->text.find("\r\n"); at != std::string::npos;
         at = memo->text.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, HelpLines().size());
    EXPECT_TRUE(memo->text.starts_with("指示した２点間に\r\n指示した図形を等分に\r\n"));
    EXPECT_NE(memo->text.find("\r\n　場合があります。\r\n"), std::string::npos);
}

// Alt and a letter reaches every label of the area and every group of the
// form (the rows, the help text, the solid color, the buttons); no two share
// a letter, or one of them could never be reached.
TEST(FormLayout, AccessKeysReachEveryLabelAndGroupAndNeverCollide) {
    std::map<char, std::string> owners;
    std::set<std::string> reached;
    for (const ControlEntry& c : FormControls()) {
        const char key = AccessKeyOf(c.text);
        if (key == 0) continue;
        // Every letter has an owner; digits serve as well (Alt+1 and so on).
        EXPECT_TRUE((key >= 'A' && key <= 'Z') || (key >= '1' && key <= '9')) << c.name;
        const auto [at, fresh] = owners.emplace(key, c.name);
        EXPECT_TRUE(fresh) << c.name << " and " << at->second << " share " << key;
        reached.insert(IsTabStop(c.kind) ? c.name : c.labelFor);
    }
    for (const ControlEntry& c : SettingsAreaControls()) {
        if (c.kind == ControlKind::Label || c.kind == ControlKind::CheckBox) {
            EXPECT_NE(AccessKeyOf(Entry(c.name)->text), 0) << c.name;
        }
    }
    for (const char* group : {"RadioButton", "Memo1", "CheckBox1", "Button1", "Button2"})
        EXPECT_TRUE(reached.contains(group)) << group;
}

// Every label of the area says in a sentence what its setting does, and the
// help text covers the area too.
TEST(FormLayout, AreaLabelsHaveASentenceAsTheirTip) {
    for (const ControlEntry& c : FormControls()) {
        const bool areaLabel = c.kind == ControlKind::Label && c.place.top >= kSettingsAreaTop;
        if (!areaLabel && c.kind != ControlKind::CheckBox) continue;
        if (c.name == "CheckBox1") continue;
        EXPECT_TRUE(c.tip.ends_with("。")) << c.name << ": " << c.tip;
    }
    EXPECT_NE(Entry("Memo1")->text.find("表示中の行の設定"), std::string::npos);
}

}  // namespace
}  // namespace tesra

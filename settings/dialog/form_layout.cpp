// The settings form as one table of controls, and the texts of its lists.
#include "settings/dialog/form_layout.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "settings/dialog/row_settings_area.h"
#include "settings/pattern_store.h"
#include "settings/row_settings.h"

namespace tesra {
namespace {

constexpr std::array<std::string_view, 2> kPlacementItems = {"間隔指定", "均等配置"};
constexpr std::array<std::string_view, 3> kBasePointItems = {"上", "中", "下"};
constexpr std::array<std::string_view, 3> kGuideLineItems = {"なし", "間隔", "全長"};

struct RowColumn {
    std::string_view prefix;
    ControlKind kind;
    int left, width, height;
    std::span<const std::string_view> items;
    bool imeOff;
    std::string_view heading;  // centred above the column
};

// One row of the form; the column is also the tab position within the row.
// The figure list gets its items when the form is filled.
constexpr int kRowPitch = 24;
constexpr int kRowTop = 16;
constexpr int kSelectorTop = 20;
constexpr int kHeadingTop = 1;
constexpr int kHeadingHeight = 13;
constexpr std::array<RowColumn, 10> kRowColumns = {{
    // clang-format off
    //  prefix         kind                      left width height items            ime off heading
    {kRowSelector,  ControlKind::Selector,      8,   25,   17,  {},              false, ""},
    {kFigureList,   ControlKind::DropDown,     32,   81,   21,  {},              true,  "図形"},
    {"EditW",       ControlKind::Edit,        112,   57,   21,  {},              true,  "幅"},
    {"EditH",       ControlKind::Edit,        168,   57,   21,  {},              true,  "高さ"},
    {kPlacementList, ControlKind::DropDown,   224,   81,   21,  kPlacementItems, false, "配置"},
    {"EditD",       ControlKind::Edit,        304,   57,   21,  {},              true,  "間隔"},
    {"ComboBoxB",   ControlKind::DropDown,    360,   49,   21,  kBasePointItems, false, "基準点"},
    {"ComboBoxU",   ControlKind::DropDown,    408,   57,   21,  kGuideLineItems, false, "上線"},
    {"ComboBoxC",   ControlKind::DropDown,    464,   57,   21,  kGuideLineItems, false, "中線"},
    {"ComboBoxD",   ControlKind::DropDown,    520,   57,   21,  kGuideLineItems, false, "下線"},
    // clang-format on
}};
// After the selector, a row shows the nine settings of its store lines in
// their order, each in the control its kind needs.
constexpr bool ShowsTheLineSettings() {
    if (kRowColumns.size() != 1 + kLineSettings.size()) return false;
    for (std::size_t i = 0; i < kLineSettings.size(); ++i) {
        const RowColumn& c = kRowColumns[i + 1];
        const ControlKind needed =
            IsTyped(kLineSettings[i].kind) ? ControlKind::Edit : ControlKind::DropDown;
        if (c.prefix != kLineSettings[i].control || c.kind != needed) return false;
    }
    return true;
}
static_assert(ShowsTheLineSettings(), "a row shows its selector, then one control per setting");

struct FixedControl {
    std::string_view name;
    ControlKind kind;
    Rect place;
    std::string_view text;  // Memo1's text is the help lines
};

const std::array<FixedControl, 9> kFixedControls = {{
    // clang-format off
    //  name               kind                          left top  width height  text
    // The memo is wide enough for the help text's longest lines, 12 full-width
    // characters, beside the scroll bar.
    {kHelpMemo,         ControlKind::Memo,          {584,  16, 197, 185}, ""},
    {kOkButton,         ControlKind::DefaultButton, {632, 240, 121,  25}, "ＯＫ(&Y)"},
    {kCancelButton,     ControlKind::CancelButton,  {632, 272, 121,  25}, "キャンセル(&N)"},
    // The swatch gives the check box's caption with its access key room, its
    // right edge kept.
    {kSolidColorSwitch, ControlKind::CheckBox,      {584, 208, 136,  17}, "ソリッド任意色(&S)"},
    {kColorSwatch,      ControlKind::Swatch,        {722, 208,  40,  17}, "色"},
    {kUnitLabel,        ControlKind::Label,         {592,   0,  60,  13}, "[実寸mm]"},
    // Left of the figure column's heading, which would cover it.
    {kRowsLabel,        ControlKind::Label,         {  0,   1,  32,  13}, "行(&G)"},
    {kHelpLabel,        ControlKind::Label,         {700,   0,  60,  13}, "説明(&X)"},
    {kPreviewBand,      ControlKind::PreviewBand,   {  8, 309, 767,  92}, ""},
    // clang-format on
}};

std::array<std::string_view, kRowColumns.size()> Prefixes() {
    std::array<std::string_view, kRowColumns.size()> prefixes{};
    for (std::size_t i = 0; i < kRowColumns.size(); ++i) prefixes[i] = kRowColumns[i].prefix;
    return prefixes;
}

// What each label's access key moves to: an area label's is the control
// after it, the fixed labels' are named here.
void LinkLabels(std::vector<ControlEntry>& area) {
    for (std::size_t i = 0; i + 1 < area.size(); ++i)
        if (area[i].kind == ControlKind::Label) area[i].labelFor = area[i + 1].name;
}

std::string FixedLabelTarget(std::string_view name) {
    if (name == kRowsLabel) return std::string(kRowSelector);
    if (name == kHelpLabel) return std::string(kHelpMemo);
    return {};
}

// Tab stops first, then the labels, the band last; each group in table order.
int CreationGroup(const ControlEntry& c) {
    if (IsTabStop(c.kind)) return 0;
    return c.kind == ControlKind::PreviewBand ? 2 : 1;
}

void NumberTabStops(std::vector<ControlEntry>& controls) {
    std::stable_sort(controls.begin(), controls.end(),
                     [](const ControlEntry& a, const ControlEntry& b) {
                         return CreationGroup(a) < CreationGroup(b);
                     });
    int next = 0;
    for (ControlEntry& c : controls) c.tabOrder = IsTabStop(c.kind) ? next++ : -1;
}

std::string JoinedHelpText() {
    std::string text;
    for (std::string_view line : HelpLines()) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

// Each column's heading is a label of its own, centred over it, so that it
// stays there at every scaling and in every font.
void AddHeadings(std::vector<ControlEntry>& controls) {
    for (const RowColumn& c : kRowColumns) {
        if (c.heading.empty()) continue;
        controls.push_back({"Heading" + std::string(c.prefix),
                            ControlKind::Heading,
                            {c.left, kHeadingTop, c.width, kHeadingHeight},
                            std::string(c.heading),
                            {},
                            -1,
                            false,
                            {},
                            {}});
    }
}

std::vector<ControlEntry> BuildControls() {
    std::vector<ControlEntry> controls;
    for (int row = 1; row <= kPatternRows; ++row) {
        const int shift = kRowPitch * (row - 1);
        for (std::size_t column = 0; column < kRowColumns.size(); ++column) {
            const RowColumn& c = kRowColumns[column];
            const int top = (c.kind == ControlKind::Selector ? kSelectorTop : kRowTop) + shift;
            const std::string caption = c.kind == ControlKind::Selector ? "　" : "";
            controls.push_back({ControlName(c.prefix, row),
                                c.kind,
                                {c.left, top, c.width, c.height},
                                caption,
                                c.items,
                                -1,
                                c.imeOff,
                                {},
                                {}});
        }
    }
    // The area edits a row: from the last row, Tab goes on into it.
    std::vector<ControlEntry> area = SettingsAreaControls();
    LinkLabels(area);
    for (ControlEntry& c : area) {
        c.tip = TipOf(c.name);
        controls.push_back(std::move(c));
    }
    for (const FixedControl& f : kFixedControls) {
        if (f.kind == ControlKind::PreviewBand) AddHeadings(controls);
        const std::string text =
            f.kind == ControlKind::Memo ? JoinedHelpText() : std::string(f.text);
        controls.push_back({std::string(f.name),
                            f.kind,
                            f.place,
                            text,
                            {},
                            -1,
                            false,
                            FixedLabelTarget(f.name),
                            std::string(TipOf(f.name))});
    }
    NumberTabStops(controls);
    return controls;
}

}  // namespace

const std::vector<ControlEntry>& FormControls() {
    static const std::vector<ControlEntry> controls = BuildControls();
    return controls;
}

std::span<const std::string_view> RowControlPrefixes() {
    static const auto prefixes = Prefixes();
    return prefixes;
}

std::span<const std::string_view> RowFieldPrefixes() { return RowControlPrefixes().subspan(1); }

bool IsTabStop(ControlKind kind) {
    return kind != ControlKind::Label && kind != ControlKind::Heading &&
           kind != ControlKind::PreviewBand;
}

char AccessKeyOf(std::string_view text) {
    const std::size_t at = text.find('&');
    if (at == std::string_view::npos || at + 1 >= text.size()) return 0;
    const char letter = text[at + 1];
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

std::string ControlName(std::string_view prefix, int row) {
    return std::string(prefix) + std::to_string(row);
}

}  // namespace tesra

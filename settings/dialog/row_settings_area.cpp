// The settings area below the preview band: its controls, their places and
// the row settings they show.
#include "settings/dialog/row_settings_area.h"

#include <array>

#include "settings/row_settings.h"

namespace tesra {
namespace {

constexpr std::array<std::string_view, 3> kArrangementItems = {"辺ごと", "通し", "角に合わせる"};
constexpr std::array<std::string_view, 3> kSideItems = {"基準点のまま", "内側", "外側"};
constexpr std::array<std::string_view, 2> kOrientationItems = {"経路に沿う", "正立"};
constexpr std::array<std::string_view, 2> kRowKindItems = {"装飾線", "法面"};

// The area holds three lines of controls at the rows' pitch; a label stands
// centred on the line, a check box a little lower than an edit box.
constexpr int kLinePitch = 24;
constexpr int kAreaMargin = 4;
constexpr int kControlHeight = 21;

struct AreaControl {
    std::string_view name;
    ControlKind kind;
    int line, left, width;
    std::string_view text;
    std::span<const std::string_view> items = {};
};

// The control a setting of this kind needs.
constexpr ControlKind ControlOf(ValueKind kind) {
    if (kind == ValueKind::Switch) return ControlKind::CheckBox;
    return IsTyped(kind) ? ControlKind::Edit : ControlKind::DropDown;
}

// Each setting after its label, left to right; the lines start their controls
// at the same place. A label is as wide as its text at 14 pixels a full-width
// character (7 a half-width one), which the font takes at 96 dpi.
// clang-format off
constexpr AreaControl kAreaControls[] = {
    //  name                     kind                    line left width text
    {"LabelArrange",          ControlKind::Label,     0,   8,  44, "並べ方"},
    {"ComboBoxArrange",       ControlKind::DropDown,  0,  54, 112, "", kArrangementItems},
    {"LabelSide",             ControlKind::Label,     0, 178,  44, "帯の側"},
    {"ComboBoxSide",          ControlKind::DropDown,  0, 224, 112, "", kSideItems},
    {"LabelOrient",           ControlKind::Label,     0, 348,  30, "向き"},
    {"ComboBoxOrient",        ControlKind::DropDown,  0, 380,  98, "", kOrientationItems},
    {"LabelKind",             ControlKind::Label,     1,   8,  44, "種類"},
    {"ComboBoxKind",          ControlKind::DropDown,  1,  54,  70, "", kRowKindItems},
    {"LabelPitch",            ControlKind::Label,     1, 136,  44, "ピッチ"},
    {"EditPitch",             ControlKind::Edit,      1, 182,  64, ""},
    {"LabelRhythm",           ControlKind::Label,     1, 258,  66, "長短(L/S)"},
    {"EditRhythm",            ControlKind::Edit,      1, 326,  64, ""},
    {"LabelShortRatio",       ControlKind::Label,     1, 402,  44, "短の比"},
    {"EditShortRatio",        ControlKind::Edit,      1, 448,  64, ""},
    {"LabelTickLength",       ControlKind::Label,     1, 524,  30, "長さ"},
    {"EditTickLength",        ControlKind::Edit,      1, 556,  64, ""},
    {"CheckBoxDrawTop",       ControlKind::CheckBox,  1, 632,  92, "法肩を描く"},
    {"LabelFigureB",          ControlKind::Label,     2,   8,  44, "図形B"},
    {kSecondFigureList,       ControlKind::DropDown,  2,  54, 112, ""},
    {"LabelWB",               ControlKind::Label,     2, 178,  16, "幅"},
    {"EditWB",                ControlKind::Edit,      2, 196,  64, ""},
    {"LabelHB",               ControlKind::Label,     2, 272,  30, "高さ"},
    {"EditHB",                ControlKind::Edit,      2, 304,  64, ""},
    {"LabelSequence",         ControlKind::Label,     2, 380,  66, "並び(A/B)"},
    {"EditSequence",          ControlKind::Edit,      2, 448,  64, ""},
    {"CheckBoxFit",           ControlKind::CheckBox,  2, 524, 106, "縦横比を保つ"},
    {"CheckBoxElementColors", ControlKind::CheckBox,  2, 640,  78, "要素の色"},
};
// clang-format on

// Every setting of the [extension] section that has a control finds it here,
// of its kind, and every control here but a label shows such a setting.
constexpr bool ShowsTheKeySettings() {
    for (const RowSetting& s : kKeySettings) {
        if (s.control.empty()) continue;
        bool found = false;
        for (const AreaControl& c : kAreaControls)
            found = found || (c.name == s.control && c.kind == ControlOf(s.kind));
        if (!found) return false;
    }
    for (const AreaControl& c : kAreaControls) {
        if (c.kind == ControlKind::Label) continue;
        bool shown = false;
        for (const RowSetting& s : kKeySettings) shown = shown || s.control == c.name;
        if (!shown) return false;
    }
    return true;
}
static_assert(ShowsTheKeySettings(), "the area shows the row settings of the section");

Rect PlaceOf(const AreaControl& c) {
    const int lineTop = kSettingsAreaTop + kAreaMargin + kLinePitch * c.line;
    switch (c.kind) {
        case ControlKind::Label: return {c.left, lineTop + 4, c.width, kFontHeight};
        case ControlKind::CheckBox: return {c.left, lineTop + 2, c.width, 17};
        default: return {c.left, lineTop, c.width, kControlHeight};
    }
}

// Numbers, letters of a rhythm or a sequence: nothing the input method helps with.
bool TypedWithoutInputMethod(const AreaControl& c) {
    return c.kind == ControlKind::Edit || c.name == kSecondFigureList;
}

}  // namespace

static_assert(kSettingsAreaTop + kAreaMargin + 2 * kLinePitch + kControlHeight + kAreaMargin <=
                  kClientHeight,
              "the form is tall enough for the area's three lines");

std::vector<ControlEntry> SettingsAreaControls() {
    std::vector<ControlEntry> controls;
    for (const AreaControl& c : kAreaControls)
        controls.push_back({std::string(c.name), c.kind, PlaceOf(c), std::string(c.text), c.items,
                            -1, TypedWithoutInputMethod(c)});
    return controls;
}

}  // namespace tesra

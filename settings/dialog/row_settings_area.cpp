// The settings area below the preview band: its controls, their places and
// the row settings they show.
#include "settings/dialog/row_settings_area.h"

#include <array>

#include "settings/row_settings.h"

namespace tesra {
namespace {

constexpr std::array<std::string_view, 3> kArrangementItems = {"辺ごと", "通し", "角に合わせる"};
constexpr std::array<std::string_view, 3> kSideItems = {"指示どおり", "内側", "外側"};
constexpr std::array<std::string_view, 2> kOrientationItems = {"経路に沿う", "正立"};
constexpr std::array<std::string_view, 2> kRowKindItems = {"装飾線", "法面"};
// Item index = the host's `lc` / `lt` number; item 0 keeps the host's pen.
constexpr std::array<std::string_view, 10> kPenColorItems = {
    "現在の線色", "線色1", "線色2", "線色3", "線色4",
    "線色5",      "線色6", "線色7", "線色8", "補助線色"};
constexpr std::array<std::string_view, 10> kPenLineTypeItems = {
    "現在の線種", "実線",    "点線1",   "点線2",   "点線3",
    "一点鎖1",    "一点鎖2", "二点鎖1", "二点鎖2", "補助線種"};

// The area holds five lines of controls at the rows' pitch; a label stands
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

// Each setting after its label, left to right. A label is as wide as its
// text, access key shown, at 14 pixels a full-width character (7 a half-width
// one), which the font takes at 96 dpi; its access key moves to the control
// after it.
// clang-format off
constexpr AreaControl kAreaControls[] = {
    //  name                     kind                    line left width text
    {"LabelArrange",         ControlKind::Label,     0,   8,  63, "並べ方(&A)"},
    {"ComboBoxArrange",      ControlKind::DropDown,  0,  73, 112, "", kArrangementItems},
    {"LabelSide",            ControlKind::Label,     0, 197,  63, "描く側(&I)"},
    {"ComboBoxSide",         ControlKind::DropDown,  0, 262, 112, "", kSideItems},
    {"LabelOrient",          ControlKind::Label,     0, 386,  49, "向き(&M)"},
    {"ComboBoxOrient",       ControlKind::DropDown,  0, 437,  98, "", kOrientationItems},
    {"CheckBoxBend",         ControlKind::CheckBox,  0, 547,  79, "曲げる(&1)"},
    {"LabelKind",            ControlKind::Label,     1,   8,  49, "種類(&T)"},
    {"ComboBoxKind",         ControlKind::DropDown,  1,  59,  70, "", kRowKindItems},
    {"LabelPitch",           ControlKind::Label,     1, 141,  49, "間隔(&P)"},
    {"EditPitch",            ControlKind::Edit,      1, 192,  60, ""},
    {"LabelRhythm",          ControlKind::Label,     1, 264,  49, "長短(&R)"},
    {"EditRhythm",           ControlKind::Edit,      1, 315,  60, ""},
    {"LabelShortRatio",      ControlKind::Label,     1, 387,  63, "短い線(&C)"},
    {"EditShortRatio",       ControlKind::Edit,      1, 452,  60, ""},
    {"LabelTickLength",      ControlKind::Label,     1, 524,  63, "長い線(&L)"},
    {"EditTickLength",       ControlKind::Edit,      1, 589,  60, ""},
    {"CheckBoxDrawTop",      ControlKind::CheckBox,  1, 661, 107, "法肩を描く(&K)"},
    {"LabelFigureB",         ControlKind::Label,     2,   8,  56, "図形B(&B)"},
    {kSecondFigureList,      ControlKind::DropDown,  2,  66, 112, ""},
    {"LabelWB",              ControlKind::Label,     2, 190,  35, "幅(&W)"},
    {"EditWB",               ControlKind::Edit,      2, 227,  60, ""},
    {"LabelHB",              ControlKind::Label,     2, 299,  49, "高さ(&H)"},
    {"EditHB",               ControlKind::Edit,      2, 350,  60, ""},
    {"LabelSequence",        ControlKind::Label,     2, 422,  49, "並び(&Q)"},
    {"EditSequence",         ControlKind::Edit,      2, 473,  60, ""},
    {"CheckBoxFit",          ControlKind::CheckBox,  2, 545, 121, "縦横比を保つ(&F)"},
    {"CheckBoxElementColors", ControlKind::CheckBox,  2, 678,  93, "要素の色(&E)"},
    {"LabelPenFigure",       ControlKind::Label,     3,   8,  49, "図形(&Z)"},
    {"ComboBoxFigureColor",  ControlKind::DropDown,  3,  59, 104, "", kPenColorItems},
    {"ComboBoxFigureLineType", ControlKind::DropDown, 3, 167, 104, "", kPenLineTypeItems},
    {"LabelPenUpper",        ControlKind::Label,     3, 283,  49, "上線(&U)"},
    {"ComboBoxUpperColor",   ControlKind::DropDown,  3, 334, 104, "", kPenColorItems},
    {"ComboBoxUpperLineType", ControlKind::DropDown, 3, 442, 104, "", kPenLineTypeItems},
    {"LabelPenMiddle",       ControlKind::Label,     4,   8,  49, "中線(&J)"},
    {"ComboBoxMiddleColor",  ControlKind::DropDown,  4,  59, 104, "", kPenColorItems},
    {"ComboBoxMiddleLineType", ControlKind::DropDown, 4, 167, 104, "", kPenLineTypeItems},
    {"LabelPenLower",        ControlKind::Label,     4, 283,  49, "下線(&D)"},
    {"ComboBoxLowerColor",   ControlKind::DropDown,  4, 334, 104, "", kPenColorItems},
    {"ComboBoxLowerLineType", ControlKind::DropDown, 4, 442, 104, "", kPenLineTypeItems},
    {kSymbolFromButton,      ControlKind::Button,    3, 558, 110, "記号から(&O)…"},
    {kRegisterSymbolButton,  ControlKind::Button,    4, 558, 164, "この行を記号に登録(&V)"},
};
// clang-format on

// Every setting of the [extension] section that has a control finds it here,
// of its kind, and every control here but a label or a button shows such a
// setting.
constexpr bool ShowsTheKeySettings() {
    for (const RowSetting& s : kKeySettings) {
        if (s.control.empty()) continue;
        bool found = false;
        for (const AreaControl& c : kAreaControls)
            found = found || (c.name == s.control && c.kind == ControlOf(s.kind));
        if (!found) return false;
    }
    for (const AreaControl& c : kAreaControls) {
        if (c.kind == ControlKind::Label || c.kind == ControlKind::Button) continue;
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

static_assert(kSettingsAreaTop + kAreaMargin + 4 * kLinePitch + kControlHeight + kAreaMargin <=
                  kClientHeight,
              "the form is tall enough for the area's five lines");

std::vector<ControlEntry> SettingsAreaControls() {
    std::vector<ControlEntry> controls;
    for (const AreaControl& c : kAreaControls)
        controls.push_back({std::string(c.name), c.kind, PlaceOf(c), std::string(c.text), c.items,
                            -1, TypedWithoutInputMethod(c)});
    return controls;
}

}  // namespace tesra

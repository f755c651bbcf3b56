// The settings area below the preview band: its controls, their places and
// the row settings they show.
#include "settings/dialog/row_settings_area.h"

#include <array>

#include "geom/helpers.h"
#include "settings/pattern_store.h"
#include "settings/store_extension.h"

namespace tesra {
namespace {

constexpr std::array<std::string_view, 3> kArrangementItems = {"辺ごと", "通し", "角に合わせる"};
constexpr std::array<std::string_view, 3> kSideItems = {"基準点のまま", "内側", "外側"};
constexpr std::array<std::string_view, 2> kOrientationItems = {"経路に沿う", "正立"};
constexpr std::array<std::string_view, 2> kRowKindItems = {"装飾線", "法面"};
// Item index = the host's `lc` / `lt` number; item 0 keeps the host's pen.
constexpr std::array<std::string_view, 10> kPenColorItems = {
    "現在の線色", "線色1", "線色2", "線色3", "線色4",
    "線色5",      "線色6", "線色7", "線色8", "補助線色"};
constexpr std::array<std::string_view, 10> kPenLineTypeItems = {
    "現在の線種", "実線",    "点線1",   "点線2",   "点線3",
    "一点鎖1",    "一点鎖2", "二点鎖1", "二点鎖2", "補助線種"};

// The area's side of each row setting, in the order of kExtensionKeys (which
// says where the setting lives in the row): the control that shows it and the
// check OK applies to what is typed in an edit box.
// What an edit box reads back; the order check compares this, not the check
// functions, whose addresses a sanitizing build does not treat as constants.
enum class Typed { Code, Number, Text };
struct AreaControlOfKey {
    std::string_view key;  // the store's name, which pins the order
    std::string_view control;
    Typed typed = Typed::Code;
    double (*validate)(std::string_view) = nullptr;
    std::string (*validateText)(std::string_view) = nullptr;
};

// clang-format off
constexpr AreaControlOfKey kAreaControlsOfKeys[] = {
    //  key               control                  value          check
    {"arrangement",    "ComboBoxArrange"},
    {"side",           "ComboBoxSide"},
    {"orientation",    "ComboBoxOrient"},
    {"kind",           "ComboBoxKind"},
    {"pitch",          "EditPitch",             Typed::Number, ValidatedSize},
    {"rhythm",         "EditRhythm",            Typed::Text,   nullptr, ValidatedRhythm},
    {"short_ratio",    "EditShortRatio",        Typed::Number, ValidatedRatio},
    {"tick_length",    "EditTickLength",        Typed::Number, ValidatedSize},
    {"draw_top",       "CheckBoxDrawTop"},
    {"figure_b",       kSecondFigureList},
    {"width_b",        "EditWB",                Typed::Number, ValidatedSize},
    {"height_b",       "EditHB",                Typed::Number, ValidatedSize},
    {"sequence",       "EditSequence",          Typed::Text,   nullptr, ValidatedSequence},
    {"fit",            "CheckBoxFit"},
    {"element_colors", "CheckBoxElementColors"},
    {"figure_color",    "ComboBoxFigureColor"},
    {"figure_linetype", "ComboBoxFigureLineType"},
    {"upper_color",     "ComboBoxUpperColor"},
    {"upper_linetype",  "ComboBoxUpperLineType"},
    {"middle_color",    "ComboBoxMiddleColor"},
    {"middle_linetype", "ComboBoxMiddleLineType"},
    {"lower_color",     "ComboBoxLowerColor"},
    {"lower_linetype",  "ComboBoxLowerLineType"},
};
// clang-format on

// Each control stands at its setting's place among the store's keys, and an
// edit box checks what it reads back as the kind of value the setting holds.
constexpr bool FollowsTheStoreKeys() {
    if (std::size(kAreaControlsOfKeys) != std::size(kExtensionKeys)) return false;
    for (std::size_t i = 0; i < std::size(kExtensionKeys); ++i) {
        const AreaControlOfKey& a = kAreaControlsOfKeys[i];
        const ExtensionKey& k = kExtensionKeys[i];
        if (a.key != k.name || (a.typed == Typed::Number) != (k.real != nullptr) ||
            (a.typed == Typed::Text) != (k.text != nullptr))
            return false;
    }
    return true;
}
static_assert(FollowsTheStoreKeys(), "the area shows the store's row settings in their order");

constexpr std::array<AreaField, std::size(kExtensionKeys)> kAreaFields = [] {
    std::array<AreaField, std::size(kExtensionKeys)> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ExtensionKey& k = kExtensionKeys[i];
        const AreaControlOfKey& a = kAreaControlsOfKeys[i];
        fields[i] = {a.control, k.integer, k.real, a.validate, k.text, a.validateText};
    }
    return fields;
}();

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

// Each setting after its label, left to right; the lines start their controls
// at the same place. A label is as wide as its text at 14 pixels a full-width
// character (7 a half-width one), which the font takes at 96 dpi.
// clang-format off
const AreaControl kAreaControls[] = {
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
    {"LabelPenFigure",        ControlKind::Label,     3,   8,  30, "図形"},
    {"ComboBoxFigureColor",   ControlKind::DropDown,  3,  40, 104, "", kPenColorItems},
    {"ComboBoxFigureLineType", ControlKind::DropDown, 3, 148, 104, "", kPenLineTypeItems},
    {"LabelPenUpper",         ControlKind::Label,     3, 268,  30, "上線"},
    {"ComboBoxUpperColor",    ControlKind::DropDown,  3, 300, 104, "", kPenColorItems},
    {"ComboBoxUpperLineType", ControlKind::DropDown,  3, 408, 104, "", kPenLineTypeItems},
    {"LabelPenMiddle",        ControlKind::Label,     4,   8,  30, "中線"},
    {"ComboBoxMiddleColor",   ControlKind::DropDown,  4,  40, 104, "", kPenColorItems},
    {"ComboBoxMiddleLineType", ControlKind::DropDown, 4, 148, 104, "", kPenLineTypeItems},
    {"LabelPenLower",         ControlKind::Label,     4, 268,  30, "下線"},
    {"ComboBoxLowerColor",    ControlKind::DropDown,  4, 300, 104, "", kPenColorItems},
    {"ComboBoxLowerLineType", ControlKind::DropDown,  4, 408, 104, "", kPenLineTypeItems},
};
// clang-format on

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

std::span<const AreaField> AreaFields() { return kAreaFields; }

bool IsCheckBox(const AreaField& field) {
    for (const AreaControl& c : kAreaControls)
        if (c.name == field.control) return c.kind == ControlKind::CheckBox;
    return false;
}

std::vector<ControlEntry> SettingsAreaControls() {
    std::vector<ControlEntry> controls;
    for (const AreaControl& c : kAreaControls)
        controls.push_back({std::string(c.name), c.kind, PlaceOf(c), std::string(c.text), c.items,
                            -1, TypedWithoutInputMethod(c)});
    return controls;
}

double ValidatedRatio(std::string_view text) {
    const double v = ParseFloat(text);
    return IsValidRatio(v) ? v : PatternRow{}.shortRatio;
}

std::string ValidatedRhythm(std::string_view text) {
    return ReadRhythm(text).value_or(PatternRow{}.rhythm);
}

std::string ValidatedSequence(std::string_view text) {
    return ReadSequence(text).value_or(PatternRow{}.sequence);
}

}  // namespace tesra

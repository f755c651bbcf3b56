// The settings area below the preview band: its controls, their places and
// the row settings they show.
#include "settings/dialog/row_settings_area.h"

#include <array>

#include "geom/helpers.h"
#include "settings/pattern_store.h"

namespace tesra {
namespace {

constexpr std::array<std::string_view, 3> kArrangementItems = {"辺ごと", "通し", "角に合わせる"};
constexpr std::array<std::string_view, 3> kSideItems = {"基準点のまま", "内側", "外側"};
constexpr std::array<std::string_view, 2> kOrientationItems = {"経路に沿う", "正立"};
constexpr std::array<std::string_view, 2> kRowKindItems = {"装飾線", "法面"};

const AreaField kAreaFields[] = {
    //  control                 integer                        real / text                 check
    {"ComboBoxArrange",       &PatternRow::arrangement},
    {"ComboBoxSide",          &PatternRow::side},
    {"ComboBoxOrient",        &PatternRow::orientation},
    {"ComboBoxKind",          &PatternRow::rowKind},
    {"EditPitch",             nullptr,                      &PatternRow::pitch,        ValidatedSize},
    {"EditRhythm",            nullptr, nullptr, nullptr,    &PatternRow::rhythm,       ValidatedRhythm},
    {"EditShortRatio",        nullptr,                      &PatternRow::shortRatio,   ValidatedRatio},
    {"EditTickLength",        nullptr,                      &PatternRow::tickLength,   ValidatedSize},
    {"CheckBoxDrawTop",       &PatternRow::drawTop},
    {kSecondFigureList,       &PatternRow::figureB},
    {"EditWB",                nullptr,                      &PatternRow::widthB,       ValidatedSize},
    {"EditHB",                nullptr,                      &PatternRow::heightB,      ValidatedSize},
    {"EditSequence",          nullptr, nullptr, nullptr,    &PatternRow::sequence,     ValidatedSequence},
    {"CheckBoxFit",           &PatternRow::fit},
    {"CheckBoxElementColors", &PatternRow::elementColors},
};

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

// Each setting after its label, left to right; the second and third lines
// start their controls where the first line does.
const AreaControl kAreaControls[] = {
    //  name                     kind                    line left width text
    {"LabelArrange",          ControlKind::Label,     0,   8,  40, "並べ方"},
    {"ComboBoxArrange",       ControlKind::DropDown,  0,  48, 105, "", kArrangementItems},
    {"LabelSide",             ControlKind::Label,     0, 161,  40, "帯の側"},
    {"ComboBoxSide",          ControlKind::DropDown,  0, 201, 105, "", kSideItems},
    {"LabelOrient",           ControlKind::Label,     0, 314,  28, "向き"},
    {"ComboBoxOrient",        ControlKind::DropDown,  0, 342,  89, "", kOrientationItems},
    {"LabelKind",             ControlKind::Label,     1,   8,  40, "種類"},
    {"ComboBoxKind",          ControlKind::DropDown,  1,  48,  65, "", kRowKindItems},
    {"LabelPitch",            ControlKind::Label,     1, 121,  40, "ピッチ"},
    {"EditPitch",             ControlKind::Edit,      1, 161,  64, ""},
    {"LabelRhythm",           ControlKind::Label,     1, 233,  60, "長短(L/S)"},
    {"EditRhythm",            ControlKind::Edit,      1, 293,  64, ""},
    {"LabelShortRatio",       ControlKind::Label,     1, 365,  40, "短の比"},
    {"EditShortRatio",        ControlKind::Edit,      1, 405,  64, ""},
    {"LabelTickLength",       ControlKind::Label,     1, 477,  28, "長さ"},
    {"EditTickLength",        ControlKind::Edit,      1, 505,  64, ""},
    {"CheckBoxDrawTop",       ControlKind::CheckBox,  1, 577,  93, "法肩を描く"},
    {"LabelFigureB",          ControlKind::Label,     2,   8,  40, "図形B"},
    {kSecondFigureList,       ControlKind::DropDown,  2,  48, 105, ""},
    {"LabelWB",               ControlKind::Label,     2, 161,  14, "幅"},
    {"EditWB",                ControlKind::Edit,      2, 175,  64, ""},
    {"LabelHB",               ControlKind::Label,     2, 247,  28, "高さ"},
    {"EditHB",                ControlKind::Edit,      2, 275,  64, ""},
    {"LabelSequence",         ControlKind::Label,     2, 347,  60, "並び(A/B)"},
    {"EditSequence",          ControlKind::Edit,      2, 407,  64, ""},
    {"CheckBoxFit",           ControlKind::CheckBox,  2, 479, 100, "縦横比を保つ"},
    {"CheckBoxElementColors", ControlKind::CheckBox,  2, 587,  80, "要素の色"},
};

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

#pragma once
// The settings form TForm1 as data: every control with its name, kind,
// place, caption, items and tab position. The window code creates the form
// from this description; the dialog's logic finds controls by these names.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesra {

inline constexpr std::string_view kAppTitle = "q731_Tesra";
inline constexpr std::string_view kFormCaption = "Tesra　設定";
inline constexpr std::string_view kFontName = "ＭＳ ゴシック";
inline constexpr int kFontHeight = 13;  // pixels at 96 dpi
inline constexpr int kClientWidth = 783;
// The form's own controls stand above this line; the preview band below it.
inline constexpr int kRowsAreaHeight = 309;
inline constexpr int kPreviewBandHeight = 100;
// Below the band, the settings of the row it shows (row_settings_area.h).
inline constexpr int kSettingsAreaHeight = 128;
inline constexpr int kClientHeight = kRowsAreaHeight + kPreviewBandHeight + kSettingsAreaHeight;
inline constexpr std::int32_t kFormColor = 0xFFFFFF;  // white
inline constexpr std::int32_t kMemoColor = 16051131;  // 0x00BBGGRR: red BB, green EB, blue F4
// Long enough for anything a user types as a number, so that the dialog sees
// it whole and says what it stores instead (a box that cut the typing would
// store what nobody saw).
inline constexpr int kEditMaxChars = 32;

// The fixed controls, by the names the dialog's logic and the window code
// find them under.
inline constexpr std::string_view kHelpMemo = "Memo1";
inline constexpr std::string_view kOkButton = "Button1";
inline constexpr std::string_view kCancelButton = "Button2";
inline constexpr std::string_view kSolidColorSwitch = "CheckBox1";
inline constexpr std::string_view kUnitLabel = "LabelU";
inline constexpr std::string_view kColorSwatch = "Label2";
inline constexpr std::string_view kPreviewBand = "PaintBox1";
// Labels that give the rows and the help text an access key.
inline constexpr std::string_view kRowsLabel = "LabelRows";
inline constexpr std::string_view kHelpLabel = "LabelHelp";

// The name prefixes of a row's controls, the row number following.
inline constexpr std::string_view kRowSelector = "RadioButton";
inline constexpr std::string_view kFigureList = "ComboBoxZ";
inline constexpr std::string_view kPlacementList = "ComboBoxA";

enum class ControlKind {
    Label,     // static text
    Heading,   // static text centred over a column of the rows
    Swatch,    // a button showing a color: click, Space or Enter opens the color chooser
    Memo,      // read-only multi-line text, vertical scroll bar, no wrap
    Selector,  // one of the row selectors (one group for all rows)
    DropDown,  // drop-down list without free text
    Edit,      // single-line edit box
    CheckBox,
    DefaultButton,  // pressed by Enter
    CancelButton,   // pressed by Escape and by the window's close box
    Button,         // a push button that runs one of the dialog's commands
    PreviewBand,    // painted by the program: the pattern of one row
};

struct Rect {
    int left, top, width, height;
};

struct ControlEntry {
    std::string name;
    ControlKind kind;
    Rect place;  // client pixels at 96 dpi
    std::string text;
    std::span<const std::string_view> items;  // a drop-down list's fixed items
    int tabOrder;                             // -1: not in the tab order
    bool imeOff;
    // A label's access key moves the focus here: a control's name, or the
    // selectors' prefix for the selector of the row in use. Empty: none.
    std::string labelFor = {};
    std::string tip = {};  // a sentence on what the setting does; empty: none
};

// Labels, headings and the band take no focus; every other control does.
bool IsTabStop(ControlKind kind);

// The access key of a control's text: the letter after "&", upper case; 0
// for none.
char AccessKeyOf(std::string_view text);

// What a label or an edit box says when the pointer rests on it, by the
// label's name; empty for none.
std::string_view TipOf(std::string_view labelName);

// Every control of the form: first the tab stops in tab order (rows 1 to 12,
// the settings area below the band, then Memo1, Button1, Button2,
// CheckBox1), then the labels, the column headings ("Heading" and the column's
// prefix: "HeadingEditW") and, last, the preview band. Creating the windows in
// this order gives the tab order, so the tab order is numbered from this order
// rather than written down.
const std::vector<ControlEntry>& FormControls();

// The name prefixes of a row's controls, selector first ("RadioButton", "ComboBoxZ", …).
std::span<const std::string_view> RowControlPrefixes();
// The prefixes of the controls that show a row's stored fields, in the order
// of kLineSettings (the row's controls but the selector).
std::span<const std::string_view> RowFieldPrefixes();

// "EditW", 3 -> "EditW3".
std::string ControlName(std::string_view prefix, int row);

// The help text of Memo1, one entry per line.
std::span<const std::string_view> HelpLines();

}  // namespace tesra

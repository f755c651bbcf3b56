#pragma once
// What the settings dialog needs from a window system, and nothing more. The
// dialog's logic is written against this list only, so that it runs (and is
// tested) without any window system; settings/win32 implements it once.
// Every text crossing this boundary is UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "figures/figure_cell.h"
#include "figures/own_figures.h"
#include "settings/dialog/figure_grid.h"
#include "settings/dialog/symbol_grid.h"
#include "settings/pattern_store.h"

namespace tesra {

// A control as the platform hands it out; kNoControl for an unknown name.
using Control = int;
inline constexpr Control kNoControl = -1;

struct WindowPosition {
    std::int32_t left = 0;
    std::int32_t top = 0;
};

class DialogPlatform {
public:
    virtual ~DialogPlatform() = default;

    // A control by its full name: prefix and row number ("EditW3"), or a
    // fixed control's name ("CheckBox1").
    virtual Control Find(std::string_view name) = 0;

    // Selectors form one group: turning one on turns the others off.
    virtual void SetSelector(Control c, bool on) = 0;
    virtual bool SelectorOn(Control c) = 0;
    virtual void FocusSelector(Control c) = 0;
    // Any control that takes the focus: the target of a label's access key.
    virtual void FocusControl(Control c) = 0;

    virtual void ClearItems(Control c) = 0;
    virtual void AddItem(Control c, std::string_view text) = 0;
    // An item of a figure list, painted as figure kind (-1: no picture).
    virtual void AddFigureItem(Control c, std::string_view text, std::int32_t kind) = 0;
    // The own figures that figure items and the preview band draw; set stays
    // alive as long as the form.
    virtual void UseOwnFigures(const OwnFigureSet& set) = 0;
    // Text kept in the files' CP932 (the own figures' names), as UTF-8, and
    // back: nothing for a text with a character CP932 does not have.
    virtual std::string FromCp932(std::string_view cp932) = 0;
    virtual std::optional<std::string> ToCp932(std::string_view utf8) = 0;
    // An index without an item leaves the list showing no selection.
    virtual void SelectItem(Control c, std::int32_t index) = 0;
    virtual std::int32_t SelectedItem(Control c) = 0;  // -1: none

    virtual void SetEditText(Control c, std::string_view text) = 0;
    virtual std::string EditText(Control c) = 0;
    // A note on an edit box saying that its value will be stored otherwise
    // than typed; shown until replaced, an empty note takes it away.
    virtual void ShowValueNote(Control c, std::string_view noteUtf8) = 0;

    virtual void SetLabelText(Control c, std::string_view text) = 0;
    virtual void SetLabelColor(Control c, std::int32_t bgr) = 0;  // 0x00BBGGRR

    virtual void SetChecked(Control c, bool on) = 0;
    virtual bool Checked(Control c) = 0;

    // The preview band draws row as a pattern in use would be drawn, beside
    // its caption (lines separated by "\n").
    virtual void ShowPreview(Control band, const PatternRow& row, const SolidStyle& solid,
                             std::string_view caption) = 0;

    virtual WindowPosition Position() = 0;
    virtual void MoveTo(WindowPosition position) = 0;

    // The figure chooser, opened at a figure list with the focus on
    // focusCell; returns what the user did there.
    virtual FigureGridAnswer RunFigureGrid(Control list, const FigureGridContent& content,
                                           int focusCell) = 0;
    // The symbol chooser: the figure chooser's grid over the symbols, each
    // cell's picture drawn as content.rows says; returns what the user did.
    virtual FigureGridAnswer RunSymbolGrid(const SymbolGridContent& content, int focusCell) = 0;
    // A line the user types (a new symbol's name), starting as initial,
    // UTF-8; nothing when cancelled.
    virtual std::optional<std::string> AskText(std::string_view prompt,
                                               std::string_view initial) = 0;
    // A question the user answers yes or no (no is the default), and a message.
    virtual bool AskYesNo(std::string_view question) = 0;
    virtual void Tell(std::string_view message) = 0;

    // The platform's color chooser opened at preset; nothing when cancelled.
    virtual std::optional<std::int32_t> RunColorChooser(std::int32_t preset) = 0;

    // Closing the form ends the program.
    virtual void Close() = 0;
};

}  // namespace tesra

#pragma once
// The form's windows and the dialog's operation list on top of them. The
// controls are created from the form table; a control handed to the dialog's
// logic is its index in that table.

// The window system first: the others build on its types.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/dialog/dialog_platform.h"
#include "settings/dialog/form_layout.h"

namespace tesra::win32 {

class Win32Form final : public DialogPlatform {
public:
    Win32Form() = default;
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    // The form window exists already; creates its controls, hidden until the
    // form is shown.
    void CreateControls(HWND form);
    // Places every control, sizes the window and makes the font for dpi.
    void ApplyDpi(UINT dpi);
    UINT Dpi() const { return dpi_; }

    // The control behind a window message, or kNoControl.
    Control FromWindow(HWND child) const;
    ControlKind KindOf(Control c) const;
    // The brush that paints a static control's (or Memo1's) background.
    HBRUSH BackgroundBrush(HWND child, HDC dc);
    // Focus asked for while the form was hidden is given once it shows.
    void GiveFocusAfterShow();
    // The owner-drawn controls: figure lists and the preview band.
    void MeasureItem(MEASUREITEMSTRUCT& item) const;
    bool DrawItem(const DRAWITEMSTRUCT& item);
    // The tip over a figure list: the whole name of its figure, which the
    // closed box may have drawn narrower or shortened.
    void FillTip(NMTTDISPINFOW& tip);

    Control Find(std::string_view name) override;
    void SetSelector(Control c, bool on) override;
    bool SelectorOn(Control c) override;
    void FocusSelector(Control c) override;
    void FocusControl(Control c) override;
    void ClearItems(Control c) override;
    void AddItem(Control c, std::string_view text) override;
    void AddFigureItem(Control c, std::string_view text, std::int32_t kind) override;
    void UseOwnFigures(const OwnFigureSet& set) override {
        ownFigures_ = &set;
        pictures_.Use(&set);
    }
    std::string FromCp932(std::string_view cp932) override;
    std::optional<std::string> ToCp932(std::string_view utf8) override;
    void SelectItem(Control c, std::int32_t index) override;
    std::int32_t SelectedItem(Control c) override;
    void SetEditText(Control c, std::string_view text) override;
    std::string EditText(Control c) override;
    void ShowValueNote(Control c, std::string_view noteUtf8) override;
    void SetLabelText(Control c, std::string_view text) override;
    void SetLabelColor(Control c, std::int32_t bgr) override;
    void ShowPreview(Control band, const PatternRow& row, const SolidStyle& solid,
                     std::string_view caption) override;
    void SetChecked(Control c, bool on) override;
    bool Checked(Control c) override;
    WindowPosition Position() override;
    void MoveTo(WindowPosition position) override;
    std::optional<std::int32_t> RunColorChooser(std::int32_t preset) override;
    FigureGridAnswer RunFigureGrid(Control list, const FigureGridContent& content,
                                   int focusCell) override;
    FigureGridAnswer RunSymbolGrid(const SymbolGridContent& content, int focusCell) override;
    std::optional<std::string> AskText(std::string_view prompt, std::string_view initial) override;
    bool AskYesNo(std::string_view question) override;
    void Tell(std::string_view message) override;
    void Close() override;

private:
    HWND Window(Control c) const;
    HWND CreateControl(const ControlEntry& entry, int id);
    HBRUSH SolidBrush(COLORREF color);
    void SizeFigureLists();
    void AddFigureTips();
    void AddSettingTips();
    // Tab enters the selectors at the one in use (the first when none is).
    void MakeCheckedSelectorTheTabStop();
    void DrawSwatch(const DRAWITEMSTRUCT& item);

    HWND form_ = nullptr;
    std::vector<HWND> windows_;  // index: the control
    std::map<std::string, Control, std::less<>> byName_;
    std::map<Control, COLORREF> labelColors_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::array<COLORREF, 16> customColors_{};
    HFONT font_ = nullptr;
    HFONT editFont_ = nullptr;
    HWND tips_ = nullptr;
    std::wstring tipText_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HWND pendingFocus_ = nullptr;
    PatternRow previewRow_;
    SolidStyle previewSolid_;
    std::string previewCaption_;
    const OwnFigureSet* ownFigures_ = nullptr;
    FigurePictures pictures_;  // of the lists and the chooser
};

// A figure box asks the form to open the figure chooser in place of its list;
// lParam: the box.
inline constexpr UINT kOpenFigureChooser = WM_APP + 1;
// An arrow key on a row selector; wParam: the key, lParam: the selector.
inline constexpr UINT kSelectorArrow = WM_APP + 2;

// Control ids: the table index from here on, except the two buttons, which
// carry IDOK and IDCANCEL so that Enter and Escape reach them.
inline constexpr int kFirstControlId = 1000;

}  // namespace tesra::win32

// The dialog's window operations on real Win32 controls.
#include "settings/win32/win32_form.h"

#include <commctrl.h>
#include <commdlg.h>
#include <imm.h>

#include <algorithm>

#include "settings/dialog/owner_draw.h"
#include "settings/dialog/row_settings_area.h"
#include "settings/win32/control_fixes.h"
#include "settings/win32/dpi.h"
#include "settings/win32/figure_grid_window.h"
#include "settings/win32/painting.h"
#include "settings/win32/symbol_grid_window.h"
#include "settings/win32/text_prompt.h"
#include "settings/win32/wide_text.h"

namespace tesra::win32 {
namespace {

struct WindowStyle {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

WindowStyle StyleOf(ControlKind kind) {
    // Every tab stop opens its own group: the rows interleave the selectors
    // with other controls, so the selectors' group is kept by hand instead
    // (their arrow keys, and only the one in use a tab stop). Labels show
    // their access key, on one line however narrow; a label with a tip hears
    // the pointer.
    constexpr DWORD kTabStop = WS_TABSTOP | WS_GROUP;
    switch (kind) {
        case ControlKind::Label: return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOTIFY, 0};
        case ControlKind::Heading: return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0};
        case ControlKind::Swatch: return {L"BUTTON", BS_OWNERDRAW | kTabStop, 0};
        case ControlKind::Memo:
            return {L"EDIT",
                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Selector: return {L"BUTTON", BS_RADIOBUTTON | BS_NOTIFY | kTabStop, 0};
        case ControlKind::DropDown:
            return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | kTabStop, 0};
        case ControlKind::Edit: return {L"EDIT", ES_AUTOHSCROLL | kTabStop, WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | kTabStop, 0};
        case ControlKind::DefaultButton: return {L"BUTTON", BS_DEFPUSHBUTTON | kTabStop, 0};
        case ControlKind::CancelButton: return {L"BUTTON", BS_PUSHBUTTON | kTabStop, 0};
        case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | kTabStop, 0};
        case ControlKind::PreviewBand: return {L"STATIC", SS_OWNERDRAW, 0};
    }
    return {L"STATIC", 0, 0};
}

int ControlId(ControlKind kind, std::size_t index) {
    if (kind == ControlKind::DefaultButton) return IDOK;
    if (kind == ControlKind::CancelButton) return IDCANCEL;
    return kFirstControlId + static_cast<int>(index);
}

// A drop-down list's window height includes its open list.
constexpr int kListRowHeight = 15;
constexpr int kVisibleListRows = 16;

int ListRows(const ControlEntry& entry) {
    return entry.items.empty() ? kVisibleListRows : static_cast<int>(entry.items.size());
}

COLORREF AsColorRef(std::int32_t bgr) { return static_cast<COLORREF>(bgr) & 0xFFFFFFu; }

// Room around the help text, so that it keeps clear of the box's edge and
// of its scroll bar.
constexpr int kMemoMargin = 3;
// The numbers' font is narrower than the form's, so that eight digits and a
// point fit an edit box whole (longer stored numbers scroll, and the box shows
// that they do).
constexpr int kEditDigitWidth = 6;
constexpr int kEditMargin = 1;
constexpr int kTipWidth = 320;  // at 96 dpi: a tip's sentence wraps at this width

// A box whose value OK stores otherwise than typed is framed in red, over its
// sunken edge, for as long as its note stands: a balloon goes away by itself.
constexpr UINT_PTR kNoteMarkId = 3;
constexpr COLORREF kNoteMarkColor = RGB(0xD0, 0x20, 0x20);

void PaintNoteMark(HWND box) {
    RECT r{};
    GetWindowRect(box, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetWindowDC(box);
    const HBRUSH brush = CreateSolidBrush(kNoteMarkColor);
    for (int i = std::max(2, Scale(2, WindowDpi(box))); i > 0; --i) {
        FrameRect(dc, &r, brush);
        InflateRect(&r, -1, -1);
    }
    DeleteObject(brush);
    ReleaseDC(box, dc);
}

LRESULT CALLBACK NoteMarkProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    if (message == WM_NCPAINT || message == WM_PAINT || message == WM_SETFOCUS ||
        message == WM_KILLFOCUS)
        PaintNoteMark(box);
    return result;
}

void RepaintFrame(HWND box) { RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE); }

}  // namespace

Win32Form::~Win32Form() {
    for (const auto& [color, brush] : brushes_) DeleteObject(brush);
    if (font_) DeleteObject(font_);
    if (editFont_) DeleteObject(editFont_);
}

void Win32Form::CreateControls(HWND form) {
    form_ = form;
    const std::vector<ControlEntry>& entries = FormControls();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        byName_[entries[i].name] = static_cast<Control>(i);
        windows_.push_back(CreateControl(entries[i], ControlId(entries[i].kind, i)));
    }
    AddFigureTips();
    AddSettingTips();
}

// Each setting's sentence over its label and its control, wrapped.
void Win32Form::AddSettingTips() {
    if (!tips_) return;
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, Scale(kTipWidth, dpi_));
    const std::vector<ControlEntry>& entries = FormControls();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].tip.empty()) continue;
        std::wstring text = Widen(entries[i].tip);
        for (HWND w : {windows_[i], Window(Find(entries[i].labelFor))}) {
            if (!w) continue;
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = form_;
            tool.uId = reinterpret_cast<UINT_PTR>(w);
            tool.lpszText = text.data();  // the tip keeps a copy
            SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

void Win32Form::AddFigureTips() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form_, GWLP_HINSTANCE));
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr, instance, nullptr);
    if (!tips_) return;
    const std::vector<ControlEntry>& entries = FormControls();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!ShowsFigurePictures(entries[i].name)) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = form_;
        tool.uId = reinterpret_cast<UINT_PTR>(windows_[i]);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Win32Form::FillTip(NMTTDISPINFOW& tip) {
    const auto list = reinterpret_cast<HWND>(tip.hdr.idFrom);
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    const LRESULT length = index == CB_ERR ? CB_ERR : SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
    tipText_.assign(length == CB_ERR ? 0 : static_cast<std::size_t>(length) + 1, L'\0');
    if (!tipText_.empty()) {
        SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(tipText_.data()));
        tipText_.pop_back();
    }
    tip.lpszText = tipText_.data();
}

HWND Win32Form::CreateControl(const ControlEntry& entry, int id) {
    WindowStyle s = StyleOf(entry.kind);
    const bool figureBox = ShowsFigurePictures(entry.name);
    if (figureBox) s.style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form_, GWLP_HINSTANCE));
    HWND w = CreateWindowExW(s.exStyle, s.windowClass, Widen(entry.text).c_str(),
                             WS_CHILD | WS_VISIBLE | s.style, 0, 0, 0, 0, form_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (entry.kind == ControlKind::Edit) SendMessageW(w, EM_SETLIMITTEXT, kEditMaxChars, 0);
    if (entry.kind == ControlKind::DropDown) SendMessageW(w, CB_SETMINVISIBLE, kVisibleListRows, 0);
    if (figureBox) OpenChooserInsteadOfList(w, kOpenFigureChooser);
    if (entry.imeOff) ImmAssociateContext(w, nullptr);
    if (entry.kind == ControlKind::Selector) {
        HideFocusBox(w);
        ArrowKeysToParent(w, kSelectorArrow);
    }
    if (entry.kind == ControlKind::Edit) CentreTextVertically(w);
    for (std::string_view item : entry.items) {
        SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    }
    return w;
}

void Win32Form::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    const HFONT old = font_;
    font_ = CreateFontW(-Scale(kFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        FIXED_PITCH | FF_MODERN, Widen(kFontName).c_str());
    const HFONT oldEdit = editFont_;
    editFont_ =
        CreateFontW(-Scale(kFontHeight, dpi), Scale(kEditDigitWidth, dpi), 0, 0, FW_NORMAL, FALSE,
                    FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, Widen(kFontName).c_str());
    const std::vector<ControlEntry>& entries = FormControls();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // The font first: the edit boxes centre their text by it when placed.
        const HFONT font = entries[i].kind == ControlKind::Edit ? editFont_ : font_;
        SendMessageW(windows_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        const Rect& r = entries[i].place;
        int height = Scale(r.height, dpi);
        if (entries[i].kind == ControlKind::DropDown)
            height += Scale(kListRowHeight * ListRows(entries[i]), dpi);
        SetWindowPos(windows_[i], nullptr, Scale(r.left, dpi), Scale(r.top, dpi),
                     Scale(r.width, dpi), height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (entries[i].kind == ControlKind::Edit) {
            SendMessageW(windows_[i], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(Scale(kEditMargin, dpi), Scale(kEditMargin, dpi)));
        }
        if (entries[i].kind == ControlKind::Memo) {
            SendMessageW(windows_[i], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(Scale(kMemoMargin, dpi), Scale(kMemoMargin, dpi)));
        }
    }
    SizeFigureLists();
    if (old) DeleteObject(old);
    if (oldEdit) DeleteObject(oldEdit);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_EXSTYLE));
    const RECT outer = WindowRectForClient(
        {0, 0, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi)}, style, exStyle, dpi);
    SetWindowPos(form_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The figure lists draw their items themselves: their closed box keeps the
// height the other lists take from the font, their open list is taller and
// wider for the pictures.
void Win32Form::SizeFigureLists() {
    const HWND plain = Window(Find(ControlName(kPlacementList, 1)));
    const LRESULT boxHeight = SendMessageW(plain, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const std::vector<ControlEntry>& entries = FormControls();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!ShowsFigurePictures(entries[i].name)) continue;
        if (boxHeight > 0)
            SendMessageW(windows_[i], CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), boxHeight);
        SendMessageW(windows_[i], CB_SETITEMHEIGHT, 0, Scale(kFigureItemHeight, dpi_));
        SendMessageW(windows_[i], CB_SETDROPPEDWIDTH, Scale(kFigureListWidth, dpi_), 0);
    }
}

void Win32Form::MeasureItem(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType == ODT_COMBOBOX)
        item.itemHeight = static_cast<UINT>(Scale(kFigureItemHeight, dpi_));
}

bool Win32Form::DrawItem(const DRAWITEMSTRUCT& item) {
    const Control c = FromWindow(item.hwndItem);
    if (c == kNoControl) return false;
    if (KindOf(c) == ControlKind::PreviewBand) {
        DrawPreviewBand(item, dpi_, previewRow_, previewSolid_, previewCaption_, font_,
                        ownFigures_);
        return true;
    }
    if (KindOf(c) == ControlKind::Swatch) {
        DrawSwatch(item);
        return true;
    }
    if (item.CtlType != ODT_COMBOBOX) return false;
    DrawFigureItem(item, dpi_, pictures_);
    return true;
}

// The color inside a sunken edge, and the focus frame inside that when the
// swatch has the keyboard focus.
void Win32Form::DrawSwatch(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    const auto it = labelColors_.find(FromWindow(item.hwndItem));
    FillRect(item.hDC, &r,
             SolidBrush(it == labelColors_.end() ? AsColorRef(kFormColor) : it->second));
    DrawEdge(item.hDC, &r, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_ETCHED, BF_RECT);
    if ((item.itemState & ODS_FOCUS) == 0) return;
    const int inset = Scale(3, dpi_);
    InflateRect(&r, -inset, -inset);
    const HBRUSH frame = GetSysColorBrush(COLOR_HIGHLIGHT);
    for (int i = 0; i < std::max(1, Scale(1, dpi_)); ++i) {
        FrameRect(item.hDC, &r, frame);
        InflateRect(&r, -1, -1);
    }
}

void Win32Form::ShowPreview(Control band, const PatternRow& row, const SolidStyle& solid,
                            std::string_view caption) {
    previewRow_ = row;
    previewSolid_ = solid;
    previewCaption_ = caption;
    InvalidateRect(Window(band), nullptr, FALSE);
}

Control Win32Form::FromWindow(HWND child) const {
    const auto it = std::find(windows_.begin(), windows_.end(), child);
    return it == windows_.end() ? kNoControl : static_cast<Control>(it - windows_.begin());
}

ControlKind Win32Form::KindOf(Control c) const {
    return FormControls().at(static_cast<std::size_t>(c)).kind;
}

HWND Win32Form::Window(Control c) const {
    return c >= 0 && static_cast<std::size_t>(c) < windows_.size()
               ? windows_[static_cast<std::size_t>(c)]
               : nullptr;
}

HBRUSH Win32Form::SolidBrush(COLORREF color) {
    HBRUSH& brush = brushes_[color];
    if (!brush) brush = CreateSolidBrush(color);
    return brush;
}

HBRUSH Win32Form::BackgroundBrush(HWND child, HDC dc) {
    COLORREF color = AsColorRef(kFormColor);
    const Control c = FromWindow(child);
    if (c != kNoControl && KindOf(c) == ControlKind::Memo) color = AsColorRef(kMemoColor);
    if (const auto it = labelColors_.find(c); it != labelColors_.end()) color = it->second;
    SetBkColor(dc, color);
    return SolidBrush(color);
}

void Win32Form::GiveFocusAfterShow() {
    if (pendingFocus_) SetFocus(pendingFocus_);
    pendingFocus_ = nullptr;
}

Control Win32Form::Find(std::string_view name) {
    const auto it = byName_.find(name);
    return it == byName_.end() ? kNoControl : it->second;
}

void Win32Form::SetSelector(Control c, bool on) {
    if (on) {
        for (std::size_t i = 0; i < windows_.size(); ++i) {
            if (KindOf(static_cast<Control>(i)) == ControlKind::Selector) {
                SendMessageW(windows_[i], BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
    }
    SendMessageW(Window(c), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    MakeCheckedSelectorTheTabStop();
}

void Win32Form::MakeCheckedSelectorTheTabStop() {
    HWND first = nullptr, checked = nullptr;
    std::vector<HWND> selectors;
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        if (KindOf(static_cast<Control>(i)) != ControlKind::Selector) continue;
        selectors.push_back(windows_[i]);
        if (!first) first = windows_[i];
        if (SendMessageW(windows_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) checked = windows_[i];
    }
    const HWND stop = checked ? checked : first;
    for (HWND w : selectors) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
        const DWORD wanted = w == stop ? (style | WS_TABSTOP) : (style & ~DWORD{WS_TABSTOP});
        if (wanted != style) SetWindowLongPtrW(w, GWL_STYLE, static_cast<LONG_PTR>(wanted));
    }
}

bool Win32Form::SelectorOn(Control c) {
    return SendMessageW(Window(c), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Form::FocusSelector(Control c) { FocusControl(c); }

void Win32Form::FocusControl(Control c) {
    if (IsWindowVisible(form_)) {
        SetFocus(Window(c));
    } else {
        pendingFocus_ = Window(c);
    }
}

void Win32Form::ClearItems(Control c) { SendMessageW(Window(c), CB_RESETCONTENT, 0, 0); }

void Win32Form::AddItem(Control c, std::string_view text) {
    SendMessageW(Window(c), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

// The item's data is the kind its picture shows: the index no longer is,
// once own figures follow the built-in ones.
void Win32Form::AddFigureItem(Control c, std::string_view text, std::int32_t kind) {
    const LRESULT index =
        SendMessageW(Window(c), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (index >= 0)
        SendMessageW(Window(c), CB_SETITEMDATA, static_cast<WPARAM>(index),
                     static_cast<LPARAM>(kind));
}

std::string Win32Form::FromCp932(std::string_view cp932) {
    constexpr UINT kCp932 = 932;
    const int size = static_cast<int>(cp932.size());
    const int n = MultiByteToWideChar(kCp932, 0, cp932.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(kCp932, 0, cp932.data(), size, wide.data(), n);
    return Narrow(wide);
}

std::optional<std::string> Win32Form::ToCp932(std::string_view utf8) {
    constexpr UINT kCp932 = 932;
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &lost);
    if (n <= 0 || lost) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n, nullptr,
                        nullptr);
    return out;
}

void Win32Form::SelectItem(Control c, std::int32_t index) {
    const LRESULT count = SendMessageW(Window(c), CB_GETCOUNT, 0, 0);
    // CB_SETCURSEL with an index past the end fails without clearing the
    // selection; -1 is what clears it.
    const WPARAM item =
        index >= 0 && index < count ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1);
    SendMessageW(Window(c), CB_SETCURSEL, item, 0);
}

std::int32_t Win32Form::SelectedItem(Control c) {
    const LRESULT index = SendMessageW(Window(c), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<std::int32_t>(index);
}

void Win32Form::SetEditText(Control c, std::string_view text) {
    SetWindowTextW(Window(c), Widen(text).c_str());
}

std::string Win32Form::EditText(Control c) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Window(c))) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(Window(c), text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

// The note shows as a balloon at once and stays as the box's tip, so that it
// can be read again until the value is corrected or stored; the red frame
// marks the box meanwhile.
void Win32Form::ShowValueNote(Control c, std::string_view noteUtf8) {
    const HWND box = Window(c);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form_;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    if (tips_) SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (noteUtf8.empty()) {
        Edit_HideBalloonTip(box);
        RemoveWindowSubclass(box, NoteMarkProc, kNoteMarkId);
        RepaintFrame(box);
        return;
    }
    SetWindowSubclass(box, NoteMarkProc, kNoteMarkId, 0);
    RepaintFrame(box);
    std::wstring note = Widen(noteUtf8);
    tool.lpszText = note.data();
    if (tips_) SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    const std::wstring title = Widen("保存する値");
    EDITBALLOONTIP balloon{};
    balloon.cbStruct = sizeof balloon;
    balloon.pszTitle = title.c_str();
    balloon.pszText = note.c_str();
    balloon.ttiIcon = TTI_WARNING;
    Edit_ShowBalloonTip(box, &balloon);
}

void Win32Form::SetLabelText(Control c, std::string_view text) {
    SetWindowTextW(Window(c), Widen(text).c_str());
}

// Labels and the swatch.
void Win32Form::SetLabelColor(Control c, std::int32_t bgr) {
    labelColors_[c] = AsColorRef(bgr);
    InvalidateRect(Window(c), nullptr, TRUE);
}

void Win32Form::SetChecked(Control c, bool on) {
    SendMessageW(Window(c), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Form::Checked(Control c) {
    return SendMessageW(Window(c), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

WindowPosition Win32Form::Position() {
    RECT r{};
    GetWindowRect(form_, &r);
    return {r.left, r.top};
}

void Win32Form::MoveTo(WindowPosition position) {
    SetWindowPos(form_, nullptr, position.left, position.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<std::int32_t> Win32Form::RunColorChooser(std::int32_t preset) {
    CHOOSECOLORW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = form_;
    chooser.rgbResult = AsColorRef(preset);
    chooser.lpCustColors = customColors_.data();
    chooser.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!ChooseColorW(&chooser)) return std::nullopt;
    return static_cast<std::int32_t>(chooser.rgbResult);
}

FigureGridAnswer Win32Form::RunFigureGrid(Control list, const FigureGridContent& content,
                                          int focusCell) {
    RECT box{};
    GetWindowRect(Window(list), &box);
    // The window rectangle of a drop-down list includes its list; the
    // chooser opens below the closed box.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(Window(list), &info)) {
        RECT item = info.rcItem;
        MapWindowPoints(Window(list), nullptr, reinterpret_cast<POINT*>(&item), 2);
        box.bottom = item.bottom + (item.top - box.top);
    }
    return RunFigureGridWindow(form_, box, content, focusCell, dpi_, font_, pictures_);
}

// Below the button that asked for it.
FigureGridAnswer Win32Form::RunSymbolGrid(const SymbolGridContent& content, int focusCell) {
    RECT anchor{};
    GetWindowRect(Window(Find(kSymbolFromButton)), &anchor);
    return RunSymbolGridWindow(form_, anchor, content, focusCell, dpi_, font_, ownFigures_);
}

std::optional<std::string> Win32Form::AskText(std::string_view prompt, std::string_view initial) {
    return AskTextWindow(form_, kFormCaption, prompt, initial, dpi_, font_);
}

bool Win32Form::AskYesNo(std::string_view question) {
    return MessageBoxW(form_, Widen(question).c_str(), Widen(kFormCaption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void Win32Form::Tell(std::string_view message) {
    MessageBoxW(form_, Widen(message).c_str(), Widen(kFormCaption).c_str(), MB_OK | MB_ICONWARNING);
}

void Win32Form::Close() { DestroyWindow(form_); }

}  // namespace tesra::win32

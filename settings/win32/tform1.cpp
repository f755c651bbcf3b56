// TForm1, the settings window of the Windows build.
#include "settings/win32/tform1.h"

#include <commctrl.h>

#include <utility>

#include "settings/dialog/form_layout.h"
#include "settings/dialog/settings_dialog.h"
#include "settings/win32/dpi.h"
#include "settings/win32/object_window.h"
#include "settings/win32/painting.h"
#include "settings/win32/wide_text.h"
#include "settings/win32/win32_form.h"

namespace tesra::win32 {
namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = WS_EX_APPWINDOW;

class TForm1 {
public:
    TForm1(PatternStore& store, std::filesystem::path storeFile, FigureLibrary library,
           std::filesystem::path libraryFile)
        : dialog_(ui_, store, std::move(storeFile), std::move(library), std::move(libraryFile)) {}
    void UseSymbols(SymbolLibrary symbols, std::filesystem::path symbolFile) {
        dialog_.UseSymbols(std::move(symbols), std::move(symbolFile));
    }

    bool Create(HINSTANCE instance, HWND application);
    void FormShow(bool bz, int showCommand);
    HWND Handle() const { return hwnd_; }
    // Keys the form answers before the dialog manager: the labels' access
    // keys and Enter on the color swatch. True: the message is done.
    bool PreTranslate(const MSG& msg);

private:
    friend LRESULT CALLBACK ObjectProcedure<TForm1>(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code, HWND child);
    bool OnActivate(bool active);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    Win32Form ui_;
    SettingsDialog dialog_;
};

bool TForm1::Create(HINSTANCE instance, HWND application) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ObjectProcedure<TForm1>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"TForm1";
    RegisterClassExW(&wc);
    hwnd_ =
        CreateWindowExW(kFormExStyle, wc.lpszClassName, Widen(kFormCaption).c_str(), kFormStyle, 0,
                        0, kClientWidth, kClientHeight, application, nullptr, instance, this);
    if (!hwnd_) return false;
    ui_.CreateControls(hwnd_);
    ui_.ApplyDpi(WindowDpi(hwnd_));
    return true;
}

void TForm1::FormShow(bool bz, int showCommand) {
    dialog_.Fill(bz);
    // The stored position may lie on a monitor of another DPI.
    if (const UINT dpi = WindowDpi(hwnd_); dpi != ui_.Dpi()) ui_.ApplyDpi(dpi);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    ui_.GiveFocusAfterShow();
    lastFocus_ = GetFocus();  // what a later activation gives the focus back to
}

LRESULT TForm1::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == TTN_GETDISPINFOW)
                ui_.FillTip(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
            return 0;
        case WM_MEASUREITEM:
            ui_.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            return ui_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                ui_.BackgroundBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        case WM_ACTIVATE:
            if (OnActivate(LOWORD(wParam) != WA_INACTIVE)) return 0;
            return DefWindowProcW(hwnd_, message, wParam, lParam);
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:  // the close box is Cancel
            dialog_.Button2Click();
            return 0;
        case kSelectorArrow: {
            const bool back = wParam == VK_LEFT || wParam == VK_UP;
            dialog_.SelectorKey(
                ui_.FromWindow(reinterpret_cast<HWND>(lParam)),
                back ? SettingsDialog::SelectorMove::Previous : SettingsDialog::SelectorMove::Next);
            return 0;
        }
        case kOpenFigureChooser:
            dialog_.OpenFigureGrid(ui_.FromWindow(reinterpret_cast<HWND>(lParam)));
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void TForm1::OnCommand(int id, int code, HWND child) {
    if (id == IDOK) return dialog_.Button1Click();
    if (id == IDCANCEL) return dialog_.Button2Click();
    const Control c = ui_.FromWindow(child);
    if (c == kNoControl) return;
    // Notification codes mean different things for different controls.
    switch (ui_.KindOf(c)) {
        case ControlKind::Selector:
            if (code == BN_CLICKED) ui_.SetSelector(c, true);
            if (code == BN_CLICKED || code == BN_SETFOCUS) dialog_.Edited(c);
            break;
        case ControlKind::Swatch:  // STN_CLICKED has the same code as BN_CLICKED
            if (code == STN_CLICKED) dialog_.Label2Click();
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) dialog_.Edited(c);
            break;
        case ControlKind::Button:
            if (code == BN_CLICKED) dialog_.Pressed(c);
            break;
        case ControlKind::DropDown:
            if (code == CBN_SELCHANGE || code == CBN_SETFOCUS) dialog_.Edited(c);
            break;
        case ControlKind::Edit:
            if (code == EN_CHANGE || code == EN_SETFOCUS) dialog_.Edited(c);
            if (code == EN_KILLFOCUS) dialog_.LeftEditBox(c);
            break;
        default: break;
    }
}

// A window that is no dialog box must keep its focused control itself across
// switches to other programs. False: let the default handling run.
bool TForm1::OnActivate(bool active) {
    if (!active) {
        lastFocus_ = GetFocus();
        return false;
    }
    if (!lastFocus_ || !IsChild(hwnd_, lastFocus_)) return false;
    SetFocus(lastFocus_);
    return true;
}

void TForm1::OnDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ui_.ApplyDpi(dpi);
}

// The application's own hidden window, which owns the form and carries the
// application title.
HWND CreateApplicationWindow(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"TesraApplication";
    RegisterClassExW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, Widen(kAppTitle).c_str(), WS_POPUP, 0, 0, 0, 0,
                           nullptr, nullptr, instance, nullptr);
}

bool TForm1::PreTranslate(const MSG& msg) {
    if (!IsWindow(hwnd_) || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (msg.message == WM_SYSCHAR && msg.wParam < 0x80)
        return dialog_.AccessKey(static_cast<char>(msg.wParam));
    // The dialog manager presses the default button on Enter, never an owner-drawn one.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN &&
        ui_.FromWindow(msg.hwnd) == ui_.Find(kColorSwatch)) {
        dialog_.Label2Click();
        return true;
    }
    return false;
}

int MessageLoop(TForm1& tform) {
    const HWND form = tform.Handle();
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (tform.PreTranslate(msg)) continue;
        // Tab, Enter and Escape work as in a dialog box.
        if (IsWindow(form) && IsDialogMessageW(form, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int RunSettingsForm(HINSTANCE instance, PatternStore& store, const std::filesystem::path& storeFile,
                    FigureLibrary library, const std::filesystem::path& libraryFile,
                    SymbolLibrary symbols, const std::filesystem::path& symbolFile, bool bz,
                    int showCommand) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    const PaintingSession painting;
    const HWND application = CreateApplicationWindow(instance);
    TForm1 form(store, storeFile, std::move(library), libraryFile);
    form.UseSymbols(std::move(symbols), symbolFile);
    if (!form.Create(instance, application)) return 1;
    form.FormShow(bz, showCommand);
    const int status = MessageLoop(form);
    if (application) DestroyWindow(application);
    return status;
}

}  // namespace tesra::win32

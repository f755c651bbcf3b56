// The one-line text prompt and its own modal loop.
#include "settings/win32/text_prompt.h"

#include "settings/win32/dpi.h"
#include "settings/win32/object_window.h"
#include "settings/win32/wide_text.h"

namespace tesra::win32 {
namespace {

// At 96 dpi: room for a name of 40 full-width characters to be seen in part.
constexpr int kWidth = 360;
constexpr int kMargin = 10;
constexpr int kLineHeight = 16;
constexpr int kEditHeight = 23;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 25;
constexpr int kGap = 8;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

class TextPrompt {
public:
    TextPrompt(UINT dpi, HFONT font) : dpi_(dpi), font_(font) {}
    std::optional<std::string> Run(HWND owner, std::string_view caption, std::string_view prompt,
                                   std::string_view initial);

private:
    friend LRESULT CALLBACK ObjectProcedure<TextPrompt>(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create(HWND owner, std::string_view caption, std::string_view prompt,
                std::string_view initial);
    HWND Child(const wchar_t* kind, const std::wstring& text, DWORD style, int id, RECT r);
    void Finish(bool ok);
    int S(int pixels96) const { return Scale(pixels96, dpi_); }

    UINT dpi_;
    HFONT font_;
    HWND hwnd_ = nullptr;
    HWND edit_ = nullptr;
    bool done_ = false;
    std::optional<std::string> answer_;
};

HWND TextPrompt::Child(const wchar_t* kind, const std::wstring& text, DWORD style, int id, RECT r) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    const HWND w = CreateWindowExW(
        kind == std::wstring_view(L"EDIT") ? WS_EX_CLIENTEDGE : 0, kind, text.c_str(),
        WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return w;
}

bool TextPrompt::Create(HWND owner, std::string_view caption, std::string_view prompt,
                        std::string_view initial) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ObjectProcedure<TextPrompt>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TesraTextPrompt";
    RegisterClassExW(&wc);

    const int editTop = S(kMargin + kLineHeight + 4);
    const int buttonsTop = editTop + S(kEditHeight + kGap);
    const RECT client{0, 0, S(kWidth), buttonsTop + S(kButtonHeight + kMargin)};
    const RECT frame = WindowRectForClient(client, kStyle, WS_EX_DLGMODALFRAME, dpi_);
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = (ownerRect.left + ownerRect.right - width) / 2;
    const int top = (ownerRect.top + ownerRect.bottom - height) / 2;
    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME, wc.lpszClassName, Widen(caption).c_str(), kStyle,
                            left, top, width, height, owner, nullptr, instance, this);
    if (!hwnd_) return false;
    const int right = S(kWidth - kMargin);
    Child(L"STATIC", Widen(prompt), SS_LEFT | SS_NOPREFIX, -1,
          {S(kMargin), S(kMargin), right, S(kMargin + kLineHeight)});
    edit_ = Child(L"EDIT", Widen(initial), ES_AUTOHSCROLL | WS_TABSTOP, 100,
                  {S(kMargin), editTop, right, editTop + S(kEditHeight)});
    const int cancelLeft = right - S(kButtonWidth);
    const int okLeft = cancelLeft - S(kGap + kButtonWidth);
    Child(L"BUTTON", L"ＯＫ", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
          {okLeft, buttonsTop, okLeft + S(kButtonWidth), buttonsTop + S(kButtonHeight)});
    Child(L"BUTTON", L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL,
          {cancelLeft, buttonsTop, right, buttonsTop + S(kButtonHeight)});
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    return true;
}

std::optional<std::string> TextPrompt::Run(HWND owner, std::string_view caption,
                                           std::string_view prompt, std::string_view initial) {
    if (!Create(owner, caption, prompt, initial)) return std::nullopt;
    EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(edit_);
    MSG msg{};
    while (!done_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // The owner takes input again before this window goes, so that the
    // activation returns to it rather than to another program.
    EnableWindow(owner, TRUE);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    return answer_;
}

void TextPrompt::Finish(bool ok) {
    if (done_) return;
    done_ = true;
    if (!ok) return;
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
    answer_ = Narrow(text);
}

LRESULT TextPrompt::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                Finish(LOWORD(wParam) == IDOK);
            return 0;
        case WM_CLOSE: Finish(false); return 0;
        case WM_DESTROY: Finish(false); return 0;
        default: return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace

std::optional<std::string> AskTextWindow(HWND owner, std::string_view caption,
                                         std::string_view prompt, std::string_view initial,
                                         UINT dpi, HFONT font) {
    TextPrompt window(dpi, font);
    return window.Run(owner, caption, prompt, initial);
}

}  // namespace tesra::win32

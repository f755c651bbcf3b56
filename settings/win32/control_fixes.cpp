// Window subclasses that correct the look of standard controls.
#include "settings/win32/control_fixes.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "settings/win32/dpi.h"

namespace tesra::win32 {
namespace {

constexpr UINT_PTR kHideFocusId = 1;
constexpr UINT_PTR kCentreTextId = 2;
constexpr UINT_PTR kArrowKeysId = 4;

bool IsArrow(WPARAM key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

LRESULT CALLBACK ArrowKeysProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR parentMessage) {
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(w, message, wParam, lParam) | DLGC_WANTARROWS;
    if (message == WM_KEYDOWN && IsArrow(wParam)) {
        SendMessageW(GetParent(w), static_cast<UINT>(parentMessage), wParam,
                     reinterpret_cast<LPARAM>(w));
        return 0;
    }
    return DefSubclassProc(w, message, wParam, lParam);
}

// Where the button draws its caption and the focus box around it: right of
// the circle. The caption is blank, so painting the strip over loses nothing.
void EraseCaption(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    r.left = std::min<LONG>(r.right, GetSystemMetrics(SM_CXMENUCHECK) + 2);
    HDC dc = GetDC(w);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(w), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(w)));
    FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    ReleaseDC(w, dc);
}

bool MayDrawFocus(UINT message) {
    switch (message) {
        case WM_PAINT:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
        case WM_ENABLE:
        case BM_SETCHECK:
        case BM_SETSTATE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CAPTURECHANGED: return true;
        default: return false;
    }
}

int ScaledPixels(HWND w, int pixels96) { return Scale(pixels96, WindowDpi(w)); }

// The keyboard focus shown as a frame in the highlight color around the whole
// selector, circle and blank caption: the button's own dotted box went with
// the caption.
void DrawFocusCue(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    HDC dc = GetDC(w);
    const HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
    const int width = std::max(1, ScaledPixels(w, 1));
    for (int i = 0; i < width; ++i) {
        FrameRect(dc, &r, brush);
        InflateRect(&r, -1, -1);
    }
    ReleaseDC(w, dc);
}

LRESULT CALLBACK HideFocusProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
    // Focus arriving or leaving repaints all: the frame covers the circle's part too.
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) InvalidateRect(w, nullptr, TRUE);
    if (MayDrawFocus(message) && IsWindowVisible(w)) {
        EraseCaption(w);
        if (GetFocus() == w) DrawFocusCue(w);
    }
    return result;
}

TEXTMETRICW FontMetrics(HWND w) {
    HDC dc = GetDC(w);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (old) SelectObject(dc, old);
    ReleaseDC(w, dc);
    return metrics;
}

// The window's screen rectangle, and its client area in the window's own
// coordinates, which painting the non-client strips uses.
struct Frame {
    RECT window, client;
};
Frame FrameOf(HWND w) {
    Frame f{};
    GetWindowRect(w, &f.window);
    GetClientRect(w, &f.client);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&f.client), 2);
    OffsetRect(&f.client, -f.window.left, -f.window.top);
    return f;
}

// The strips between the border and the shrunken client area, painted as
// the box's background.
void PaintStrips(HWND w) {
    const auto [window, client] = FrameOf(w);
    const int border = client.left;
    const int height = window.bottom - window.top;
    const RECT above{client.left, border, client.right, client.top};
    const RECT below{client.left, client.bottom, client.right, height - border};
    HDC dc = GetWindowDC(w);
    const HBRUSH back = GetSysColorBrush(IsWindowEnabled(w) ? COLOR_WINDOW : COLOR_BTNFACE);
    if (above.bottom > above.top) FillRect(dc, &above, back);
    if (below.bottom > below.top) FillRect(dc, &below, back);
    ReleaseDC(w, dc);
}

// How far the text reaches past the box on either side, in pixels: negative
// left when it is scrolled, positive right when more follows.
struct Overhang {
    int left = 0, right = 0;
};

Overhang TextOverhang(HWND w) {
    const int length = GetWindowTextLengthW(w);
    if (length == 0) return {};
    RECT client{};
    GetClientRect(w, &client);
    const LRESULT first = SendMessageW(w, EM_POSFROMCHAR, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), length + 1)));
    HDC dc = GetDC(w);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old) SelectObject(dc, old);
    ReleaseDC(w, dc);
    const DWORD margins = static_cast<DWORD>(SendMessageW(w, EM_GETMARGINS, 0, 0));
    const int start = static_cast<short>(LOWORD(first));
    const int innerLeft = client.left + LOWORD(margins),
              innerRight = client.right - HIWORD(margins);
    return {std::min(0, start - innerLeft),
            std::max(0, start + static_cast<int>(size.cx) - innerRight)};
}

// Text that does not fit shows where it goes on: a short bar in the
// highlight color under the box's left or right end, in the strip below
// the text, for as long as text lies beyond that end.
void PaintScrollCue(HWND w) {
    const Overhang over = TextOverhang(w);
    const auto [window, client] = FrameOf(w);
    const int bar = std::max(2, ScaledPixels(w, 2));
    const int length = (client.right - client.left) / 4;
    const RECT strip{client.left, client.bottom - bar, client.right, client.bottom};
    HDC dc = GetWindowDC(w);
    const HBRUSH cue = GetSysColorBrush(COLOR_HIGHLIGHT);
    if (over.left < 0) {
        const RECT r{strip.left, strip.top, strip.left + length, strip.bottom};
        FillRect(dc, &r, cue);
    }
    if (over.right > 0) {
        const RECT r{strip.right - length, strip.top, strip.right, strip.bottom};
        FillRect(dc, &r, cue);
    }
    ReleaseDC(w, dc);
}

bool MayScroll(UINT message) {
    switch (message) {
        case WM_PAINT:
        case WM_CHAR:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SETTEXT:
        case WM_LBUTTONUP:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case EM_SETSEL: return true;
        default: return false;
    }
}

LRESULT CALLBACK CentreTextProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
    const bool dragging = message == WM_MOUSEMOVE && (wParam & MK_LBUTTON) != 0;
    if ((dragging || (MayScroll(message) && message != WM_PAINT)) && IsWindowVisible(w)) {
        // The edit box scrolls without repainting all; the cue is redrawn whole.
        InvalidateRect(w, nullptr, TRUE);
    }
    if (message == WM_PAINT && IsWindowVisible(w)) PaintScrollCue(w);
    if (message == WM_NCCALCSIZE) {
        RECT& r = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                         : *reinterpret_cast<RECT*>(lParam);
        const TEXTMETRICW font = FontMetrics(w);
        const int spare = (r.bottom - r.top) - font.tmHeight;
        // Digits stand on the baseline and leave the descent empty: centring
        // what lies above the baseline is what looks centred.
        const int above = std::min(spare, (spare + static_cast<int>(font.tmDescent) + 1) / 2);
        if (above > 0) {
            r.top += above;
            r.bottom -= spare - above;
        }
    } else if (message == WM_NCPAINT) {
        PaintStrips(w);
    } else if (message == WM_SETFONT) {
        SetWindowPos(w, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return result;
}

}  // namespace

void HideFocusBox(HWND selector) { SetWindowSubclass(selector, HideFocusProc, kHideFocusId, 0); }

void CentreTextVertically(HWND edit) { SetWindowSubclass(edit, CentreTextProc, kCentreTextId, 0); }

void ArrowKeysToParent(HWND control, UINT message) {
    SetWindowSubclass(control, ArrowKeysProc, kArrowKeysId, message);
}

}  // namespace tesra::win32

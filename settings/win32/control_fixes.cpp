// Window subclasses that correct the look of standard controls.
#include "settings/win32/control_fixes.h"

#include <commctrl.h>

#include <algorithm>

namespace tesra::win32 {
namespace {

constexpr UINT_PTR kHideFocusId = 1;
constexpr UINT_PTR kCentreTextId = 2;

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
        case WM_CAPTURECHANGED:
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK HideFocusProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
    if (MayDrawFocus(message) && IsWindowVisible(w)) EraseCaption(w);
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

// The strips between the border and the shrunken client area, painted as
// the box's background.
void PaintStrips(HWND w) {
    RECT window{}, client{};
    GetWindowRect(w, &window);
    GetClientRect(w, &client);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
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

LRESULT CALLBACK CentreTextProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
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

}  // namespace tesra::win32

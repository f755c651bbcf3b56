#pragma once
// A window class whose messages an object handles: the object comes with
// CreateWindowEx's last argument and is kept in the window's user data.

#include <windows.h>

namespace tesra::win32 {

// Window needs `HWND hwnd_` and `LRESULT Handle(UINT, WPARAM, LPARAM)`, open to
// this function (a friend).
template <class Window>
LRESULT CALLBACK ObjectProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tesra::win32

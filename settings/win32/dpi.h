#pragma once
// Per-monitor DPI on every Windows version the host runs on: the calls that
// know about monitors exist only from Windows 10 on, so they are looked up at
// run time and fall back to the system DPI.

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace tesra::win32 {

UINT WindowDpi(HWND window);
// The window rectangle around client for the given style at dpi.
RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, UINT dpi);
inline int Scale(int pixels96, UINT dpi) { return MulDiv(pixels96, static_cast<int>(dpi), 96); }

}  // namespace tesra::win32

#pragma once
// A small modal window that asks for one line of text: the prompt, an edit
// box that starts with the given text, selected, and OK and Cancel. The
// owner takes no input meanwhile.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tesra::win32 {

// UTF-8 in and out; nothing when the user cancelled.
std::optional<std::string> AskTextWindow(HWND owner, std::string_view caption,
                                         std::string_view prompt, std::string_view initial,
                                         UINT dpi, HFONT font);

}  // namespace tesra::win32

#pragma once
// Small corrections to the look of standard controls, each a window subclass.

#include <windows.h>

namespace tesra::win32 {

// A selector's caption is one ideographic space: the dotted focus box the
// button draws around it stands beside the circle, framing nothing. A frame
// around the whole selector shows the keyboard focus instead.
void HideFocusBox(HWND selector);

// A single-line edit box draws its text at the top of its client area; this
// shrinks the client area around the text so that numbers sit centred, as
// the drop-down lists' texts do. Applied again when the font changes. Text
// running past either end is marked by a bar under that end.
void CentreTextVertically(HWND edit);

// The arrow keys of a control go to its parent as message (wParam: the key,
// lParam: the control) instead of to the dialog's group navigation: the row
// selectors move among themselves although other controls stand between them.
void ArrowKeysToParent(HWND control, UINT message);

}  // namespace tesra::win32

#pragma once
// Small helpers the message window's parts share on its controls.
#include <windows.h>

#include <string>

namespace pagelark {

// The whole text of a window or control.
std::wstring WindowText(HWND window);
// An icon resource of this program at `size` pixels, shared (never destroyed).
HICON SharedIcon(int id, int size);

}  // namespace pagelark

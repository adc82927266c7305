#pragma once
// Finding Outlook's own main window for the keystrokes of Move to Folder and Copy to Folder. A
// window counts only when its process runs OUTLOOK.EXE: a browser tab titled "Microsoft Outlook"
// must never receive them.
#include <windows.h>

#include <string_view>

namespace pagelark {

// The first visible top-level window, in Z order, whose title contains `titlePart` and whose
// process runs an executable named `imageName` (compared without regard to case); or null.
HWND FindTopLevelWindowOf(std::wstring_view imageName, std::wstring_view titlePart);

// Outlook's main window: OUTLOOK.EXE, title containing "Microsoft Outlook".
HWND FindOutlookMainWindow();

}  // namespace pagelark

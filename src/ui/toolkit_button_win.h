#pragma once
// Toolkit buttons: push buttons that show a 16 x 16 icon before their caption, drawn in one of
// the looks of ui/looks.h (classic raised, flat, or with the Office-2003 button colours). Used
// for "To:" and "CC to e-mail:" (and "Purchase credits") in the Outlook Express and Word-editor looks.
#include <windows.h>

#include "ui/looks.h"

namespace pagelark {

// Turns the existing push button into a toolkit button. The button takes ownership of `icon`
// (nullptr: caption only; destroyed at once when the button cannot be converted) and draws itself from now on; its id, caption, enabled state and
// notifications stay as they were. Returns false when the button could not be converted.
bool MakeToolkitButton(HWND button, HICON icon, Look look);

// True when MakeToolkitButton converted `button`.
bool IsToolkitButton(HWND button);

}  // namespace pagelark

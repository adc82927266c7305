#pragma once
// Reads the focus part of a command state snapshot from the live controls: which of the three
// edit controls has the keyboard focus, its selection, undo history and read-only state. The
// clipboard takes no part: Paste is offered wherever the focus can take text. The window adds
// what only it knows (host, sent item, account).
#include <windows.h>

#include "ui/commands.h"

namespace pagelark {

void ReadFocusState(CommandState& state, HWND messageEditor, HWND toField, HWND ccField);

// Enables or greys the dialog bar buttons whose state the rules decide (the "To..." and
// "CC to e-mail..." buttons).
void UpdateButtonEnabling(HWND dialogBar, const CommandState& state);

}  // namespace pagelark

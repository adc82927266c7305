#include "ui/command_state_win.h"

#include "ui/command_ids.h"

namespace pagelark {

void ReadFocusState(CommandState& state, HWND messageEditor, HWND toField, HWND ccField) {
    HWND focus = GetFocus();
    state.focus = FocusKind::Other;
    if (focus && focus == messageEditor) state.focus = FocusKind::MessageEditor;
    else if (focus && focus == toField) state.focus = FocusKind::ToField;
    else if (focus && focus == ccField) state.focus = FocusKind::CcField;
    state.selection = state.canUndo = state.focusReadOnly = false;
    if (state.focus != FocusKind::Other) {
        DWORD start = 0, end = 0;
        SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        state.selection = start != end;
        state.canUndo = SendMessageW(focus, EM_CANUNDO, 0, 0) != 0;
        state.focusReadOnly = (GetWindowLongPtrW(focus, GWL_STYLE) & ES_READONLY) != 0;
    }
}

void UpdateButtonEnabling(HWND dialogBar, const CommandState& state) {
    for (int id : {command::kToButton, command::kCcButton}) {
        HWND button = GetDlgItem(dialogBar, id);
        const bool enabled = IsCommandEnabled(id, state);
        if (button && (IsWindowEnabled(button) != FALSE) != enabled) EnableWindow(button, enabled);
    }
}

}  // namespace pagelark

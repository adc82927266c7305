#include "ui/dialog_win.h"

#include "ui/common_controls_win.h"
#include "ui/resources_win.h"

namespace pagelark {

INT_PTR Dialog::ShowModal(HWND owner) {
    const DLGTEMPLATE* dialogTemplate = FindDialogTemplate(templateId_);
    if (!dialogTemplate) return -1;
    EnsureCommonControls();
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, owner, &Dialog::DialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

bool Dialog::OnCommand(WORD id, WORD, HWND) {
    if (id == IDOK || id == IDCANCEL) {
        End(id);
        return true;
    }
    return false;
}

INT_PTR Dialog::OnMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return self->OnInitDialog();
    }
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
    case WM_COMMAND:
        return self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NCDESTROY:
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        return FALSE;
    default: {
        const INT_PTR handled = self->OnMessage(message, wParam, lParam);
        return handled;
    }
    }
}

}  // namespace pagelark

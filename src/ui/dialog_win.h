#pragma once
// Base of our modal dialogs: the template is taken in the active language, `this` travels
// through the creation parameter, and messages go to small virtual handlers.
#include <windows.h>

namespace pagelark {

class Dialog {
public:
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog; returns the value given to End, or -1 when the template is missing or
    // the dialog cannot be created.
    INT_PTR ShowModal(HWND owner);
    HWND hwnd() const { return hwnd_; }

protected:
    explicit Dialog(UINT templateId) : templateId_(templateId) {}
    virtual ~Dialog() = default;

    // Return FALSE when the handler has set the focus itself.
    virtual BOOL OnInitDialog() { return TRUE; }
    // IDOK and IDCANCEL end the dialog unless overridden; return true when handled.
    virtual bool OnCommand(WORD id, WORD notification, HWND control);
    // Every other message; return TRUE when handled (the result goes into DWLP_MSGRESULT).
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void End(INT_PTR result) { EndDialog(hwnd_, result); }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    void SetItemText(int id, const wchar_t* text) { SetDlgItemTextW(hwnd_, id, text); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT templateId_;
    HWND hwnd_ = nullptr;
};

}  // namespace pagelark

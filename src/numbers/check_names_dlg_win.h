#pragma once
// "Check Names": a typed name matched several contacts; the user picks one.
//
//   CCheckNamesDlg dialog(matches, RecipientMode::Number, parent);
//   dialog.SetResultText(typedEntry);
//   if (dialog.DoModal() == IDOK) entry = dialog.ResultText();   // "name (address)" or "name"
#include <windows.h>

#include <string>
#include <vector>

#include "model/contact.h"
#include "resource_ids.h"
#include "numbers/recipient_field.h"
#include "ui/dialog_win.h"

namespace pagelark {

class CCheckNamesDlg : public Dialog {
public:
    static constexpr UINT kTemplate = IDD_CHECK_NAMES;
    static constexpr int kMatchList = IDC_CHECK_MATCHES;
    static constexpr int kLabel = IDC_CHECK_LABEL;

    CCheckNamesDlg(std::vector<Contact> matches, RecipientMode mode, HWND parent);

    void SetResultText(std::string text) { resultText_ = std::move(text); }
    // On entry the entry as typed; on OK the chosen contact's entry.
    const std::string& ResultText() const { return resultText_; }
    INT_PTR DoModal() { return ShowModal(parent_); }

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Takes the selected row and closes with OK; without a selection the dialog stays open.
    void AcceptSelection();

    std::vector<Contact> matches_;
    RecipientMode mode_;
    HWND parent_;
    std::string resultText_;
};

}  // namespace pagelark

#pragma once
// "Select Names": the user edits a whole recipient field by picking entries of the address book.
//
//   CContactsDlg dialog(RecipientMode::Number, contacts, parent);
//   dialog.SetFieldText(toText);
//   if (dialog.DoModal() == IDOK) toText = dialog.FieldText();
//
// The contact list may be null (the address book was not read): its list then stays empty.
#include <windows.h>

#include <memory>
#include <string>

#include "model/contact.h"
#include "resource_ids.h"
#include "numbers/recipient_field.h"
#include "ui/dialog_win.h"

namespace pagelark {

class CContactsDlg : public Dialog {
public:
    static constexpr UINT kTemplate = IDD_SELECT_NAMES;
    static constexpr int kAddressBookList = IDC_SELECT_BOOK;
    static constexpr int kRecipientsList = IDC_SELECT_RECIPIENTS;
    static constexpr int kAddButton = IDC_SELECT_ADD;
    static constexpr int kRemoveButton = IDC_SELECT_REMOVE;

    CContactsDlg(RecipientMode mode, std::shared_ptr<const ContactList> contacts, HWND parent);

    void SetFieldText(std::string text) { fieldText_ = std::move(text); }
    // On OK the recipients in list order joined with "; "; otherwise the text as set.
    const std::string& FieldText() const { return fieldText_; }
    // IDOK or IDCANCEL; -1 when the dialog could not be shown.
    INT_PTR DoModal() { return ShowModal(parent_); }

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification, HWND control) override;
    void AddSelectedEntry();
    void RemoveSelectedRecipient();
    void Accept();

    RecipientMode mode_;
    std::shared_ptr<const ContactList> contacts_;
    HWND parent_;
    std::string fieldText_;
};

}  // namespace pagelark

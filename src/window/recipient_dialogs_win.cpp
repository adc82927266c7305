#include "window/recipient_dialogs_win.h"

#include "numbers/check_names_dlg_win.h"
#include "numbers/contacts_dlg_win.h"

namespace pagelark {

std::optional<std::string> SelectRecipients(HWND owner, std::shared_ptr<const ContactList> contacts,
                                            RecipientMode mode, const std::string& fieldText) {
    CContactsDlg dialog(mode, std::move(contacts), owner);
    dialog.SetFieldText(fieldText);
    if (dialog.DoModal() != IDOK) return std::nullopt;
    return dialog.FieldText();
}

std::optional<std::string> ChooseCheckedName(HWND owner, const std::vector<Contact>& matches, RecipientMode mode,
                                             const std::string& typedEntry) {
    CCheckNamesDlg dialog(matches, mode, owner);
    dialog.SetResultText(typedEntry);
    if (dialog.DoModal() != IDOK || dialog.ResultText().empty()) return std::nullopt;
    return dialog.ResultText();
}

}  // namespace pagelark

#include "window/recipient_dialogs_win.h"

namespace pagelark {

// The dialogs come with the window layer; until then both behave as cancelled.
std::optional<std::string> SelectRecipients(HWND, const ContactList&, RecipientMode, const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ChooseCheckedName(HWND, const std::vector<Contact>&, RecipientMode, const std::string&) {
    return std::nullopt;
}

}  // namespace pagelark

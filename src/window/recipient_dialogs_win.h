#pragma once
// The recipient dialogs as the message window opens them: Select Names and Check Names.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/contact.h"
#include "numbers/recipient_field.h"

namespace pagelark {

// Select Names on `fieldText`: the new field text on OK, nothing on Cancel.
std::optional<std::string> SelectRecipients(HWND owner, std::shared_ptr<const ContactList> contacts,
                                            RecipientMode mode, const std::string& fieldText);
// Check Names for several matches of `typedEntry`: the chosen entry, nothing on Cancel.
std::optional<std::string> ChooseCheckedName(HWND owner, const std::vector<Contact>& matches, RecipientMode mode,
                                             const std::string& typedEntry);

}  // namespace pagelark

#pragma once
// Properties of an item's underlying MAPI message (its MAPIOBJECT), with the object model's own
// properties as the way round where the MAPI object cannot be used. An Outlook in another process
// hands out MAPIOBJECT only as a bare IUnknown: MAPI interfaces have no proxy/stub, so asking it
// for IMAPIProp fails (docs/outlook-automation.md).
#include <optional>
#include <string>

#include "mailclients/automation_win.h"

namespace pagelark {

// Writes PR_SENT_REPRESENTING_NAME and PR_ICON_INDEX = 0. Through MAPIOBJECT when it answers
// IMAPIProp, else through the item's PropertyAccessor (Outlook 2007 and later); false when
// neither could (the item is fine, it only lacks the sender text).
bool WriteSenderProperties(const Dispatch& item, const std::string& senderText);

struct ReadProperties {
    std::optional<std::string> to, cc, body;
};
// PR_DISPLAY_TO, PR_DISPLAY_CC and PR_BODY through MAPIOBJECT, else the object model's To, CC and
// Body. A property that cannot be read stays empty.
ReadProperties ReadItemProperties(const Dispatch& item);

}  // namespace pagelark

#include "window/send_recipients.h"

#include <vector>

namespace pagelark {

int ExpandRecordLists(MessageRecord& record, const ContactList& contacts, const NumberRules& rules) {
    const std::vector<std::string> to = ExpandListEntries(record.To, RecipientMode::Number, contacts, rules);
    record.To = JoinRecipients(to);
    record.CC = ExpandLists(record.CC, RecipientMode::EMail, contacts, rules);
    return static_cast<int>(to.size());
}

void ExpandListNamesForSentCopy(std::string& to, std::string& cc, const ContactList& contacts,
                                const NumberRules& rules) {
    to = ExpandListNamesForCopy(to, RecipientMode::Number, contacts, rules);
    cc = ExpandListNamesForCopy(cc, RecipientMode::EMail, contacts, rules);
}

}  // namespace pagelark

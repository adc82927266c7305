#pragma once
// The recipients of a send: the record's fields as plain address lists for the service, and the
// typed fields with list names expanded for the copy in the sent items.
#include <string>

#include "model/contact.h"
#include "numbers/recipient_field.h"
#include "model/message_record.h"

namespace pagelark {

// Rewrites the record's To (numbers) and CC (e-mail addresses) joined with "; "; returns how
// many To recipients remain.
int ExpandRecordLists(MessageRecord& record, const ContactList& contacts, const NumberRules& rules);

// "Team" becomes "Team (+491701111111, +491702222222)" in To, and the members' addresses in CC.
void ExpandListNamesForSentCopy(std::string& to, std::string& cc, const ContactList& contacts,
                                const NumberRules& rules);

}  // namespace pagelark

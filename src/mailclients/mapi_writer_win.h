#pragma once
// Writes mobile numbers that number checking rewrote back into Outlook's contacts.
#include "mailclients/mapi_library_win.h"
#include "model/contact.h"

namespace pagelark {

// For each top-level contact of `list` with the changed flag: sets its PR_MOBILE_TELEPHONE_NUMBER
// through the default directory's contacts folder (or the directory itself) and saves it; the
// flag is cleared for every contact written. Members of lists are never written. Returns the
// number of contacts written.
int SaveOutlookNumbers(const MapiFunctions& mapi, ContactList& list);

}  // namespace pagelark

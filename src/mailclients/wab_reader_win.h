#pragma once
// Outlook Express's contacts in the Windows Address Book (source 2). Kept apart from the MAPI
// files: the WAB headers declare the same interfaces differently and cannot share a unit with them.
#include <string>

#include "model/contact.h"

namespace pagelark {

// Opens the current user's address book with WAB.log at `logPath`, empties `list` and fills it
// with the contacts and distribution lists, then closes the address book.
void ReadWindowsAddressBook(const std::wstring& logPath, ContactList& list);
// Writes the changed numbers of the list's top-level contacts back (no log); a contact whose
// entry cannot be opened keeps its changed flag.
void WriteWindowsAddressBook(ContactList& list);

}  // namespace pagelark

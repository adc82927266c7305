#pragma once
// A contact list kept in a plain UTF-8 text file: the address book the offline bridge shows.
// Used as a test seam for the recipient fields (a file named by the registry value
// HKCU\Software\Orvane\Pagelark\TestSeams "ContactsFile") until the mail clients are read.
//
// One contact a line: name;mobile;email. A distribution list: name;;;member|member|... where each
// member names a contact defined on an earlier line. Empty lines and lines starting with '#' are
// skipped; a line without a name is skipped too.
#include <string_view>

#include "model/contact.h"

namespace pagelark {

ContactList ParseContactsFile(std::string_view utf8);

}  // namespace pagelark

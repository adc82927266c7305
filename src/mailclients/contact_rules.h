#pragma once
// The rules every address-book reader applies to the entries it reads: which two entries are the
// same, how a list is ordered, how a display name is cut and which e-mail addresses are kept.
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/contact.h"

namespace pagelark {

// Same name, e-mail and mobile ignoring case (ASCII letters), and the same members in order.
bool SameContact(const Contact& a, const Contact& b);

// Appends `contact` unless an equal one is already in the list; true when it was added.
bool AddIfNew(ContactList& list, Contact contact);

// The same rule for a whole reading: an index of what was added, so that a list of 10,000
// contacts is not compared pairwise. Use one instance per list, and only it to add.
class UniqueContacts {
public:
    bool Add(ContactList& list, Contact contact);

private:
    std::unordered_multimap<std::string, size_t> added_;   // key → position in the list
};

// The text a list is ordered by: the surname, or the name when there is none, as bytes of the
// Windows-1252 code page (case matters).
std::string SortKey(const Contact& contact);
// Orders the list by its sort key; entries with equal keys keep their reading order.
void SortContacts(ContactList& list);

// "Meier, Anna (Mobil)" is shown as "Meier, Anna": the text before the first "(" without the
// blanks in front of it. A name without "(" stays as it is.
std::string CutDisplayName(std::string_view name);

// An address is usable only when it holds an at sign (an Exchange distinguished name holds none).
bool IsUsableEmail(std::string_view email);

// True when `candidate` names the same container as `reference`: equal over the reference's
// length. A shorter candidate is a different container (it cannot carry the reference's bytes).
bool SameContainerId(std::string_view reference, std::string_view candidate);

// An entry identifier in the log: upper-case hexadecimal, two digits a byte.
std::string HexOf(std::string_view bytes);

}  // namespace pagelark

#pragma once
// The text of the two recipient fields: entries separated by semicolons, written back joined
// with "; ". An entry is a number, "name (address)", a distribution list's name, or a name to resolve.
#include "model/contact.h"
#include "numbers/dialling_codes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// Number mode is the "To" field (mobile numbers), e-mail mode the "CC to e-mail" field.
enum class RecipientMode { Number, EMail };

enum class EntryForm { Number, NameWithAddress, DistributionList, NameToResolve };

// Cut at every ";", blanks trimmed at both ends, empty entries dropped.
std::vector<std::string> SplitRecipients(std::string_view field);
std::string JoinRecipients(const std::vector<std::string>& entries);

// "name (address)": not a number, a "(" and a later last ")" with at least two characters between.
bool IsNameWithAddress(std::string_view entry);
// The text between the first "(" and the last ")" of a name-with-address entry.
std::string AddressOf(std::string_view entry);
// The entry with the text between its first "(" and last ")" replaced.
std::string WithAddress(std::string_view entry, std::string_view address);
// The text in the brackets of a "To" entry is a number to normalise unless it holds an "@": an
// e-mail address there must not turn into "+49...", whatever else it holds.
bool IsNumberInBrackets(std::string_view address);

// The first contact with members whose name equals `name` regardless of case.
const Contact* FindDistributionList(const ContactList& contacts, std::string_view name);
EntryForm ClassifyEntry(std::string_view entry, const ContactList& contacts);

// A contact's mobile (number mode) or e-mail address (e-mail mode).
const std::string& AddressOf(const Contact& contact, RecipientMode mode);
// How a contact stands in a field: "%s" for a distribution list, else "%s (%s)" with its address.
std::string EntryTextOf(const Contact& contact, RecipientMode mode);

// Numbers are normalised against this.
struct NumberRules {
    const CountryList& checkList;
    std::string_view userLandCode;
};

// The field as plain addresses for sending: "name (address)" becomes the address, a distribution
// list's name becomes its members' numbers (normalised) or e-mail addresses; anything else stays.
std::vector<std::string> ExpandListEntries(std::string_view field, RecipientMode mode, const ContactList& contacts,
                                           const NumberRules& rules);
std::string ExpandLists(std::string_view field, RecipientMode mode, const ContactList& contacts, const NumberRules& rules);

// The field as shown in the stored copy of a sent message: each entry naming a distribution list
// becomes "Team (+4917..., +4916...)" (members' e-mail addresses in e-mail mode); others stay.
std::string ExpandListNamesForCopy(std::string_view field, RecipientMode mode, const ContactList& contacts,
                                   const NumberRules& rules);

}  // namespace pagelark

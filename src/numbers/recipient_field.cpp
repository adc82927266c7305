#include "numbers/recipient_field.h"

#include "common/text_encoding.h"
#include "numbers/number_normalizer.h"
#include "numbers/text_case.h"

namespace pagelark {
namespace {

// The bracket pair of a name-with-address entry, if it is one.
std::optional<std::pair<size_t, size_t>> AddressBrackets(std::string_view entry) {
    if (IsNumberText(entry)) return std::nullopt;
    const size_t open = entry.find('(');
    const size_t close = entry.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open + 2) return std::nullopt;
    return std::make_pair(open, close);
}

// The addresses a distribution list stands for, in member order; members without one are left out.
std::vector<std::string> MemberAddresses(const Contact& list, RecipientMode mode, const NumberRules& rules) {
    std::vector<std::string> addresses;
    for (const Contact& member : list.members) {
        const std::string& address = AddressOf(member, mode);
        if (address.empty()) continue;
        addresses.push_back(mode == RecipientMode::Number
                                ? NormalizedNumber(address, rules.checkList, rules.userLandCode)
                                : address);
    }
    return addresses;
}

}  // namespace

std::vector<std::string> SplitRecipients(std::string_view field) {
    std::vector<std::string> entries;
    while (true) {
        const size_t semicolon = field.find(';');
        const std::string_view entry = TrimBlanks(field.substr(0, semicolon));
        if (!entry.empty()) entries.emplace_back(entry);
        if (semicolon == std::string_view::npos) break;
        field.remove_prefix(semicolon + 1);
    }
    return entries;
}

std::string JoinRecipients(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        if (!text.empty()) text += "; ";
        text += entry;
    }
    return text;
}

bool IsNameWithAddress(std::string_view entry) { return AddressBrackets(entry).has_value(); }

std::string AddressOf(std::string_view entry) {
    const auto brackets = AddressBrackets(entry);
    if (!brackets) return {};
    return std::string(entry.substr(brackets->first + 1, brackets->second - brackets->first - 1));
}

std::string WithAddress(std::string_view entry, std::string_view address) {
    const auto brackets = AddressBrackets(entry);
    if (!brackets) return std::string(entry);
    std::string text(entry.substr(0, brackets->first + 1));
    text += address;
    text += entry.substr(brackets->second);
    return text;
}

bool IsNumberInBrackets(std::string_view address) { return address.find('@') == std::string_view::npos; }

const Contact* FindDistributionList(const ContactList& contacts, std::string_view name) {
    const std::string wanted = LowerText(name);
    for (const Contact& contact : contacts) {
        if (contact.IsList() && LowerText(contact.name) == wanted) return &contact;
    }
    return nullptr;
}

EntryForm ClassifyEntry(std::string_view entry, const ContactList& contacts) {
    if (IsNumberText(entry)) return EntryForm::Number;
    if (IsNameWithAddress(entry)) return EntryForm::NameWithAddress;
    if (FindDistributionList(contacts, entry)) return EntryForm::DistributionList;
    return EntryForm::NameToResolve;
}

const std::string& AddressOf(const Contact& contact, RecipientMode mode) {
    return mode == RecipientMode::Number ? contact.mobile : contact.email;
}

std::string EntryTextOf(const Contact& contact, RecipientMode mode) {
    if (contact.IsList()) return contact.name;
    return contact.name + " (" + AddressOf(contact, mode) + ")";
}

std::vector<std::string> ExpandListEntries(std::string_view field, RecipientMode mode, const ContactList& contacts,
                                           const NumberRules& rules) {
    std::vector<std::string> addresses;
    for (const std::string& entry : SplitRecipients(field)) {
        if (IsNameWithAddress(entry)) {
            addresses.push_back(AddressOf(std::string_view(entry)));
        } else if (const Contact* list = FindDistributionList(contacts, entry)) {
            for (std::string& address : MemberAddresses(*list, mode, rules)) addresses.push_back(std::move(address));
        } else {
            addresses.push_back(entry);
        }
    }
    return addresses;
}

std::string ExpandLists(std::string_view field, RecipientMode mode, const ContactList& contacts, const NumberRules& rules) {
    return JoinRecipients(ExpandListEntries(field, mode, contacts, rules));
}

std::string ExpandListNamesForCopy(std::string_view field, RecipientMode mode, const ContactList& contacts,
                                   const NumberRules& rules) {
    // Whole entries only: a list named "Anna" must not eat into "Anna Meier (+49...)".
    std::vector<std::string> entries = SplitRecipients(field);
    for (std::string& entry : entries) {
        const Contact* list = FindDistributionList(contacts, entry);
        if (!list) continue;
        std::string text = list->name + " (";
        const std::vector<std::string> addresses = MemberAddresses(*list, mode, rules);
        for (size_t i = 0; i < addresses.size(); ++i) {
            if (i > 0) text += ", ";
            text += addresses[i];
        }
        entry = text + ")";
    }
    return JoinRecipients(entries);
}

}  // namespace pagelark

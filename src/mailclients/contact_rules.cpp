#include "mailclients/contact_rules.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/text_encoding.h"

namespace pagelark {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

}  // namespace

bool SameContact(const Contact& a, const Contact& b) {
    if (!EqualIgnoringCase(a.name, b.name) || !EqualIgnoringCase(a.email, b.email) ||
        !EqualIgnoringCase(a.mobile, b.mobile) || a.members.size() != b.members.size())
        return false;
    for (size_t i = 0; i < a.members.size(); ++i)
        if (!SameContact(a.members[i], b.members[i])) return false;
    return true;
}

bool AddIfNew(ContactList& list, Contact contact) {
    for (const Contact& known : list)
        if (SameContact(known, contact)) return false;
    list.push_back(std::move(contact));
    return true;
}

bool UniqueContacts::Add(ContactList& list, Contact contact) {
    std::string key = AsciiLower(contact.name);
    key += '\0';
    key += AsciiLower(contact.email);
    key += '\0';
    key += AsciiLower(contact.mobile);
    const auto [first, last] = added_.equal_range(key);
    for (auto it = first; it != last; ++it)
        if (it->second < list.size() && SameContact(list[it->second], contact)) return false;
    added_.emplace(std::move(key), list.size());
    list.push_back(std::move(contact));
    return true;
}

std::string SortKey(const Contact& contact) {
    return Utf8ToCp1252(contact.surname.empty() ? contact.name : contact.surname);
}

void SortContacts(ContactList& list) {
    // Keys are computed once: a list of 10,000 entries would otherwise convert them 280,000 times.
    std::vector<std::pair<std::string, size_t>> keyed;
    keyed.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) keyed.emplace_back(SortKey(list[i]), i);
    // std::string compares as unsigned bytes, which is the code page's byte order.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ContactList sorted;
    sorted.reserve(list.size());
    for (const auto& [key, index] : keyed) sorted.push_back(std::move(list[index]));
    list = std::move(sorted);
}

std::string CutDisplayName(std::string_view name) {
    const size_t bracket = name.find('(');
    if (bracket == std::string_view::npos) return std::string(name);
    std::string_view kept = name.substr(0, bracket);
    while (!kept.empty() && kept.back() == ' ') kept.remove_suffix(1);
    return std::string(kept);
}

bool IsUsableEmail(std::string_view email) { return email.find('@') != std::string_view::npos; }

bool SameContainerId(std::string_view reference, std::string_view candidate) {
    return candidate.size() >= reference.size() && candidate.substr(0, reference.size()) == reference;
}

std::string HexOf(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

}  // namespace pagelark

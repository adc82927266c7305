#pragma once
// One address-book entry, shared by number checking, the recipient dialogs and the address books.
#include <memory>
#include <string>
#include <vector>

namespace pagelark {

struct Contact {
    std::string entryId;
    std::string name;
    std::string surname;
    std::string email;
    std::string mobile;
    bool changed = false;              // number rewritten by normalisation, to be saved back
    std::vector<Contact> members;      // non-empty: a distribution list
    bool IsList() const { return !members.empty(); }
};

using ContactList = std::vector<Contact>;

// Mail-client kinds; each has its own contact list.
enum class HostClient : int { Outlook = 1, OutlookExpress = 2 };

}  // namespace pagelark

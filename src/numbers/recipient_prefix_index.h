#pragma once
// Completion of a typed recipient: the first contact, in list order, whose name in lower case
// begins with the typed text, or else whose address (mobile in number mode, e-mail address in
// e-mail mode) does; for one contact the name wins. Candidates are contacts with an address of
// the mode, and distribution lists.
//
// The index answers each keystroke with two binary searches and a scan of per-block minima
// (at most n/64 of them) instead of walking the whole list: names and addresses are kept sorted,
// and the first list position within the run of keys that share the prefix comes from those minima.
#include "model/contact.h"
#include "numbers/recipient_field.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

struct PrefixMatch {
    size_t index = 0;      // position in the contact list
    bool byName = false;   // the name matched (else the address)
    bool operator==(const PrefixMatch&) const = default;
};

// The plain rule: a walk through the list. Nothing for an empty prefix.
std::optional<PrefixMatch> FindPrefixMatchLinear(const ContactList& contacts, RecipientMode mode, std::string_view typed);

// The full entry a match completes to: "%s (%s)" or a list's "%s" for a name match, the address
// for an address match.
std::string CompletionOf(const Contact& contact, RecipientMode mode, bool byName);

class RecipientPrefixIndex {
public:
    RecipientPrefixIndex() = default;
    // Built once when a contact list is taken; the list is kept alive and never changed.
    RecipientPrefixIndex(std::shared_ptr<const ContactList> contacts, RecipientMode mode);

    // Same answer as FindPrefixMatchLinear on the indexed list.
    std::optional<PrefixMatch> Find(std::string_view typed) const;
    const ContactList& Contacts() const;

private:
    // Keys sorted by text, then by list position; blockMin_ holds each block's smallest position.
    struct Keys {
        std::vector<std::string> text;
        std::vector<std::uint32_t> position;
        std::vector<std::uint32_t> blockMin;
        void Build(std::vector<std::pair<std::string, std::uint32_t>> keys);
        std::optional<std::uint32_t> FirstWithPrefix(std::string_view prefix) const;
    };

    std::shared_ptr<const ContactList> contacts_;
    Keys names_;
    Keys addresses_;
};

}  // namespace pagelark

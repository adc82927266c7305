#include "numbers/recipient_prefix_index.h"

#include "numbers/text_case.h"

#include <algorithm>
#include <limits>

namespace pagelark {
namespace {

constexpr size_t kBlock = 64;
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

bool IsCandidate(const Contact& contact, RecipientMode mode) {
    return contact.IsList() || !AddressOf(contact, mode).empty();
}

}  // namespace

std::optional<PrefixMatch> FindPrefixMatchLinear(const ContactList& contacts, RecipientMode mode, std::string_view typed) {
    const std::string prefix = LowerText(typed);
    if (prefix.empty()) return std::nullopt;
    for (size_t i = 0; i < contacts.size(); ++i) {
        const Contact& contact = contacts[i];
        if (!IsCandidate(contact, mode)) continue;
        if (LowerText(contact.name).starts_with(prefix)) return PrefixMatch{i, true};
        if (LowerText(AddressOf(contact, mode)).starts_with(prefix)) return PrefixMatch{i, false};
    }
    return std::nullopt;
}

std::string CompletionOf(const Contact& contact, RecipientMode mode, bool byName) {
    return byName ? EntryTextOf(contact, mode) : AddressOf(contact, mode);
}

void RecipientPrefixIndex::Keys::Build(std::vector<std::pair<std::string, std::uint32_t>> keys) {
    std::sort(keys.begin(), keys.end());
    text.reserve(keys.size());
    position.reserve(keys.size());
    for (auto& [key, at] : keys) {
        text.push_back(std::move(key));
        position.push_back(at);
    }
    blockMin.assign((position.size() + kBlock - 1) / kBlock, kNone);
    for (size_t i = 0; i < position.size(); ++i) blockMin[i / kBlock] = std::min(blockMin[i / kBlock], position[i]);
}

std::optional<std::uint32_t> RecipientPrefixIndex::Keys::FirstWithPrefix(std::string_view prefix) const {
    // Keys beginning with the prefix form one run in sorted order.
    const auto begin = std::lower_bound(text.begin(), text.end(), prefix,
                                        [](const std::string& key, std::string_view p) { return key < p; });
    const auto end = std::partition_point(begin, text.end(),
                                          [&](const std::string& key) { return key.starts_with(prefix); });
    size_t lo = static_cast<size_t>(begin - text.begin());
    const size_t hi = static_cast<size_t>(end - text.begin());
    std::uint32_t best = kNone;
    while (lo < hi && lo % kBlock != 0) best = std::min(best, position[lo++]);
    while (lo + kBlock <= hi) {
        best = std::min(best, blockMin[lo / kBlock]);
        lo += kBlock;
    }
    while (lo < hi) best = std::min(best, position[lo++]);
    if (best == kNone) return std::nullopt;
    return best;
}

RecipientPrefixIndex::RecipientPrefixIndex(std::shared_ptr<const ContactList> contacts, RecipientMode mode)
    : contacts_(std::move(contacts)) {
    if (!contacts_) return;
    std::vector<std::pair<std::string, std::uint32_t>> names;
    std::vector<std::pair<std::string, std::uint32_t>> addresses;
    for (size_t i = 0; i < contacts_->size(); ++i) {
        const Contact& contact = (*contacts_)[i];
        if (!IsCandidate(contact, mode)) continue;
        const auto at = static_cast<std::uint32_t>(i);
        names.emplace_back(LowerText(contact.name), at);
        const std::string& address = AddressOf(contact, mode);
        if (!address.empty()) addresses.emplace_back(LowerText(address), at);
    }
    names_.Build(std::move(names));
    addresses_.Build(std::move(addresses));
}

std::optional<PrefixMatch> RecipientPrefixIndex::Find(std::string_view typed) const {
    const std::string prefix = LowerText(typed);
    if (prefix.empty() || !contacts_) return std::nullopt;
    const std::optional<std::uint32_t> byName = names_.FirstWithPrefix(prefix);
    const std::optional<std::uint32_t> byAddress = addresses_.FirstWithPrefix(prefix);
    // The first contact for which either holds; its name test wins.
    if (byName && (!byAddress || *byName <= *byAddress)) return PrefixMatch{*byName, true};
    if (byAddress) return PrefixMatch{*byAddress, false};
    return std::nullopt;
}

const ContactList& RecipientPrefixIndex::Contacts() const {
    static const ContactList empty;
    return contacts_ ? *contacts_ : empty;
}

}  // namespace pagelark

#include "numbers/recipient_checker.h"

#include "model/settings.h"
#include "numbers/number_normalizer.h"
#include "numbers/text_case.h"

namespace pagelark {
namespace {

const ContactList& OrEmpty(const std::shared_ptr<const ContactList>& contacts) {
    static const ContactList empty;
    return contacts ? *contacts : empty;
}

bool IsEMailAddress(std::string_view text) {
    return text.find('@') != std::string_view::npos && text.find(' ') == std::string_view::npos;
}

// The field without the bad entries. Each one goes together with the "; " in front of it; a bad
// first entry has none, so the separator after it stays and disappears at the next check.
std::string WithoutEntries(const std::vector<std::string>& entries, const std::vector<std::string>& bad) {
    std::string text;
    size_t nextBad = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (nextBad < bad.size() && entries[i] == bad[nextBad]) {
            ++nextBad;
            continue;
        }
        if (i > 0) text += "; ";
        text += entries[i];
    }
    return text;
}

}  // namespace

std::vector<Contact> FindMatches(const ContactList& contacts, std::string_view entry, RecipientMode mode) {
    const std::string key = LowerText(entry.substr(0, entry.find(' ')));
    std::vector<Contact> matches;
    std::string matchText;   // reused: this loop runs over whole address books
    for (const Contact& contact : contacts) {
        const std::string& address = AddressOf(contact, mode);
        if (address.empty() && !contact.IsList()) continue;
        matchText = contact.name;
        if (!contact.IsList()) {
            matchText += ' ';
            matchText += address;
        }
        LowerTextInPlace(matchText);
        if (matchText == key) return {contact};
        if (matchText.find(key) != std::string::npos) matches.push_back(contact);
    }
    return matches;
}

RecipientChecker::RecipientChecker(RecipientWindow& window, const Settings& settings, const CountryList& checkList)
    : window_(window), settings_(settings), checkList_(checkList) {}

NumberRules RecipientChecker::Rules() const { return {checkList_, settings_.UserLandCode}; }

void RecipientChecker::NormalizeToField() {
    if (!settings_.CheckNumbers || window_.RecipientGuard()) return;

    const std::shared_ptr<const ContactList> contacts = window_.Contacts();
    std::optional<ContactList> updated;   // copied only when a contact's number is rewritten

    std::vector<std::string> entries = SplitRecipients(window_.FieldText(RecipientMode::Number));
    for (std::string& entry : entries) {
        std::string oldNumber;
        std::string newNumber;
        if (IsNumberText(entry)) {
            oldNumber = entry;
            NormalizeNumber(entry, checkList_, settings_.UserLandCode);
            newNumber = entry;
        } else if (IsNameWithAddress(entry)) {
            oldNumber = AddressOf(std::string_view(entry));
            if (!IsNumberInBrackets(oldNumber)) continue;
            newNumber = NormalizedNumber(oldNumber, checkList_, settings_.UserLandCode);
            entry = WithAddress(entry, newNumber);
        } else {
            continue;
        }

        if (!settings_.SaveChangedNumbers || oldNumber.empty() || newNumber == oldNumber || !contacts) continue;
        const ContactList& current = updated ? *updated : *contacts;
        for (size_t i = 0; i < current.size(); ++i) {
            if (current[i].mobile != oldNumber) continue;
            if (!updated) updated = *contacts;
            (*updated)[i].mobile = newNumber;
            (*updated)[i].changed = true;
            break;
        }
    }

    window_.SetFieldText(RecipientMode::Number, JoinRecipients(entries));
    if (updated) window_.WriteBackContacts(std::move(*updated));
}

RecipientChecker::Outcome RecipientChecker::ReportBadEntries(RecipientMode field, int stringId,
                                                             const std::vector<std::string>& bad) {
    if (bad.empty()) return Outcome::Clean;
    std::string text = window_.LoadText(stringId);
    for (const std::string& entry : bad) text += entry + "\n";
    if (window_.AskOkCancel(text)) return Outcome::Correct;
    // Cancel: send without them.
    window_.SetFieldText(field, WithoutEntries(SplitRecipients(window_.FieldText(field)), bad));
    return Outcome::Proceed;
}

bool RecipientChecker::CheckNames() {
    const std::shared_ptr<const ContactList> contactsHeld = window_.Contacts();
    const ContactList& contacts = OrEmpty(contactsHeld);

    // Resolves a name to one contact's entry text; false when the user cancelled the choice.
    auto resolve = [&](std::string& entry, RecipientMode mode, std::vector<std::string>& bad) {
        const std::vector<Contact> matches = FindMatches(contacts, entry, mode);
        if (matches.empty()) {
            bad.push_back(entry);
        } else if (matches.size() == 1) {
            entry = EntryTextOf(matches.front(), mode);
        } else {
            const std::optional<std::string> chosen = window_.ChooseMatch(matches, mode, entry);
            if (!chosen) return false;
            if (!chosen->empty()) entry = *chosen;
        }
        return true;
    };

    std::vector<std::string> bad;
    std::vector<std::string> to = SplitRecipients(window_.FieldText(RecipientMode::Number));
    for (std::string& entry : to) {
        if (IsNumberText(entry)) {
            NormalizeNumber(entry, checkList_, settings_.UserLandCode);
        } else if (IsNameWithAddress(entry)) {
            const std::string address = AddressOf(std::string_view(entry));
            if (IsNumberInBrackets(address))
                entry = WithAddress(entry, NormalizedNumber(address, checkList_, settings_.UserLandCode));
            else
                bad.push_back(entry);
        } else if (!resolve(entry, RecipientMode::Number, bad)) {
            return false;
        }
    }
    window_.SetFieldText(RecipientMode::Number, JoinRecipients(to));
    NormalizeToField();
    switch (ReportBadEntries(RecipientMode::Number, IDS_NUMBERS_NOT_CORRECT, bad)) {
        case Outcome::Correct: return false;
        case Outcome::Proceed: return true;
        case Outcome::Clean: break;
    }

    std::vector<std::string> cc = SplitRecipients(window_.FieldText(RecipientMode::EMail));
    for (std::string& entry : cc) {
        if (IsEMailAddress(entry)) continue;
        if (IsNameWithAddress(entry)) {
            if (!IsEMailAddress(AddressOf(std::string_view(entry)))) bad.push_back(entry);
        } else if (!resolve(entry, RecipientMode::EMail, bad)) {
            return false;
        }
    }
    window_.SetFieldText(RecipientMode::EMail, JoinRecipients(cc));
    return ReportBadEntries(RecipientMode::EMail, IDS_ADDRESSES_NOT_CORRECT, bad) != Outcome::Correct;
}

}  // namespace pagelark

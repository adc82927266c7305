#pragma once
// Checking the two recipient fields of a message window: numbers to international form, typed
// names resolved against the window's contact list, entries that cannot be resolved reported.
// The window side implements RecipientWindow with its real fields and dialogs.
#include "ids_numbers.h"
#include "model/contact.h"
#include "numbers/dialling_codes.h"
#include "numbers/recipient_field.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

struct Settings;

// String numbers of the two reports; each is followed by the bad entries, one a line.

// What the checking needs of its message window.
class RecipientWindow {
public:
    virtual ~RecipientWindow() = default;
    // Number mode: the "To" field; e-mail mode: the "CC to e-mail" field.
    virtual std::string FieldText(RecipientMode field) = 0;
    // A write by the program itself: the window holds its recipientGuard set while it writes.
    virtual void SetFieldText(RecipientMode field, const std::string& text) = 0;
    virtual bool RecipientGuard() const = 0;
    // A text of the active language's string table.
    virtual std::string LoadText(int stringId) = 0;
    // Message box with OK and Cancel and the exclamation icon; true for OK.
    virtual bool AskOkCancel(const std::string& text) = 0;
    // The Check Names dialog on several matches; the chosen entry, or nothing on Cancel.
    virtual std::optional<std::string> ChooseMatch(const std::vector<Contact>& matches, RecipientMode mode,
                                                   const std::string& typedEntry) = 0;
    // The contact list of the window's mail client; null when it has not been read.
    virtual std::shared_ptr<const ContactList> Contacts() = 0;
    // The contact list with rewritten numbers, those contacts marked changed, for the
    // address-book side to write back and take as the current list.
    virtual void WriteBackContacts(ContactList updated) = 0;
};

// The contacts a typed name stands for: the lower-case text up to the first blank is the key; a
// candidate (a contact with an address of the mode, or a list) matches when its match text
// ("name address", a list's name alone, in lower case) contains the key; an equal one is the only match.
std::vector<Contact> FindMatches(const ContactList& contacts, std::string_view entry, RecipientMode mode);

class RecipientChecker {
public:
    RecipientChecker(RecipientWindow& window, const Settings& settings, const CountryList& checkList);

    // The "To" field's numbers to international form (only with CheckNumbers, never while the
    // window's recipientGuard is set); with SaveChangedNumbers the contacts that had the old
    // numbers are handed back for writing.
    void NormalizeToField();

    // Resolves and normalises both fields before sending or on "Check Names". True when sending
    // may go on; false when the user cancelled a choice or wants to correct the fields.
    bool CheckNames();

private:
    enum class Outcome { Clean, Correct, Proceed };
    Outcome ReportBadEntries(RecipientMode field, int stringId, const std::vector<std::string>& bad);
    NumberRules Rules() const;

    RecipientWindow& window_;
    const Settings& settings_;
    const CountryList& checkList_;
};

}  // namespace pagelark

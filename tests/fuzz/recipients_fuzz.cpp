// libFuzzer target: any text in the "To" and "CC to e-mail" fields through NormalizeToField,
// CheckNames and ExpandLists over a small contact list with lists, with scripted dialog answers.
// Input: one control byte (settings and answers), then the To text, a line feed, the CC text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/settings.h"
#include "numbers/dialling_codes.h"
#include "numbers/number_normalizer.h"
#include "numbers/recipient_checker.h"
#include "numbers/recipient_field.h"

namespace {

using namespace pagelark;

void Check(bool condition) {
    if (!condition) std::abort();
}

Contact Person(std::string name, std::string mobile, std::string email = {}) {
    Contact c;
    c.name = std::move(name);
    c.mobile = std::move(mobile);
    c.email = std::move(email);
    return c;
}

Contact List(std::string name, std::vector<Contact> members) {
    Contact c;
    c.name = std::move(name);
    c.members = std::move(members);
    return c;
}

std::shared_ptr<const ContactList> SmallContactList() {
    return std::make_shared<ContactList>(ContactList{
        Person("Anna Meier", "0171 1234567", "anna@example.org"),
        Person("Anna Ohne", "", "ohne@example.org"),
        Person("Bernd", "+43 664 1234567"),
        Person("X", "(0)", "@"),
        List("Team", {Person("Bea", "0160 7654321", "bea@example.org"), Person("Carl", "", "carl@example.org")}),
        List("anna", {Person("Dora", "+1 345 9161234")}),
        List("", {}),
    });
}

// Answers every dialog from the bits of the control byte, and checks what the checker writes.
class ScriptedWindow : public RecipientWindow {
public:
    ScriptedWindow(std::string to, std::string cc, std::uint8_t control)
        : to_(std::move(to)), cc_(std::move(cc)), control_(control) {}

    std::string FieldText(RecipientMode field) override { return field == RecipientMode::Number ? to_ : cc_; }
    void SetFieldText(RecipientMode field, const std::string& text) override {
        Check(!guard_);
        (field == RecipientMode::Number ? to_ : cc_) = text;
        ++(field == RecipientMode::Number ? toWrites_ : ccWrites_);
    }
    bool RecipientGuard() const override { return guard_; }
    std::string LoadText(int) override { return "Not correct:\n\n"; }
    bool AskOkCancel(const std::string& text) override {
        Check(text.rfind("Not correct:\n\n", 0) == 0 && text.back() == '\n');
        return (control_ >> (asks_++ % 2)) & 0x04;
    }
    std::optional<std::string> ChooseMatch(const std::vector<Contact>& matches, RecipientMode mode,
                                           const std::string&) override {
        Check(matches.size() > 1);
        switch ((control_ >> 4) & 0x03) {
            case 0: return std::nullopt;
            case 1: return std::string();
            default: return EntryTextOf(matches[(control_ >> 6) % matches.size()], mode);
        }
    }
    std::shared_ptr<const ContactList> Contacts() override { return contacts_; }
    void WriteBackContacts(ContactList updated) override {
        Check(updated.size() == contacts_->size());
        contacts_ = std::make_shared<ContactList>(std::move(updated));
    }

    std::string to_, cc_;
    int toWrites_ = 0, ccWrites_ = 0;
    bool guard_ = false;

private:
    std::uint8_t control_;
    int asks_ = 0;
    std::shared_ptr<const ContactList> contacts_ = SmallContactList();
};

// A field as written by the checker: entries joined by "; ", none empty, none with blanks around.
void CheckJoined(const std::string& field) {
    const std::vector<std::string> entries = SplitRecipients(field);
    if (JoinRecipients(entries) == field) return;
    // Cancel on a report may leave the separator of a removed first entry in front.
    Check(field.rfind("; ", 0) == 0 && JoinRecipients(entries) == field.substr(2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t control = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t newline = text.find('\n');
    const std::string to(text.substr(0, newline));
    const std::string cc(newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1));

    Settings settings;
    settings.UserLandCode = (control & 0x80) ? "+49" : "";
    settings.CheckNumbers = control & 0x01;
    settings.SaveChangedNumbers = (control >> 1) & 0x01;
    const CountryList& checkList = BuiltInCheckList();

    ScriptedWindow window(to, cc, control);
    RecipientChecker checker(window, settings, checkList);
    window.guard_ = true;
    checker.NormalizeToField();
    Check(window.to_ == to);   // never while the program writes the field itself
    window.guard_ = false;
    checker.NormalizeToField();
    if (settings.CheckNumbers) CheckJoined(window.to_);
    // A field the checker wrote is in joined form; a cancelled choice leaves the fields as typed.
    window.toWrites_ = window.ccWrites_ = 0;
    (void)checker.CheckNames();
    if (window.toWrites_ > 0) CheckJoined(window.to_);
    if (window.ccWrites_ > 0) CheckJoined(window.cc_);

    const NumberRules rules{checkList, settings.UserLandCode};
    const ContactList& contacts = *window.Contacts();
    for (RecipientMode mode : {RecipientMode::Number, RecipientMode::EMail}) {
        const std::string* fields[] = {&to, &cc, &window.to_, &window.cc_};
        for (const std::string* field : fields) {
            const std::vector<std::string> addresses = ExpandListEntries(*field, mode, contacts, rules);
            for (const std::string& address : addresses) Check(address.find(';') == std::string::npos);
            (void)ExpandLists(*field, mode, contacts, rules);
            (void)ExpandListNamesForCopy(*field, mode, contacts, rules);
        }
    }
    for (const std::string& entry : SplitRecipients(to)) {
        const std::string number = NormalizedNumber(entry, checkList, settings.UserLandCode);
        Check(entry.empty() || (number.rfind('+', 0) == 0 && number.find_first_not_of("+0123456789") == std::string::npos));
        (void)FindMatches(contacts, entry, RecipientMode::Number);
        (void)ClassifyEntry(entry, contacts);
    }
    return 0;
}

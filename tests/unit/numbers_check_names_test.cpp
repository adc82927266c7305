#include "model/settings.h"
#include "numbers/dialling_codes.h"
#include "numbers/recipient_checker.h"

#include <gtest/gtest.h>

#include "contact_builders.h"

#include <deque>

using namespace pagelark;
using pagelark::testing::Person;

namespace {

// A message window's recipient fields with scripted answers for its dialogs.
class FakeWindow : public RecipientWindow {
public:
    std::string to;
    std::string cc;
    bool guard = false;
    std::shared_ptr<const ContactList> contacts = std::make_shared<ContactList>();
    std::deque<bool> okAnswers;                         // AskOkCancel
    std::deque<std::optional<std::string>> choices;     // ChooseMatch
    std::vector<std::string> asked;
    std::vector<std::vector<Contact>> offered;
    std::vector<std::string> offeredEntry;
    std::vector<ContactList> writtenBack;
    int writes = 0;

    std::string FieldText(RecipientMode field) override { return field == RecipientMode::Number ? to : cc; }
    void SetFieldText(RecipientMode field, const std::string& text) override {
        EXPECT_FALSE(guard);
        ++writes;
        (field == RecipientMode::Number ? to : cc) = text;
    }
    bool RecipientGuard() const override { return guard; }
    std::string LoadText(int id) override {
        return id == IDS_NUMBERS_NOT_CORRECT ? "Numbers:\n\n" : id == IDS_ADDRESSES_NOT_CORRECT ? "Addresses:\n\n" : "?";
    }
    bool AskOkCancel(const std::string& text) override {
        asked.push_back(text);
        EXPECT_FALSE(okAnswers.empty());
        const bool ok = okAnswers.front();
        okAnswers.pop_front();
        return ok;
    }
    std::optional<std::string> ChooseMatch(const std::vector<Contact>& matches, RecipientMode,
                                           const std::string& typed) override {
        offered.push_back(matches);
        offeredEntry.push_back(typed);
        EXPECT_FALSE(choices.empty());
        auto choice = choices.front();
        choices.pop_front();
        return choice;
    }
    std::shared_ptr<const ContactList> Contacts() override { return contacts; }
    void WriteBackContacts(ContactList updated) override { writtenBack.push_back(std::move(updated)); }
};

class NumbersCheckNames : public ::testing::Test {
protected:
    NumbersCheckNames() { settings.UserLandCode = "+49"; }
    void SetContacts(ContactList list) { window.contacts = std::make_shared<ContactList>(std::move(list)); }

    Settings settings;
    FakeWindow window;
    RecipientChecker checker{window, settings, BuiltInCheckList()};
};

}  // namespace

TEST_F(NumbersCheckNames, OneContactEmptyEntryAndTrailingBlank) {
    SetContacts({Person("Anna Meier", "+491711234567")});
    window.to = "anna;;0171 1234567 ";
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, "Anna Meier (+491711234567); +491711234567");
    EXPECT_TRUE(window.asked.empty());
}

TEST_F(NumbersCheckNames, SeveralMatchesOpenTheChooserAlsoForAKeyWithABlank) {
    SetContacts({Person("Anna Meier", "+491711234567"), Person("Bert", "+4930"), Person("Hanna Berg", "0160 1"),
                 Person("Anna Ohne", "", "anna@example.org")});
    window.to = "anna meier";
    window.choices = {std::string("Hanna Berg (0160 1)")};
    EXPECT_TRUE(checker.CheckNames());
    ASSERT_EQ(window.offered.size(), 1u);
    ASSERT_EQ(window.offered[0].size(), 2u);   // the contact without mobile is never a match
    EXPECT_EQ(window.offered[0][0].name, "Anna Meier");
    EXPECT_EQ(window.offered[0][1].name, "Hanna Berg");
    EXPECT_EQ(window.offeredEntry[0], "anna meier");
    EXPECT_EQ(window.to, "Hanna Berg (+491601)");   // normalised afterwards

    window.to = "ANNA";
    window.choices = {std::string()};   // OK with an empty result keeps the entry, unreported
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, "ANNA");
    EXPECT_TRUE(window.asked.empty());
}

TEST_F(NumbersCheckNames, CancelInTheChooserLeavesBothFields) {
    SetContacts({Person("Anna Meier", "+491711234567"), Person("Anna Berg", "0160 1")});
    window.to = "0171 1234567; anna";
    window.cc = "x";
    window.choices = {std::nullopt};
    EXPECT_FALSE(checker.CheckNames());
    EXPECT_EQ(window.to, "0171 1234567; anna");
    EXPECT_EQ(window.cc, "x");
    EXPECT_EQ(window.writes, 0);
}

TEST_F(NumbersCheckNames, ExactMatchEndsTheSearch) {
    Contact team;
    team.name = "Team";
    team.members = {Person("A", "0171 1")};
    SetContacts({Person("Teamleiter", "0171 2"), team, Person("Team Zwei", "0171 3")});
    window.to = "team";
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, "Team");
    EXPECT_TRUE(window.offered.empty());
}

TEST_F(NumbersCheckNames, OkOnTheReportKeepsTheFieldForCorrection) {
    window.to = "nobody; 0171 1234567";
    window.okAnswers = {true};
    EXPECT_FALSE(checker.CheckNames());
    ASSERT_EQ(window.asked.size(), 1u);
    EXPECT_EQ(window.asked[0], "Numbers:\n\nnobody\n");
    EXPECT_EQ(window.to, "nobody; +491711234567");
}

TEST_F(NumbersCheckNames, CancelOnTheReportRemovesBadEntriesWithTheirSeparator) {
    window.to = "0171 1234567; nobody; 0160 1; nix";
    window.okAnswers = {false};
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.asked[0], "Numbers:\n\nnobody\nnix\n");
    EXPECT_EQ(window.to, "+491711234567; +491601");
}

TEST_F(NumbersCheckNames, BadFirstEntryLeavesItsSeparatorUntilTheNextCheck) {
    window.to = "nobody; 0171 1234567";
    window.cc = "not an address";
    window.okAnswers = {false};
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, "; +491711234567");
    EXPECT_EQ(window.cc, "not an address");   // not checked after Cancel
    window.cc.clear();
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, "+491711234567");
}

TEST_F(NumbersCheckNames, NumbersAreNormalisedEvenWithoutCheckNumbers) {
    settings.CheckNumbers = 0;
    window.to = "0171 1234567; Bo (0160 1)";
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, "+491711234567; Bo (+491601)");
}

TEST_F(NumbersCheckNames, AnEMailAddressInTheToFieldIsReportedNotTurnedIntoANumber) {
    window.to = "Bo (bo@example.org)";
    window.okAnswers = {true};
    EXPECT_FALSE(checker.CheckNames());
    EXPECT_EQ(window.to, "Bo (bo@example.org)");
}

TEST_F(NumbersCheckNames, NumbersInBracketsWithSlashesDotsBlanksAndDashesAreNormalised) {
    const std::string typed = "Anna (0171/1234567); Bernd (0171.123.45.67); Carl (0171 123-45 67); Dora (+49 (0)171/1234567)";
    const std::string wanted =
        "Anna (+491711234567); Bernd (+491711234567); Carl (+491711234567); Dora (+491711234567)";
    window.to = typed;
    checker.NormalizeToField();
    EXPECT_EQ(window.to, wanted);

    window.to = typed;
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, wanted);
    EXPECT_TRUE(window.asked.empty());

    // An address with "@" stays as it is, also when it holds digits, dots or a slash.
    window.to = "Bo (bo.1/2@example.org)";
    checker.NormalizeToField();
    EXPECT_EQ(window.to, "Bo (bo.1/2@example.org)");
}

TEST_F(NumbersCheckNames, CopyFieldResolvesByEMailAddress) {
    SetContacts({Person("Anna Meier", "0171 1", "anna@example.org"), Person("Anna Ohne", "0171 2"),
                 Person("Bert", "", "bert@example.org")});
    window.to = "0171 1234567";
    window.cc = "anna; x@y.z; Bert (bert@example.org); bert";
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.cc, "Anna Meier (anna@example.org); x@y.z; Bert (bert@example.org); Bert (bert@example.org)");
}

TEST_F(NumbersCheckNames, CopyFieldReport) {
    window.cc = "a@b.c; Bo (no address); x y@z; nobody";
    window.okAnswers = {false};
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.asked[0], "Addresses:\n\nBo (no address)\nx y@z\nnobody\n");
    EXPECT_EQ(window.cc, "a@b.c");

    window.cc = "nobody; a@b.c";
    window.okAnswers = {true};
    EXPECT_FALSE(checker.CheckNames());
    EXPECT_EQ(window.cc, "nobody; a@b.c");
}

TEST_F(NumbersCheckNames, NormalizeToFieldObeysSettingsAndGuard) {
    window.to = "0171 1234567;;x";
    settings.CheckNumbers = 0;
    checker.NormalizeToField();
    EXPECT_EQ(window.to, "0171 1234567;;x");
    settings.CheckNumbers = 1;
    window.guard = true;
    checker.NormalizeToField();
    EXPECT_EQ(window.to, "0171 1234567;;x");
    window.guard = false;
    checker.NormalizeToField();
    EXPECT_EQ(window.to, "+491711234567; x");
    EXPECT_TRUE(window.writtenBack.empty());
}

TEST_F(NumbersCheckNames, ChangedNumbersAreWrittenBackToTheFirstContactHoldingThem) {
    SetContacts({Person("A", "0171 1234567"), Person("B", "0171 1234567"), Person("C", "0160 1")});
    const auto before = window.contacts;
    window.to = "0171 1234567; Bo (0171 1234567); C (0160 1); +491711234567";

    checker.NormalizeToField();
    EXPECT_TRUE(window.writtenBack.empty());   // SaveChangedNumbers is off

    window.to = "0171 1234567; Bo (0171 1234567); C (0160 1); +491711234567";
    settings.SaveChangedNumbers = 1;
    checker.NormalizeToField();
    ASSERT_EQ(window.writtenBack.size(), 1u);
    const ContactList& updated = window.writtenBack[0];
    EXPECT_EQ(updated[0].mobile, "+491711234567");
    EXPECT_TRUE(updated[0].changed);
    EXPECT_EQ(updated[1].mobile, "+491711234567");   // the second entry with the same old number
    EXPECT_TRUE(updated[1].changed);
    EXPECT_EQ(updated[2].mobile, "+491601");
    // The shared list itself is never changed.
    EXPECT_EQ((*before)[0].mobile, "0171 1234567");
    EXPECT_FALSE((*before)[0].changed);
}

TEST_F(NumbersCheckNames, WithoutAContactList) {
    window.contacts = nullptr;
    window.to = "anna; 0171 1234567";
    window.okAnswers = {false};
    settings.SaveChangedNumbers = 1;
    EXPECT_TRUE(checker.CheckNames());
    EXPECT_EQ(window.to, "; +491711234567");
    EXPECT_TRUE(window.writtenBack.empty());
}

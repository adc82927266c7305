#include "numbers/dialling_codes.h"
#include "numbers/recipient_field.h"
#include "numbers/text_case.h"

#include <gtest/gtest.h>

#include "contact_builders.h"

#include <random>

using namespace pagelark;
using pagelark::testing::Person;
using pagelark::testing::List;

namespace {

const NumberRules kGerman{BuiltInCheckList(), "+49"};

}  // namespace

TEST(NumbersRecipientField, SplitTrimsAndDropsEmptyEntries) {
    EXPECT_EQ(SplitRecipients("anna; ;0171 1234567 "), (std::vector<std::string>{"anna", "0171 1234567"}));
    EXPECT_EQ(SplitRecipients("; a;;b;"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitRecipients("").empty());
    EXPECT_TRUE(SplitRecipients(" ; ;").empty());
    EXPECT_EQ(JoinRecipients({"a", "b", "c"}), "a; b; c");
}

// Property: a field written by JoinRecipients reads back to the same entries, and a read field
// written back is stable.
TEST(NumbersRecipientField, JoinAndSplitRoundTrip) {
    std::mt19937 random(99);
    const std::string alphabet = "ab (+)0@ ;;";
    for (int round = 0; round < 2000; ++round) {
        std::string field;
        for (int i = 0, n = static_cast<int>(random() % 30); i < n; ++i) field.push_back(alphabet[random() % alphabet.size()]);
        const std::vector<std::string> entries = SplitRecipients(field);
        for (const std::string& entry : entries) {
            ASSERT_FALSE(entry.empty());
            ASSERT_NE(entry.front(), ' ');
            ASSERT_NE(entry.back(), ' ');
        }
        EXPECT_EQ(SplitRecipients(JoinRecipients(entries)), entries) << field;
    }
}

TEST(NumbersRecipientField, EntryForms) {
    const ContactList contacts = {List("Team", {Person("A", "0171 1")})};
    EXPECT_EQ(ClassifyEntry("+49 (171) 123-45", contacts), EntryForm::Number);
    EXPECT_EQ(ClassifyEntry("Anna Meier (+491711234567)", contacts), EntryForm::NameWithAddress);
    EXPECT_EQ(ClassifyEntry("tEAm", contacts), EntryForm::DistributionList);
    EXPECT_EQ(ClassifyEntry("anna", contacts), EntryForm::NameToResolve);
    EXPECT_EQ(ClassifyEntry("Anna (x)", contacts), EntryForm::NameToResolve);   // fewer than two characters between
    EXPECT_EQ(ClassifyEntry("Anna (xy)", contacts), EntryForm::NameWithAddress);
    EXPECT_EQ(ClassifyEntry("Anna )(", contacts), EntryForm::NameToResolve);
    EXPECT_EQ(AddressOf(std::string_view("A (b (c) d) e")), "b (c) d");
    EXPECT_EQ(WithAddress("A (0171) x", "+49171"), "A (+49171) x");
}

TEST(NumbersExpandLists, NamesWithAddressListsAndOthers) {
    const ContactList contacts = {
        Person("Anna Meier", "0171 1234567", "anna@example.org"),
        List("Team", {Person("Bea", "0160 7654321", "bea@example.org"), Person("Carl", "", "carl@example.org"),
                      Person("Dora", "+43 664 1234567")}),
        List("team", {Person("Second", "0170 1")}),
        List("Silent", {Person("Eve", "", "")}),
    };
    EXPECT_EQ(ExpandLists(" Anna Meier (+491711234567);TEAM; +4930123;; anna ", RecipientMode::Number, contacts, kGerman),
              "+491711234567; +491607654321; +436641234567; +4930123; anna");
    EXPECT_EQ(ExpandLists("team; x@y.z; Bo (bo@example.org)", RecipientMode::EMail, contacts, kGerman),
              "bea@example.org; carl@example.org; x@y.z; bo@example.org");
    // A list without numbers adds nothing.
    EXPECT_TRUE(ExpandListEntries("Silent", RecipientMode::Number, contacts, kGerman).empty());
}

TEST(NumbersExpandLists, SentCopyShowsListMembers) {
    const ContactList contacts = {
        List("Anna", {Person("Bea", "0160 7654321", "bea@example.org")}),
        List("Team", {Person("Bea", "0160 7654321", "bea@example.org"), Person("Dora", "+43 664 1234567"),
                      Person("Carl", "", "carl@example.org")}),
    };
    EXPECT_EQ(ExpandListNamesForCopy("team; Anna Meier (+491711234567); +4930123", RecipientMode::Number, contacts, kGerman),
              "Team (+491607654321, +436641234567); Anna Meier (+491711234567); +4930123");
    EXPECT_EQ(ExpandListNamesForCopy("Team", RecipientMode::EMail, contacts, kGerman),
              "Team (bea@example.org, carl@example.org)");
    // Already expanded text stays as it is.
    EXPECT_EQ(ExpandListNamesForCopy("Team (+491607654321, +436641234567)", RecipientMode::Number, contacts, kGerman),
              "Team (+491607654321, +436641234567)");
}

TEST(NumbersTextCase, LatinLettersOfOurLanguages) {
    EXPECT_EQ(LowerText("ÄÖÜ ÀÉÎÑ Straße ABC×Þ"), "äöü àéîñ straße abc×þ");
    EXPECT_EQ(LowerText("Œ"), "Œ");   // outside Latin-1: left alone
    EXPECT_TRUE(EqualIgnoringCase("Müller", "MÜLLER"));
    EXPECT_FALSE(EqualIgnoringCase("Muller", "Müller"));
}

#include <gtest/gtest.h>

#include "common/text_encoding.h"
#include "mailclients/contacts_file.h"
#include "window/recipient_autocomplete.h"

using namespace pagelark;

namespace {

ContactList Book() {
    return ParseContactsFile(
        "# test book\n"
        "Bernd Gast;;bernd@example.com\n"       // no phone: never a candidate
        "Anna Meier;+491711234567;anna@example.com\r\n"
        "Andreas Ott;+491700000001;\n"
        "Team;;;Anna Meier|Andreas Ott\n"
        "Ännchen Zorn;+43664111;\n");
}

FieldText Typed(const std::string& text) {
    const size_t length = DecodeUtf8(text).size();
    return FieldText{text, length, length};
}

}  // namespace

TEST(ContactsFile, ParsesPeopleListsAndSkipsNoise) {
    const ContactList book = Book();
    ASSERT_EQ(book.size(), 5u);
    EXPECT_EQ(book[1].name, "Anna Meier");
    EXPECT_EQ(book[1].mobile, "+491711234567");
    EXPECT_EQ(book[1].email, "anna@example.com");
    EXPECT_TRUE(book[3].IsList());
    EXPECT_EQ(book[3].members.size(), 2u);
    EXPECT_TRUE(ParseContactsFile(";+49\n\n#x\n").empty());
}

TEST(AutoComplete, CompletesTheNameKeepingTheTypedCaseAndSelectsTheRest) {
    const auto result = AutoCompleteRecipient(Typed("An"), Book(), RecipientField::To);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "Anna Meier (+491711234567)");
    EXPECT_EQ(result->selStart, 2u);
    EXPECT_EQ(result->selEnd, 26u);
    const auto lower = AutoCompleteRecipient(Typed("an"), Book(), RecipientField::To);
    EXPECT_EQ(lower->text, "anna Meier (+491711234567)");
}

TEST(AutoComplete, TypingOnReplacesTheSelectionAndCompletesAgain) {
    // "An" completed, then "d" typed over the selection: the field holds "And", caret at the end.
    const auto result = AutoCompleteRecipient(Typed("And"), Book(), RecipientField::To);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "Andreas Ott (+491700000001)");
    EXPECT_FALSE(AutoCompleteRecipient(Typed("Anx"), Book(), RecipientField::To));
}

TEST(AutoComplete, OnlyTheEntryAfterTheLastSemicolonCounts) {
    const auto result = AutoCompleteRecipient(Typed("+4917; ;  te"), Book(), RecipientField::To);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "+4917; ;  team");   // a list completes with its name alone
    EXPECT_FALSE(AutoCompleteRecipient(Typed("Anna; "), Book(), RecipientField::To));   // nothing typed
}

TEST(AutoComplete, NumbersAndAddressesComplete) {
    EXPECT_EQ(AutoCompleteRecipient(Typed("+43"), Book(), RecipientField::To)->text, "+43664111");
    // CC uses e-mail addresses, but candidates still need a phone number or members.
    EXPECT_EQ(AutoCompleteRecipient(Typed("anna@"), Book(), RecipientField::CC)->text, "anna@example.com");
    EXPECT_EQ(AutoCompleteRecipient(Typed("An"), Book(), RecipientField::CC)->text, "Anna Meier (anna@example.com)");
    EXPECT_FALSE(AutoCompleteRecipient(Typed("bernd"), Book(), RecipientField::CC));
}

TEST(AutoComplete, NonAsciiNamesCompareWithoutCase) {
    const auto result = AutoCompleteRecipient(Typed("än"), Book(), RecipientField::To);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "ännchen Zorn (+43664111)");
    EXPECT_EQ(result->selStart, 2u);
}

TEST(AutoComplete, CaretRuleAndReplacedSelection) {
    // The caret in the middle, with a blank right after the next character.
    FieldText middle{"Anxy +49", 2, 2};
    EXPECT_FALSE(AutoCompleteRecipient(middle, Book(), RecipientField::To));   // 'y' at s+1
    FieldText before{"An ;+49", 2, 2};   // s+1 is ';'
    const auto result = AutoCompleteRecipient(before, Book(), RecipientField::To);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "Anna Meier (+491711234567) ;+49");
    // A selection is replaced by the completion.
    FieldText selected{"Anxyz", 2, 5};
    EXPECT_FALSE(AutoCompleteRecipient(selected, Book(), RecipientField::To));   // caret not at end
    EXPECT_FALSE(CompletionAllowedAt(U"abc", 2));   // the character after the next one does not exist
    EXPECT_TRUE(CompletionAllowedAt(U"abc", 3));
    EXPECT_TRUE(CompletionAllowedAt(U"ab,c", 1));
}

TEST(AutoComplete, EmptyListAndEmptyFieldDoNothing) {
    EXPECT_FALSE(AutoCompleteRecipient(Typed("An"), {}, RecipientField::To));
    EXPECT_FALSE(AutoCompleteRecipient(Typed(""), Book(), RecipientField::To));
    EXPECT_FALSE(AutoCompleteRecipient(FieldText{"An", 9, 12}, {}, RecipientField::To));
}

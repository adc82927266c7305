#include <gtest/gtest.h>

#include "common/text_encoding.h"
#include "contacts_file.h"
#include "window/recipient_autocomplete.h"

#include <memory>

using namespace pagelark;
using pagelark::testing::ParseContactsFile;

namespace {

ContactList Book() {
    return ParseContactsFile(
        "# test book\n"
        "Bernd Gast;;bernd@example.com\n"       // no phone: only offered in the CC field
        "Anna Meier;+491711234567;anna@example.com\r\n"
        "Andreas Ott;+491700000001;\n"
        "Team;;;Anna Meier|Andreas Ott\n"
        "Ännchen Zorn;+43664111;\n");
}

// Completion through the numbers index, as the window does it.
std::optional<FieldText> Complete(const FieldText& field, const ContactList& contacts, RecipientMode mode) {
    RecipientPrefixIndex index(std::make_shared<const ContactList>(contacts), mode);
    return AutoCompleteRecipient(field, FinderFor(index, mode));
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
    const auto result = Complete(Typed("An"), Book(), RecipientMode::Number);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "Anna Meier (+491711234567)");
    EXPECT_EQ(result->selStart, 2u);
    EXPECT_EQ(result->selEnd, 26u);
    const auto lower = Complete(Typed("an"), Book(), RecipientMode::Number);
    EXPECT_EQ(lower->text, "anna Meier (+491711234567)");
}

TEST(AutoComplete, TypingOnReplacesTheSelectionAndCompletesAgain) {
    // "An" completed, then "d" typed over the selection: the field holds "And", caret at the end.
    const auto result = Complete(Typed("And"), Book(), RecipientMode::Number);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "Andreas Ott (+491700000001)");
    EXPECT_FALSE(Complete(Typed("Anx"), Book(), RecipientMode::Number));
}

TEST(AutoComplete, OnlyTheEntryAfterTheLastSemicolonCounts) {
    const auto result = Complete(Typed("+4917; ;  te"), Book(), RecipientMode::Number);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "+4917; ;  team");   // a list completes with its name alone
    EXPECT_FALSE(Complete(Typed("Anna; "), Book(), RecipientMode::Number));   // nothing typed
}

TEST(AutoComplete, NumbersAndAddressesComplete) {
    EXPECT_EQ(Complete(Typed("+43"), Book(), RecipientMode::Number)->text, "+43664111");
    // CC completes from e-mail addresses; a contact needs one to be offered there.
    EXPECT_EQ(Complete(Typed("anna@"), Book(), RecipientMode::EMail)->text, "anna@example.com");
    EXPECT_EQ(Complete(Typed("An"), Book(), RecipientMode::EMail)->text, "Anna Meier (anna@example.com)");
    EXPECT_EQ(Complete(Typed("And"), Book(), RecipientMode::EMail), std::nullopt);   // no address
    EXPECT_FALSE(Complete(Typed("bernd"), Book(), RecipientMode::Number));          // no number
}

TEST(AutoComplete, NonAsciiNamesCompareWithoutCase) {
    const auto result = Complete(Typed("än"), Book(), RecipientMode::Number);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "ännchen Zorn (+43664111)");
    EXPECT_EQ(result->selStart, 2u);
}

TEST(AutoComplete, CaretRuleAndReplacedSelection) {
    // The caret in the middle, with a blank right after the next character.
    FieldText middle{"Anxy +49", 2, 2};
    EXPECT_FALSE(Complete(middle, Book(), RecipientMode::Number));   // 'y' at s+1
    FieldText before{"An ;+49", 2, 2};   // s+1 is ';'
    const auto result = Complete(before, Book(), RecipientMode::Number);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "Anna Meier (+491711234567) ;+49");
    // A selection is replaced by the completion.
    FieldText selected{"Anxyz", 2, 5};
    EXPECT_FALSE(Complete(selected, Book(), RecipientMode::Number));   // caret not at end
    EXPECT_FALSE(CompletionAllowedAt(U"abc", 2));   // the character after the next one does not exist
    EXPECT_TRUE(CompletionAllowedAt(U"abc", 3));
    EXPECT_TRUE(CompletionAllowedAt(U"ab,c", 1));
}

TEST(AutoComplete, EmptyListAndEmptyFieldDoNothing) {
    EXPECT_FALSE(Complete(Typed("An"), ContactList{}, RecipientMode::Number));
    EXPECT_FALSE(Complete(Typed(""), Book(), RecipientMode::Number));
    EXPECT_FALSE(Complete(FieldText{"An", 9, 12}, ContactList{}, RecipientMode::Number));
}

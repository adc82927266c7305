#include <gtest/gtest.h>

#include "contact_builders.h"
#include "mailclients/contact_rules.h"

using namespace pagelark;
using pagelark::testing::List;
using pagelark::testing::Person;

namespace {

Contact WithSurname(std::string name, std::string surname) {
    Contact c = Person(std::move(name), "+49171");
    c.surname = std::move(surname);
    return c;
}

}  // namespace

TEST(ContactRules, EntriesEqualButForCaseAreOneContact) {
    ContactList list;
    EXPECT_TRUE(AddIfNew(list, Person("Anna Meier", "+49171", "Anna@Example.org")));
    EXPECT_FALSE(AddIfNew(list, Person("ANNA MEIER", "+49171", "anna@example.ORG")));
    // A different number, address or name is a different contact.
    EXPECT_TRUE(AddIfNew(list, Person("Anna Meier", "+49172", "anna@example.org")));
    EXPECT_TRUE(AddIfNew(list, Person("Anna Meier", "+49171", "")));
    EXPECT_TRUE(AddIfNew(list, Person("Anna Meyer", "+49171", "anna@example.org")));
    EXPECT_EQ(list.size(), 4u);
}

TEST(ContactRules, TheIndexedRuleAgreesWithThePairwiseOne) {
    ContactList list;
    UniqueContacts unique;
    EXPECT_TRUE(unique.Add(list, Person("Anna Meier", "+49171", "Anna@Example.org")));
    EXPECT_FALSE(unique.Add(list, Person("ANNA MEIER", "+49171", "anna@example.ORG")));
    EXPECT_TRUE(unique.Add(list, Person("Anna Meier", "+49172", "anna@example.org")));
    EXPECT_TRUE(unique.Add(list, List("Team", {Person("A", "1")})));
    EXPECT_TRUE(unique.Add(list, List("Team", {Person("B", "2")})));   // same key, other members
    EXPECT_FALSE(unique.Add(list, List("TEAM", {Person("a", "1")})));
    EXPECT_EQ(list.size(), 4u);
}

TEST(ContactRules, ListsAreEqualOnlyWithEqualMembers) {
    const Contact team = List("Team", {Person("A", "1"), Person("B", "2")});
    EXPECT_TRUE(SameContact(team, List("team", {Person("a", "1"), Person("b", "2")})));
    EXPECT_FALSE(SameContact(team, List("Team", {Person("A", "1")})));
    EXPECT_FALSE(SameContact(team, List("Team", {Person("B", "2"), Person("A", "1")})));
    EXPECT_FALSE(SameContact(team, Person("Team", "")));   // a list is never equal to a person
}

TEST(ContactRules, SortedBySurnameElseNameInByteOrder) {
    ContactList list{WithSurname("Zoe Adam", "Adam"), Person("bert", "1"), Person("Bert", "2"),
                     WithSurname("Anna Zorn", "Zorn"), Person("\xC3\x84nne", "3"), Person("Carl", "4")};
    SortContacts(list);
    std::vector<std::string> names;
    for (const Contact& c : list) names.push_back(c.name);
    // Upper case before lower case; "Ä" (0xC4 in the code page) after every ASCII letter.
    EXPECT_EQ(names, (std::vector<std::string>{"Zoe Adam", "Bert", "Carl", "Anna Zorn", "bert", "\xC3\x84nne"}));
    EXPECT_EQ(SortKey(Person("\xC3\x84nne", "")), "\xC4nne");
}

TEST(ContactRules, EqualKeysKeepReadingOrder) {
    ContactList list{Person("Same", "1"), Person("Same", "2"), Person("Same", "3")};
    SortContacts(list);
    EXPECT_EQ(list[0].mobile, "1");
    EXPECT_EQ(list[2].mobile, "3");
}

TEST(ContactRules, DisplayNameIsCutBeforeTheFirstBracket) {
    EXPECT_EQ(CutDisplayName("Meier, Anna (Mobil)"), "Meier, Anna");
    EXPECT_EQ(CutDisplayName("Meier, Anna   (a) (b)"), "Meier, Anna");
    EXPECT_EQ(CutDisplayName("(Mobil)"), "");
    EXPECT_EQ(CutDisplayName("Anna Meier "), "Anna Meier ");   // no bracket: left as stored
}

TEST(ContactRules, OnlyAddressesWithAnAtSignAreUsable) {
    EXPECT_TRUE(IsUsableEmail("anna@example.org"));
    EXPECT_FALSE(IsUsableEmail("/O=ORVANE/OU=FIRST/CN=RECIPIENTS/CN=AMEIER"));
    EXPECT_FALSE(IsUsableEmail(""));
}

TEST(ContactRules, ContainerIdsCompareOverTheReferenceLength) {
    const std::string reference("\x00\x01\x02\x03", 4);
    EXPECT_TRUE(SameContainerId(reference, reference));
    EXPECT_TRUE(SameContainerId(reference, reference + "tail"));
    EXPECT_FALSE(SameContainerId(reference, std::string("\x00\x01\x02\x04", 4)));
    EXPECT_FALSE(SameContainerId(reference, reference.substr(0, 3)));   // never read past the candidate
    EXPECT_FALSE(SameContainerId(reference, ""));
    EXPECT_EQ(HexOf(std::string("\x00\xAB\x0F", 3)), "00AB0F");
}

#include "numbers/recipient_prefix_index.h"

#include <gtest/gtest.h>

#include "contact_builders.h"

#include <random>

using namespace pagelark;
using pagelark::testing::Person;

TEST(NumbersPrefixIndex, NameWinsForOneContactFirstContactWinsOverall) {
    auto contacts = std::make_shared<ContactList>(ContactList{
        Person("Zoe", "+4917"),                 // matches "+49" by number
        Person("+49 Hotline", "+4930"),         // matches by name too, but comes later
        Person("Ärger Ömer", "0160", "oe@x"),
        Person("No Number", "", "anna@x"),
    });
    Contact team;
    team.name = "Team";
    team.members = {Person("A", "1")};
    contacts->push_back(team);

    const RecipientPrefixIndex to(contacts, RecipientMode::Number);
    EXPECT_EQ(to.Find("+49"), (PrefixMatch{0, false}));
    EXPECT_EQ(to.Find("+49 h"), (PrefixMatch{1, true}));
    EXPECT_EQ(to.Find("ÄR"), (PrefixMatch{2, true}));
    EXPECT_EQ(to.Find("no"), std::nullopt);   // no mobile: not a candidate in the To field
    EXPECT_EQ(to.Find("TE"), (PrefixMatch{4, true}));
    EXPECT_EQ(to.Find(""), std::nullopt);
    EXPECT_EQ(CompletionOf((*contacts)[2], RecipientMode::Number, true), "Ärger Ömer (0160)");
    EXPECT_EQ(CompletionOf((*contacts)[0], RecipientMode::Number, false), "+4917");
    EXPECT_EQ(CompletionOf(team, RecipientMode::Number, true), "Team");

    const RecipientPrefixIndex cc(contacts, RecipientMode::EMail);
    EXPECT_EQ(cc.Find("an"), (PrefixMatch{3, false}));
    EXPECT_EQ(cc.Find("zo"), std::nullopt);
    EXPECT_EQ(RecipientPrefixIndex().Find("a"), std::nullopt);
}

// Property: the index gives exactly the plain walk's answer, for lists with many equal and
// overlapping names (so runs of equal prefixes cross the index's blocks).
TEST(NumbersPrefixIndex, AgreesWithTheLinearRule) {
    std::mt19937 random(2024);
    const std::string letters = "abAB äÄ+0";
    auto word = [&](size_t maxLength) {
        std::string text;
        for (size_t i = 0, n = random() % (maxLength + 1); i < n; ++i) {
            const size_t at = random() % 9;
            text += at == 4 ? std::string("ä") : at == 5 ? std::string("Ä") : std::string(1, letters[at]);
        }
        return text;
    };
    for (int round = 0; round < 40; ++round) {
        auto contacts = std::make_shared<ContactList>();
        const size_t size = 1 + random() % 600;
        for (size_t i = 0; i < size; ++i) {
            Contact c = Person(word(5), random() % 3 ? word(4) : "", random() % 3 ? word(4) : "");
            if (random() % 20 == 0) c.members = {Person("m", "1")};
            contacts->push_back(c);
        }
        for (RecipientMode mode : {RecipientMode::Number, RecipientMode::EMail}) {
            const RecipientPrefixIndex index(contacts, mode);
            for (int query = 0; query < 60; ++query) {
                const std::string typed = word(3);
                ASSERT_EQ(index.Find(typed), FindPrefixMatchLinear(*contacts, mode, typed)) << typed;
            }
        }
    }
}

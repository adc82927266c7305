#include <gtest/gtest.h>

#include "contact_builders.h"

#include "numbers/dialling_codes.h"
#include "window/send_recipients.h"

using namespace pagelark;
using pagelark::testing::Person;
using pagelark::testing::List;

namespace {

class SendRecipients : public ::testing::Test {
protected:
    ContactList contacts{
        Person("Anna Meier", "+491711234567", "anna@example.de"),
        List("Team", {Person("Bert", "0170 1111111", "bert@example.de"), Person("Carla", "", "carla@example.de"),
                      Person("Dora", "+49 (0)170 2222222")}),
        List("Silent", {Person("Eve", ""), Person("Fritz", "")}),
    };
    NumberRules rules{BuiltInCheckList(), "+49"};
};

}  // namespace

TEST_F(SendRecipients, ListsBecomeTheirMembersNumbersAndNamesTheirAddresses) {
    MessageRecord record;
    record.To = "team; Anna Meier (+491711234567); 0171 7654321";
    record.CC = "Team; x@y.de";
    EXPECT_EQ(ExpandRecordLists(record, contacts, rules), 4);
    EXPECT_EQ(record.To, "+491701111111; +491702222222; +491711234567; 0171 7654321");
    EXPECT_EQ(record.CC, "bert@example.de; carla@example.de; x@y.de");
}

TEST_F(SendRecipients, AListWhoseMembersHaveNoNumbersLeavesNoRecipient) {
    MessageRecord record;
    record.To = "Silent";
    EXPECT_EQ(ExpandRecordLists(record, contacts, rules), 0);
    EXPECT_EQ(record.To, "");
}

TEST_F(SendRecipients, SentCopyShowsTheListNameWithItsMembersInBrackets) {
    std::string to = "Team; Anna Meier (+491711234567)";
    std::string cc = "Team";
    ExpandListNamesForSentCopy(to, cc, contacts, rules);
    EXPECT_EQ(to, "Team (+491701111111, +491702222222); Anna Meier (+491711234567)");
    EXPECT_EQ(cc, "Team (bert@example.de, carla@example.de)");
}

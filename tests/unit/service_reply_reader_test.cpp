#include <gtest/gtest.h>

#include <string>

#include "service/reply_reader.h"

namespace pagelark {
namespace {

using namespace std::string_literals;

TEST(ServiceReplyReader, ValuesEndAtTheirTerminator) {
    const std::string reply = "status: 0\r\ncredits: 12\r\nacctyp: 10011\r\n";
    EXPECT_EQ(FindReplyValue(reply, "credits:", ValueEnd::CarriageReturn), " 12");
    EXPECT_EQ(FindReplyValue(reply, "status:", ValueEnd::LineFeed), " 0\r");
    EXPECT_EQ(FindReplyValue(reply, "acctyp:", ValueEnd::EndOfReply), " 10011\r\n");
    EXPECT_EQ(FindReplyValue(reply, "email:", ValueEnd::CarriageReturn), std::nullopt);
    // Case-sensitive, first occurrence anywhere (even inside another line).
    EXPECT_EQ(FindReplyValue(reply, "Credits:", ValueEnd::CarriageReturn), std::nullopt);
    EXPECT_EQ(FindReplyValue("x: status: 7\r\nstatus: 1\r\n", "status:", ValueEnd::CarriageReturn), " 7");
}

TEST(ServiceReplyReader, ValueWithoutTerminatorReadsEmpty) {
    EXPECT_EQ(FindReplyValue("credits: 12", "credits:", ValueEnd::CarriageReturn), "");
    EXPECT_EQ(FindReplyValue("credits:", "credits:", ValueEnd::CarriageReturn), "");
    auto found = FindReplyValueAt("credits: 12", "credits:", ValueEnd::CarriageReturn);
    ASSERT_TRUE(found);
    EXPECT_FALSE(found->terminated);
}

TEST(ServiceReplyReader, ErrorSkipsOneCharacterAndNeverLeavesTheReply) {
    EXPECT_EQ(FindReplyValue("error: 4\n", "error:", ValueEnd::LineFeed), "4");
    EXPECT_EQ(FindReplyValue("error:x4\n", "error:", ValueEnd::LineFeed), "4");
    EXPECT_EQ(FindReplyValue("error:", "error:", ValueEnd::LineFeed), "");
    EXPECT_EQ(FindReplyValue("error:", "error:", ValueEnd::EndOfReply), "");
    EXPECT_EQ(FindReplyValue("error: ", "error:", ValueEnd::LineFeed), "");
    auto second = FindReplyValueAt("error: 1\nerror: 2\n", "error:", ValueEnd::LineFeed, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->value, "2");
    EXPECT_EQ(FindReplyValueAt("abc", "error:", ValueEnd::LineFeed, 99), std::nullopt);
}

TEST(ServiceReplyReader, VisibleReplyStopsAtNulAnd255Bytes) {
    std::string long_reply = "credits: 12\r\n" + std::string(300 - 13, 'x');
    ASSERT_EQ(long_reply.size(), 300u);
    EXPECT_EQ(VisibleReply(long_reply).size(), 255u);
    // The cut takes the line's CR: the value reads as empty.
    std::string tail_key = std::string(244, 'x') + "credits: 12\r\n";
    EXPECT_EQ(FindReplyValue(VisibleReply(tail_key), "credits:", ValueEnd::CarriageReturn), "");
    EXPECT_EQ(VisibleReply("status: 0\0credits: 5\r\n"s), "status: 0");
    EXPECT_EQ(VisibleReply(""), "");
}

TEST(ServiceReplyReader, NumbersReadLikeAtoi) {
    EXPECT_EQ(ReplyNumber(" 12"), 12);
    EXPECT_EQ(ReplyNumber("n/a"), 0);
    EXPECT_EQ(ReplyNumber("  -7x"), -7);
    EXPECT_EQ(ReplyNumber(""), 0);
    EXPECT_EQ(ReplyNumber("99999999999999999999999"), 2147483647);
    EXPECT_EQ(ReplyNumber("-99999999999999999999999"), -2147483647 - 1);
}

TEST(ServiceReplyReader, AccountTypeIsABinaryNumber) {
    EXPECT_EQ(ReplyBinaryNumber(" 10011\r\n"), 19);
    EXPECT_EQ(ReplyBinaryNumber("11111"), 31);
    EXPECT_EQ(ReplyBinaryNumber("102"), 2);
    EXPECT_EQ(ReplyBinaryNumber("x1"), 0);
    EXPECT_EQ(ReplyBinaryNumber(std::string(200, '1')), -1);   // low 32 bits, no overflow
}

}  // namespace
}  // namespace pagelark

#include "window/sms_counter.h"

#include <gtest/gtest.h>

#include <string>

using namespace pagelark;

namespace {
std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}
}  // namespace

TEST(SmsCounter, CountsCharactersNotBytesAndEscapedCharactersTwice) {
    EXPECT_EQ(CountSmsCharacters(""), 0);
    EXPECT_EQ(CountSmsCharacters("Grüße"), 5);
    EXPECT_EQ(CountSmsCharacters("\xE2\x82\xAC"), 2);   // euro sign
    EXPECT_EQ(CountSmsCharacters("[\\]^{|}~\f"), 18);
    EXPECT_EQ(CountSmsCharacters("a\r\nb"), 4);          // the editor's line break is two characters
}

TEST(SmsCounter, SegmentTableBoundaries) {
    const std::pair<int, int> rows[] = {{0, 1},    {160, 1},  {161, 2},  {304, 2},   {305, 3},   {456, 3},
                                        {457, 4},  {608, 4},  {609, 5},  {760, 5},   {761, 6},   {912, 6},
                                        {913, 7},  {1064, 7}, {1065, 8}, {1216, 8},  {1217, 9},  {1368, 9},
                                        {1369, 10}, {1520, 10}};
    for (const auto& [count, segments] : rows) EXPECT_EQ(SegmentsForCount(count), segments) << count;
}

TEST(SmsCounter, LabelsOfTheEdgeCases) {
    auto label = [](const std::string& text) {
        const CounterState s = EvaluateMessageText(text);
        return CounterLabel(s.counted, s.segments);
    };
    EXPECT_EQ(label(""), " 0/1520 [1]");
    EXPECT_EQ(label(std::string(160, 'a')), " 160/1520 [1]");
    EXPECT_EQ(label(std::string(161, 'a')), " 161/1520 [2]");
    EXPECT_EQ(label(std::string(304, 'a')), " 304/1520 [2]");
    EXPECT_EQ(label(std::string(305, 'a')), " 305/1520 [3]");
    EXPECT_EQ(label(Repeat("\xE2\x82\xAC", 80)), " 160/1520 [1]");
    EXPECT_EQ(label(Repeat("\xE2\x82\xAC", 81)), " 162/1520 [2]");
}

TEST(SmsCounter, AboveTheLimitTheEditIsTakenBack) {
    EXPECT_FALSE(EvaluateMessageText(std::string(1520, 'x')).overLimit);
    EXPECT_TRUE(EvaluateMessageText(std::string(1519, 'x') + "{").overLimit);   // 1519 + 2
    EXPECT_FALSE(EvaluateMessageText(std::string(1518, 'x') + "{").overLimit);  // exactly 1520
    // A paste of 1520 characters holding one '~' counts 1521.
    EXPECT_TRUE(EvaluateMessageText(std::string(1519, 'x') + "~").overLimit);
}

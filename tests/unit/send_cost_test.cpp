#include <gtest/gtest.h>

#include <string>

#include "window/send_charset.h"
#include "window/send_cost.h"

using namespace pagelark;

namespace {
const SendCostTexts kEnglish{"%d recipient", "%d recipients", "%s × %d SMS = %d SMS"};
const SendCostTexts kFrench{"%d destinataire", "%d destinataires", "%s × %d SMS = %d SMS"};
}  // namespace

TEST(SendCost, RecipientsTimesPartsWithSingularAndPlural) {
    EXPECT_EQ(FormatSendCost({3, 2, 6}, kEnglish), "3 recipients × 2 SMS = 6 SMS");
    EXPECT_EQ(FormatSendCost({1, 1, 1}, kEnglish), "1 recipient × 1 SMS = 1 SMS");
    EXPECT_EQ(FormatSendCost({1, 3, 3}, kFrench), "1 destinataire × 3 SMS = 3 SMS");
    EXPECT_EQ(FormatSendCost({2, 1, 2}, kFrench), "2 destinataires × 1 SMS = 2 SMS");
}

TEST(SendCost, PartsFollowTheCounterOfTheMessageWindow) {
    EXPECT_EQ(ComputeSendCost(3, std::string(160, 'a')).total, 3);
    const SendCost two = ComputeSendCost(3, std::string(161, 'a'));
    EXPECT_EQ(two.parts, 2);
    EXPECT_EQ(two.total, 6);
    // 80 euro signs count 160 (one part), 81 count 162 (two).
    std::string euros;
    for (int i = 0; i < 81; ++i) euros += "€";
    EXPECT_EQ(ComputeSendCost(1, euros).parts, 2);
    EXPECT_EQ(ComputeSendCost(1, "").parts, 1);
    EXPECT_EQ(ComputeSendCost(2, std::string(5000, 'a')).parts, 10);   // never beyond the ten parts
}

TEST(SendCost, FaultyTranslationsNeverReadMissingValues) {
    EXPECT_EQ(FillPlaceholders("%s %s %d", {"a"}), "a  ");
    EXPECT_EQ(FillPlaceholders("100%% %x %", {"a"}), "100% %x %");
}

TEST(SendCharset, CharactersOutsideWindows1252AreFoundOnceInOrder) {
    EXPECT_TRUE(FindUnsendableCharacters("Grüße, 5 € [ok] ~ «quote» – fine\r\n").empty());
    EXPECT_EQ(FindUnsendableCharacters("Hi \xF0\x9F\x98\x80 \xD0\x96\xD0\x96 \xF0\x9F\x98\x80"),
              (std::u32string{0x1F600, 0x416}));
    EXPECT_EQ(FindUnsendableCharacters("\xE2\x82\xBD"), std::u32string(1, 0x20BD));   // rouble sign
}

TEST(SendCharset, FirstUnsendableCharacterIsLocatedInEditorUnits) {
    const TextRange emoji = FirstUnsendableRange("\xC3\xBC \xF0\x9F\x98\x80 \xD0\x96");
    EXPECT_EQ(emoji.start, 2u);
    EXPECT_EQ(emoji.length, 2u);   // a surrogate pair in the editor
    const TextRange cyrillic = FirstUnsendableRange("\xF0\x9F\x98\x80 \xD0\x96");
    EXPECT_EQ(cyrillic.start, 0u);
    EXPECT_EQ(FirstUnsendableRange("a \xD0\x96").length, 1u);
    EXPECT_EQ(FirstUnsendableRange("fine").length, 0u);
}

TEST(SendCharset, ListedQuotedForTheMessageBox) {
    EXPECT_EQ(ListCharactersForDisplay(U"\U0001F600\u0416"), "\"\xF0\x9F\x98\x80\" \"\xD0\x96\"");
    EXPECT_EQ(ListCharactersForDisplay(U""), "");
}

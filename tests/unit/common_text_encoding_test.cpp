#include "common/text_encoding.h"

#include <gtest/gtest.h>

using namespace pagelark;

TEST(TextEncoding, Cp1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, EuroAndUmlautsMapToTheirBytes) {
    EXPECT_EQ(Utf8ToCp1252("Grüße €"), "Gr\xFC\xDF" "e \x80");
}

TEST(TextEncoding, UnmappableCharactersAreReportedOnceAndReplaced) {
    std::u32string bad;
    EXPECT_EQ(Utf8ToCp1252("a\xF0\x9F\x98\x80 \xD0\x96 \xF0\x9F\x98\x80", '?', &bad), "a? ? ?");
    EXPECT_EQ(bad, (std::u32string{0x1F600, 0x416}));
}

TEST(TextEncoding, MalformedUtf8NeverThrowsAndBecomesReplacement) {
    const std::u32string decoded = DecodeUtf8("\xC3\x28\xE2\x82\xF0\x9F\x98");
    ASSERT_FALSE(decoded.empty());
    EXPECT_EQ(decoded.front(), char32_t{0xFFFD});
    EXPECT_EQ(DecodeUtf8(std::string("\xED\xA0\x80", 3)), std::u32string(1, 0xFFFD));  // surrogate
}

TEST(TextEncoding, AtoiLikeReadsLikeTheCLibrary) {
    EXPECT_EQ(AtoiLike("  12abc"), 12);
    EXPECT_EQ(AtoiLike("n/a"), 0);
    EXPECT_EQ(AtoiLike("-5"), -5);
    EXPECT_EQ(AtoiLike(""), 0);
}

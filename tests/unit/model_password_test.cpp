#include <gtest/gtest.h>

#include "model/password.h"

namespace pagelark {
namespace {

TEST(AppPassword, ScrambleVectors) {
    EXPECT_EQ(ScramblePassword("abc"), "\xC3\xC4\x63");
    EXPECT_EQ(UnscramblePassword("\xC3\xC4\x63"), "abc");
    EXPECT_EQ(ScramblePassword(""), "");
    EXPECT_EQ(UnscramblePassword(""), "");
    EXPECT_EQ(ScramblePassword("a"), "c");      // one byte: p[0] + 2
    EXPECT_EQ(UnscramblePassword("c"), "a");
    EXPECT_EQ(ScramblePassword("\xFF"), "\x01");   // wraps modulo 256
    EXPECT_EQ(ScramblePassword("\xF0\x20"), std::string("\x10\xF2", 2));
}

TEST(AppPassword, RoundTripsEveryByteThatStaysStorable) {
    for (int first = 1; first < 256; ++first) {
        for (int second = 1; second < 256; ++second) {
            std::string p = {static_cast<char>(first), static_cast<char>(second), 'x'};
            EXPECT_EQ(UnscramblePassword(ScramblePassword(p)), p);
        }
    }
}

TEST(AppPassword, StorableOnlyWithoutZeroBytesOnceScrambled) {
    EXPECT_TRUE(IsStorablePassword(""));
    EXPECT_TRUE(IsStorablePassword("secret"));
    EXPECT_TRUE(IsStorablePassword("Grüße€"));
    EXPECT_FALSE(IsStorablePassword("a\xC5\xB8"));   // 'a' 0x61 + 'Ÿ' 0x9F = 256
    EXPECT_FALSE(IsStorablePassword("\xC3\xBE"));    // 'þ' (0xFE) + 2 = 256 in the last byte
    EXPECT_FALSE(IsStorablePassword("\xC2\x80" "\xC2\x80"));  // U+0080 has no Windows-1252 byte
    EXPECT_FALSE(IsStorablePassword("日本"));                 // not in Windows-1252 at all
}

// Code page 1251 leaves byte 0x98 undefined; the registry's conversion hands back "?" for it.
std::string ThroughCodePage1251(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out)
        if (static_cast<unsigned char>(c) == 0x98) c = '?';
    return out;
}
std::string Unchanged(std::string_view bytes) { return std::string(bytes); }

TEST(AppPassword, RefusedWhenTheScrambledBytesWouldNotComeBackFromTheAnsiCodePage) {
    // 'a' 0x61 + '7' 0x37 = 0x98 in the first scrambled byte.
    EXPECT_TRUE(IsStorablePassword("a7"));
    EXPECT_TRUE(IsStorablePassword("a7", Unchanged));
    EXPECT_FALSE(IsStorablePassword("a7", ThroughCodePage1251));
    EXPECT_TRUE(IsStorablePassword("a8", ThroughCodePage1251));
    EXPECT_TRUE(IsStorablePassword("", ThroughCodePage1251));
}

}  // namespace
}  // namespace pagelark

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/text_encoding.h"
#include "service/url_encode.h"

namespace pagelark {
namespace {

// The service's rule written out literally: "%" first, then for each table byte in order,
// its first occurrence replaced while one remains; finally the control bytes and the bytes of
// 0x7F and above that are left, which would not survive the trip in an address.
std::string ReferenceUrlEncode(std::string text) {
    static const unsigned char table[] = {
        0x0D, 0x0A, 0x20, 0x22, 0x23, 0x26, 0x2C, 0x2E, 0x2F, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0xA1, 0xA3,
        0xA4, 0xA5, 0xA7, 0xC4, 0xC5, 0xE0, 0xE4, 0xE5, 0xC6, 0xC7, 0xC9, 0xE8, 0xE9, 0xEC, 0xD1, 0xF1, 0xF2,
        0xF6, 0xD8, 0xD6, 0xDC, 0xF9, 0xFC, 0xDF, 0x0C, 0x5B, 0x5C, 0x5D, 0x5E, 0x7B, 0x7C, 0x7D, 0x7E, 0x80};
    std::string out;
    for (char c : text) out += c == '%' ? std::string("%25") : std::string(1, c);
    for (unsigned char b : table) {
        for (size_t at; (at = out.find(static_cast<char>(b))) != std::string::npos;) {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%.2X", b);
            out.replace(at, 1, escape);
        }
    }
    std::string rest;
    for (char c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F) {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%.2X", b);
            rest += escape;
        } else {
            rest += c;
        }
    }
    return rest;
}

TEST(ServiceUrlEncode, EscapesTheServiceExamples) {
    EXPECT_EQ(UrlEncode("50% off"), "50%25%20off");
    EXPECT_EQ(UrlEncode("a&b=c"), "a%26b%3Dc");
    EXPECT_EQ(UrlEncode(Utf8ToCp1252("Grüße")), "Gr%FC%DFe");
    EXPECT_EQ(UrlEncode("%20"), "%2520");
    EXPECT_EQ(UrlEncode("1+1"), "1+1");
    EXPECT_EQ(UrlEncode("line\r\nnext"), "line%0D%0Anext");
    EXPECT_EQ(UrlEncode(Utf8ToCp1252("5 €")), "5%20%80");
}

TEST(ServiceUrlEncode, LeavesUnlistedPrintableBytesAlone) {
    const std::string unlisted = "AZaz09+!$'()*-@_";
    EXPECT_EQ(UrlEncode(unlisted), unlisted);
    EXPECT_EQ(UrlEncode(""), "");
}

TEST(ServiceUrlEncode, LettersTheTableDoesNotListStillArriveIntact) {
    // é is in the table, ê and È are not: sent raw they would reach the service as "?".
    EXPECT_EQ(UrlEncode(Utf8ToCp1252("éêÈ")), "%E9%EA%C8");
    EXPECT_EQ(UrlEncode(std::string("a\x01\x7F", 3)), "a%01%7F");
}

TEST(ServiceUrlEncode, EveryByteMatchesTheLiteralRule) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(UrlEncode(all), ReferenceUrlEncode(all));
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string text(random() % 40, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        ASSERT_EQ(UrlEncode(text), ReferenceUrlEncode(text));
    }
}

TEST(ServiceUrlEncode, ValuesSentAsGivenCannotSplitTheQuery) {
    EXPECT_EQ(EscapeUnsafeQueryBytes("+491701234567,+4917"), "+491701234567,+4917");
    EXPECT_EQ(EscapeUnsafeQueryBytes("2026-12-06 19:20"), "2026-12-06%2019:20");
    EXPECT_EQ(EscapeUnsafeQueryBytes("a@b.de&password=x"), "a@b.de%26password=x");
    EXPECT_EQ(EscapeUnsafeQueryBytes("x#y\r\n%"), "x%23y%0D%0A%25");
    EXPECT_EQ(EscapeUnsafeQueryBytes(Utf8ToCp1252("jürgen@x.de")), "j%FCrgen@x.de");
}

}  // namespace
}  // namespace pagelark

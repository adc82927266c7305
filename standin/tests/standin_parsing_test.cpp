// The pieces that read what clients send: queries, numbers, times, message lengths, admin JSON.
#include <gtest/gtest.h>

#include <random>

#include "http_listener.h"
#include "json.h"
#include "query.h"
#include "sms_parts.h"
#include "telvoro_service.h"

namespace pagelark::standin {
namespace {

TEST(StandinQueryTest, DecodesLikePhp) {
    const Query q("a=1+2&b=%41%2b%zz%&c&d=x=y&a=last&e=%FC%00");
    EXPECT_EQ(q.Get("a"), "last");
    EXPECT_EQ(q.Get("b"), "A+%zz%");
    EXPECT_TRUE(q.Has("c"));
    EXPECT_FALSE(q.Filled("c"));
    EXPECT_EQ(q.Get("d"), "x=y");
    EXPECT_EQ(q.Get("e"), std::string("\xFC\0", 2));
    EXPECT_EQ(q.Raw("e"), "%FC%00");
    EXPECT_EQ(Query("n=+12").Integer("n"), 12);
    EXPECT_EQ(Query("n=-5").Integer("n"), -5);
    EXPECT_FALSE(Query("n=5x").Integer("n"));
    EXPECT_FALSE(Query("n=99999999999999999999").Integer("n"));
}

TEST(StandinNumbersTest, InternationalForms) {
    EXPECT_EQ(NormalizeInternational("+49 170 1234567"), "+491701234567");
    EXPECT_EQ(NormalizeInternational(" 491701234567"), "+491701234567");
    EXPECT_EQ(NormalizeInternational("00491701234567"), "+491701234567");
    EXPECT_FALSE(NormalizeInternational("01701234567"));
    EXPECT_FALSE(NormalizeInternational("+49abc"));
    EXPECT_FALSE(NormalizeInternational("+1234"));
    EXPECT_FALSE(NormalizeInternational("+1234567890123456"));
    EXPECT_EQ(JoinAccountNumber(" 49", "0170 1234567"), "+491701234567");
    EXPECT_EQ(JoinAccountNumber("+33", "612345678"), "+33612345678");
    EXPECT_FALSE(JoinAccountNumber("49x", "1701234567"));
    EXPECT_FALSE(JoinAccountNumber("", "1701234567"));
}

TEST(StandinDueTimeTest, LocalTimeAtTheClientsOffset) {
    // 2026-12-06 19:20 at UTC+1 is 18:20 UTC.
    EXPECT_EQ(DueTime("2026-12-06 19:20", 1), 1796581200LL);
    EXPECT_EQ(DueTime("2026-12-06 19:20", -5), 1796581200LL + 6 * 3600);
    EXPECT_FALSE(DueTime("2026-02-30 10:00", 0));
    EXPECT_FALSE(DueTime("2026-12-06", 0));
    EXPECT_FALSE(DueTime("2026-12-06 19:20 extra", 0));
    EXPECT_FALSE(DueTime("2026-13-01 10:00", 0));
    EXPECT_FALSE(DueTime("2026-12-06 19:20", 99));
}

TEST(StandinSmsPartsTest, CountsAsTheClientCounts) {
    EXPECT_EQ(CountedLength("abc"), 3);
    EXPECT_EQ(CountedLength("^{}[]~\\|\x80\x0C"), 20);
    EXPECT_EQ(CountedLength("\xE9\xFC"), 2);   // accented letters are one each
    EXPECT_EQ(SmsParts(0), 0);
    EXPECT_EQ(SmsParts(1), 1);
    EXPECT_EQ(SmsParts(160), 1);
    EXPECT_EQ(SmsParts(161), 2);
    EXPECT_EQ(SmsParts(304), 2);
    EXPECT_EQ(SmsParts(305), 3);
    EXPECT_EQ(SmsParts(1520), 10);
    EXPECT_EQ(SmsParts(1521), 11);
}

TEST(StandinJsonTest, ParsesAndDumps) {
    const auto j = Json::Parse(R"( {"a":1,"b":"x\"\u00fc\ud83d\ude00","c":[true,false,null],"d":-2.5} )");
    ASSERT_TRUE(j);
    EXPECT_EQ(j->Find("a")->AsInteger(), 1);
    EXPECT_EQ(j->Find("b")->AsString(), "x\"ü😀");
    EXPECT_EQ(j->Find("c")->AsArray().size(), 3u);
    EXPECT_FALSE(j->Find("d")->IsInteger());
    EXPECT_EQ(Json(Json::Object{{"s", Json("a\x01\n")}}).Dump(), R"({"s":"a\u0001\n"})");
    for (const char* bad : {"", "{", "{\"a\"}", "[1,]", "{\"a\":1}x", "\"\x01\"", "tru", "{\"a\":\"\\q\"}"})
        EXPECT_FALSE(Json::Parse(bad)) << bad;
    EXPECT_FALSE(Json::Parse(std::string(100, '[') + std::string(100, ']')));
}

}  // namespace
}  // namespace pagelark::standin

namespace pagelark::standin {
namespace {

TEST(StandinRequestHeadTest, TargetRunsFromFirstToLastBlank) {
    HttpRequest r;
    ASSERT_TRUE(ParseRequestHead("GET /plugin/sms.php?send_time=2026-12-06 19:20&x=%41 HTTP/1.1\r\n"
                                 "Host: localhost\r\nAuthorization:  Basic abc \r\n", r));
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.target, "/plugin/sms.php?send_time=2026-12-06 19:20&x=%41");
    EXPECT_EQ(r.path, "/plugin/sms.php");
    EXPECT_EQ(r.Header("authorization"), "Basic abc");
    EXPECT_EQ(r.Header("host"), "localhost");

    ASSERT_TRUE(ParseRequestHead("GET /a%2Fb%20c HTTP/1.0", r));
    EXPECT_EQ(r.path, "/a/b c");
    for (const char* bad : {"", "GARBAGE", "GET /", "GET  HTTP/1.1", "GET / FTP/1.0", " / HTTP/1.1",
                            "GET / HTTP/1.1\r\nno colon here", "GET / HTTP/1.1\r\n: empty name"})
        EXPECT_FALSE(ParseRequestHead(bad, r)) << bad;
}

}  // namespace
}  // namespace pagelark::standin

namespace pagelark::standin {
namespace {

// Whatever bytes arrive, the readers answer (or refuse) and never crash; the sanitizer builds
// and this loop are what show it.
TEST(StandinReadersTest, RandomBytesNeverBreakThem) {
    std::mt19937 random(20261208);
    const std::string alphabet = std::string("GET /?&=%+:\r\n HTTP/1.1{}[]\",\\u0123456789abcdefAF") + std::string(1, '\0') + "\xFF\x80";
    for (int round = 0; round < 20000; ++round) {
        std::string input(random() % 200, ' ');
        for (auto& c : input)
            c = random() % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        HttpRequest request;
        ParseRequestHead(input, request);
        const Query q(input);
        (void)q.Integer("gmt");
        (void)Json::Parse(input);
        (void)NormalizeInternational(input);
        (void)DueTime(input, 1);
        EXPECT_GE(CountedLength(input), static_cast<int>(input.size()));
    }
}

}  // namespace
}  // namespace pagelark::standin

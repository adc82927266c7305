// The four service requests end to end over HTTPS, with the exact reply bytes the client reads.
#include <atomic>
#include <thread>
#include <vector>

#include "standin_fixture.h"

namespace pagelark::standin::testing {
namespace {

using StandinProtocolTest = StandinTest;

std::string StatusQuery(const std::string& user, const std::string& password) {
    return "/plugin/status.php?user=" + user + "&password=" + password + "&version=1.0.0.1&lang=en";
}

std::string RegisterQuery(int mode, const std::string& user, const std::string& password,
                          const std::string& mobile = "01701234567") {
    return "/plugin/register.php?mode=" + std::to_string(mode) + "&sales_channel_id=000007&user=" + user +
           "&password=" + password + "&country_code=+49&mobile_no=" + mobile +
           "&email=bert@example.org&language=de&gmt=1";
}

TEST_F(StandinProtocolTest, BasicAuthenticationIsChallengedThenAccepted) {
    Seed("anna", 3);
    auto anonymous = Service(0, false)->Get(StatusQuery("anna", "secret").c_str());
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(anonymous->status, 401);
    EXPECT_EQ(anonymous->get_header_value("WWW-Authenticate"), "Basic realm=\"Telvoro\"");

    auto wrong = Service(0, false);
    wrong->set_basic_auth("telvoro", "guess");
    auto refused = wrong->Get(StatusQuery("anna", "secret").c_str());
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 401);

    EXPECT_EQ(Get(StatusQuery("anna", "secret")),
              "status: 0\r\ncredits: 3\r\nemail: anna@example.org\r\nmobile: +491701234567\r\nacctyp: 10011\r\n");
    const Json requests = AdminGet("/admin/requests?path=/plugin/status.php");
    ASSERT_EQ(requests.Find("requests")->AsArray().size(), 3u);
    EXPECT_FALSE(requests.Find("requests")->AsArray()[0].Find("authorized")->AsBool());
    EXPECT_TRUE(requests.Find("requests")->AsArray()[2].Find("authorized")->AsBool());
    EXPECT_EQ(requests.Find("requests")->AsArray()[2].Find("raw_query")->AsString(),
              "user=anna&password=secret&version=1.0.0.1&lang=en");
}

TEST_F(StandinProtocolTest, RegisterActivateStatusSendCycle) {
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "p%26ss")), "status: 0\r\n");
    const Json account = AdminGet("/admin/accounts/bert");
    EXPECT_EQ(account.Find("password")->AsString(), "p&ss");
    EXPECT_EQ(account.Find("mobile")->AsString(), "+491701234567");   // " 49" and the trunk 0 resolved
    EXPECT_FALSE(account.Find("active")->AsBool());
    EXPECT_EQ(Get(StatusQuery("bert", "p%26ss")).rfind("status: 1\r\nerror: 4\r\nerror_msg: ", 0), 0u);

    const Json pins = AdminGet("/admin/pins?mobile=%2B491701234567");
    ASSERT_EQ(pins.Find("pins")->AsArray().size(), 1u);
    const std::string pin = pins.Find("pins")->AsArray()[0].AsString();
    EXPECT_EQ(pin.size(), 6u);

    EXPECT_EQ(Get("/plugin/activate.php?user=bert&pin=000000"), "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get("/plugin/activate.php?user=bert&pin=" + pin), "status: 0\r\n");
    EXPECT_EQ(Get(StatusQuery("bert", "p%26ss")),
              "status: 0\r\ncredits: 10\r\nemail: bert@example.org\r\nmobile: +491701234567\r\nacctyp: 11111\r\n");

    const std::string query = "/plugin/sms.php?user=bert&password=p%26ss&send_time=&recipients=+4915112345678,+33612345678"
                              "&cc_to_mail=copy@example.org&perm_mail_copy=1&message=Gr%FC%DFe%20aus%20K%F6ln%80!"
                              "&gmt=-5&rply=1&senderid=0&flash=1";
    EXPECT_EQ(Get(query), "status: 0\r\ncredits: 8\r\n");
    const Json messages = AdminGet("/admin/messages?user=bert");
    ASSERT_EQ(messages.Find("messages")->AsArray().size(), 1u);
    const Json& m = messages.Find("messages")->AsArray()[0];
    EXPECT_EQ(m.Find("recipients")->AsString(), "+4915112345678,+33612345678");
    EXPECT_EQ(m.Find("message")->AsString(), "Grüße aus Köln€!");
    EXPECT_EQ(m.Find("message_raw")->AsString(), "Gr%FC%DFe%20aus%20K%F6ln%80!");
    EXPECT_EQ(m.Find("cc_to_mail")->AsString(), "copy@example.org");
    EXPECT_EQ(m.Find("perm_mail_copy")->AsString(), "1");
    EXPECT_EQ(m.Find("gmt")->AsString(), "-5");
    EXPECT_EQ(m.Find("rply")->AsString(), "1");
    EXPECT_EQ(m.Find("senderid")->AsString(), "0");
    EXPECT_EQ(m.Find("flash")->AsString(), "1");
    EXPECT_EQ(m.Find("parts")->AsInteger(), 1);
    EXPECT_EQ(m.Find("cost")->AsInteger(), 2);
    EXPECT_EQ(m.Find("state")->AsString(), "delivered");
    EXPECT_EQ(m.Find("raw_query")->AsString(), query.substr(query.find('?') + 1));

    auto inbox = Admin().Get("/inbox/%2B4915112345678");
    ASSERT_TRUE(inbox);
    EXPECT_NE(inbox->body.find("Grüße aus Köln€!"), std::string::npos);
    auto pin_inbox = Admin().Get("/inbox/+491701234567");
    ASSERT_TRUE(pin_inbox);
    EXPECT_NE(pin_inbox->body.find(pin), std::string::npos);
}

TEST_F(StandinProtocolTest, RepeatedPinRequestsEndInCode13) {
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "pw")), "status: 0\r\n");
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "pw")), "status: 0\r\n");
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "pw")), "status: 0\r\n");
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "pw")), "status: 2\r\nerror: 13\r\n");
    const auto pins = AdminGet("/admin/pins?mobile=%2B491701234567").Find("pins")->AsArray();
    ASSERT_EQ(pins.size(), 3u);
    // Only the latest PIN activates.
    EXPECT_EQ(Get("/plugin/activate.php?user=bert&pin=" + pins[0].AsString()),
              pins[0].AsString() == pins[2].AsString() ? "status: 0\r\n" : "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get("/plugin/activate.php?user=bert&pin=" + pins[2].AsString()), "status: 0\r\n");
}

TEST_F(StandinProtocolTest, PinRequestAfterCorrectingTheNumberGoesToTheNewNumber) {
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "pw", "0170999")), "status: 0\r\n");
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "pw", "01701234567")), "status: 0\r\n");
    EXPECT_EQ(AdminGet("/admin/pins?mobile=%2B49170999").Find("pins")->AsArray().size(), 1u);
    const auto pins = AdminGet("/admin/pins?mobile=%2B491701234567").Find("pins")->AsArray();
    ASSERT_EQ(pins.size(), 1u);
    EXPECT_EQ(AdminGet("/admin/accounts/bert").Find("mobile")->AsString(), "+491701234567");
    EXPECT_EQ(Get("/plugin/activate.php?user=bert&pin=" + pins[0].AsString()), "status: 0\r\n");
}

TEST_F(StandinProtocolTest, LongestStatusReplyFitsTheClientsBuffer) {
    const std::string email = std::string(51, 'e') + "@example.org";   // 63 characters
    AdminPost("/admin/accounts", R"({"user":"anna","password":"secret","mobile":"+123456789012345","email":")" + email +
                                     R"(","credits":2000000000,"acctyp":"11111"})");
    AdminPost("/admin/update", R"({"url":")" + std::string(76, 'u') + R"(","filesize":2147483647})");
    const std::string reply = Get(StatusQuery("anna", "secret"));
    EXPECT_LE(reply.size(), kMaxReplyBytes);
    EXPECT_NE(reply.find("email: " + email + "\r\n"), std::string::npos);
    EXPECT_EQ(reply.substr(reply.size() - 15), "acctyp: 11111\r\n");
}

TEST_F(StandinProtocolTest, RegistrationConflictsAndLogin) {
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "pw")), "status: 0\r\n");
    EXPECT_EQ(Get(RegisterQuery(0, "bert", "other")), "status: 2\r\nerror: 1\r\n");
    Seed("anna", 5, "+491709999999");
    EXPECT_EQ(Get(RegisterQuery(0, "anna", "secret")), "status: 2\r\nerror: 1\r\n");   // active: taken
    EXPECT_EQ(Get(RegisterQuery(0, "carl", "pw", "0170-9999999")), "status: 2\r\nerror: 12\r\n");
    EXPECT_EQ(Get(RegisterQuery(1, "anna", "secret")), "status: 1\r\n");
    EXPECT_EQ(Get(RegisterQuery(1, "anna", "wrong")), "status: 2\r\nerror: 2\r\n");
    EXPECT_EQ(Get(RegisterQuery(0, "dora", "pw", "12ab")), "status: 2\r\nerror: 2\r\n");
    EXPECT_EQ(Get("/plugin/register.php?mode=0"), "status: 2\r\nerror: 3\r\nerror: 4\r\nerror: 5\r\nerror: 6\r\n"
                                                  "error: 7\r\nerror: 8\r\nerror: 10\r\nerror: 11\r\n");
    EXPECT_EQ(Get("/plugin/register.php"), "status: 2\r\nerror: 3\r\nerror: 4\r\nerror: 5\r\nerror: 6\r\n"
                                           "error: 7\r\nerror: 8\r\nerror: 9\r\nerror: 10\r\nerror: 11\r\n");
    EXPECT_EQ(Get("/plugin/activate.php"), "status: 1\r\nerror: 2\r\nerror: 3\r\n");
}

TEST_F(StandinProtocolTest, StatusErrorsAndUpdateOffer) {
    Seed("anna", 0);
    EXPECT_EQ(Get("/plugin/status.php?version=1&lang=en"), "status: 1\r\nerror: 2\r\nerror: 3\r\n");
    EXPECT_EQ(Get(StatusQuery("anna", "nope")), "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get(StatusQuery("nobody", "secret")), "status: 1\r\nerror: 1\r\n");
    AdminPost("/admin/update", R"({"url":"http://localhost:9999/pagelark/Pagelark-1.1.msi","filesize":123456})");
    const std::string reply = Get(StatusQuery("anna", "secret"));
    EXPECT_EQ(reply, "status: 0\r\ncredits: 0\r\nemail: anna@example.org\r\nmobile: +491701234567\r\n"
                     "update: http://localhost:9999/pagelark/Pagelark-1.1.msi\r\nfilesize: 123456\r\nacctyp: 10011\r\n");
    EXPECT_LE(reply.size(), kMaxReplyBytes);
    EXPECT_EQ(AdminGet("/admin/accounts/anna").Find("update_url")->AsString(),
              "http://localhost:9999/pagelark/Pagelark-1.1.msi");
    AdminPost("/admin/update", R"({"url":""})");
    EXPECT_EQ(Get(StatusQuery("anna", "secret")).find("update:"), std::string::npos);
    AdminPost("/admin/update", R"({"url":")" + std::string(100, 'u') + R"("})", 400);
}

TEST_F(StandinProtocolTest, CreditsChargedPerPartPerRecipient) {
    Seed("anna", 100);
    // 160 counted characters are one part; 161 are two.
    EXPECT_EQ(Get(SmsQuery("+4915112345678", std::string(160, 'a'))), "status: 0\r\ncredits: 99\r\n");
    EXPECT_EQ(Get(SmsQuery("+4915112345678,+4915112345679", std::string(161, 'a'))), "status: 0\r\ncredits: 95\r\n");
    // Each of { and the euro sign counts twice: 80 of them fill one part, 81 need two.
    std::string braces;
    for (int i = 0; i < 80; ++i) braces += "%7B";
    EXPECT_EQ(Get(SmsQuery("+4915112345678", braces)), "status: 0\r\ncredits: 94\r\n");
    EXPECT_EQ(Get(SmsQuery("+4915112345678", braces + "%80")), "status: 0\r\ncredits: 92\r\n");
    // 304 counted characters are two parts of 152, 305 three.
    EXPECT_EQ(Get(SmsQuery("+4915112345678", std::string(304, 'b'))), "status: 0\r\ncredits: 90\r\n");
    EXPECT_EQ(Get(SmsQuery("+4915112345678", std::string(305, 'b'))), "status: 0\r\ncredits: 87\r\n");
    const auto movements = AdminGet("/admin/messages?user=anna").Find("messages")->AsArray();
    ASSERT_EQ(movements.size(), 6u);
    EXPECT_EQ(movements[1].Find("parts")->AsInteger(), 2);
    EXPECT_EQ(movements[1].Find("cost")->AsInteger(), 4);
    EXPECT_EQ(AdminGet("/admin/accounts/anna").Find("credits")->AsInteger(), 87);
}

TEST_F(StandinProtocolTest, InsufficientCreditsRefuseWithCode7AndChargeNothing) {
    Seed("anna", 3);
    EXPECT_EQ(Get(SmsQuery("+4915112345678,+4915112345679", std::string(200, 'a'))),
              "status: 1\r\nerror: 7\r\ncredits: 3\r\n");
    EXPECT_TRUE(AdminGet("/admin/messages").Find("messages")->AsArray().empty());
    EXPECT_EQ(AdminGet("/admin/accounts/anna").Find("credits")->AsInteger(), 3);
    EXPECT_EQ(Get(SmsQuery("+4915112345678", "hi")), "status: 0\r\ncredits: 2\r\n");
}

TEST_F(StandinProtocolTest, ConcurrentSendsNeverSpendMoreThanTheCredits) {
    Seed("anna", 20);
    std::atomic<int> accepted{0}, refused{0};
    std::vector<std::thread> senders;
    for (int t = 0; t < 6; ++t) {
        senders.emplace_back([&] {
            auto client = Service();
            for (int i = 0; i < 5; ++i) {
                auto res = client->Get(SmsQuery("+4915112345678", "race").c_str());
                if (res && res->body.rfind("status: 0\r\n", 0) == 0) ++accepted;
                else if (res && res->body.rfind("status: 1\r\nerror: 7\r\ncredits: 0\r\n", 0) == 0) ++refused;
            }
        });
    }
    for (auto& t : senders) t.join();
    EXPECT_EQ(accepted, 20);
    EXPECT_EQ(refused, 10);
    EXPECT_EQ(AdminGet("/admin/accounts/anna").Find("credits")->AsInteger(), 0);
    EXPECT_EQ(AdminGet("/admin/messages").Find("messages")->AsArray().size(), 20u);
}

TEST_F(StandinProtocolTest, SendRefusals) {
    Seed("anna", 50);
    EXPECT_EQ(Get("/plugin/sms.php?gmt=x"), "status: 1\r\nerror: 2\r\nerror: 3\r\nerror: 4\r\nerror: 5\r\nerror: 6\r\n");
    EXPECT_EQ(Get("/plugin/sms.php?user=anna&password=bad&recipients=+491&message=x&gmt=0"), "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get(SmsQuery("+9990007", "demo")), "status: 1\r\nerror: 7\r\ncredits: 50\r\n");
    EXPECT_EQ(Get(SmsQuery("+4915112345678,+9990008", "demo")), "status: 1\r\nerror: 8\r\ncredits: 50\r\n");
    EXPECT_EQ(Get(SmsQuery("01511234567", "national")), "status: 1\r\nerror: 8\r\ncredits: 50\r\n");
    EXPECT_EQ(Get(SmsQuery("+4915112345678", std::string(1521, 'z'))), "status: 1\r\nerror: 8\r\ncredits: 50\r\n");
    AdminPost("/admin/accounts/anna", R"({"active":false})");
    EXPECT_EQ(Get(SmsQuery("+4915112345678", "hi")), "status: 1\r\nerror: 8\r\ncredits: 50\r\n");
    EXPECT_TRUE(AdminGet("/admin/messages").Find("messages")->AsArray().empty());
}

TEST_F(StandinProtocolTest, ScheduledMessagesWaitForTheirTime) {
    Seed("anna", 10);
    const std::string later = "/plugin/sms.php?user=anna&password=secret&send_time=2099-12-06%2019:20&recipients=+4915112345678"
                              "&cc_to_mail=&perm_mail_copy=0&message=later&gmt=1&rply=0&senderid=0&flash=0";
    const std::string past = "/plugin/sms.php?user=anna&password=secret&send_time=2020-01-02 03:04&recipients=+4915112345678"
                             "&cc_to_mail=&perm_mail_copy=0&message=past&gmt=1&rply=0&senderid=0&flash=0";
    EXPECT_EQ(Get(later), "status: 0\r\ncredits: 9\r\n");
    EXPECT_EQ(Get(past.substr(0, past.find(' ')) + "%20" + past.substr(past.find(' ') + 1)), "status: 0\r\ncredits: 8\r\n");
    EXPECT_EQ(Get(SmsQuery("+4915112345678", "x").replace(SmsQuery("", "").find("send_time=") + 10, 0, "2026-02-30%2010:00")),
              "status: 1\r\nerror: 8\r\ncredits: 8\r\n");
    const auto messages = AdminGet("/admin/messages").Find("messages")->AsArray();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Find("state")->AsString(), "scheduled");
    EXPECT_EQ(messages[0].Find("send_time")->AsString(), "2099-12-06 19:20");
    EXPECT_EQ(messages[1].Find("state")->AsString(), "delivered");
}

TEST_F(StandinProtocolTest, RawBlanksInTheQueryArriveWhole) {
    // The client sends send_time and the recipients unescaped; WinInet passes their blanks on.
    Seed("anna", 10);
    EXPECT_EQ(Get("/plugin/sms.php?user=anna&password=secret&send_time=2099-12-06 19:20"
                  "&recipients=+4915112345678, +4915112345679&cc_to_mail=a@example.org, b@example.org"
                  "&perm_mail_copy=0&message=hi&gmt=1&rply=0&senderid=0&flash=0"),
              "status: 0\r\ncredits: 8\r\n");
    const auto messages = AdminGet("/admin/messages").Find("messages")->AsArray();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Find("send_time")->AsString(), "2099-12-06 19:20");
    EXPECT_EQ(messages[0].Find("recipients")->AsString(), "+4915112345678,+4915112345679");
    EXPECT_EQ(messages[0].Find("cc_to_mail")->AsString(), "a@example.org, b@example.org");
    EXPECT_EQ(messages[0].Find("state")->AsString(), "scheduled");
}

TEST_F(StandinProtocolTest, WebSitePagesAndUpdateFiles) {
    Seed("anna", 42);
    httplib::Client web("127.0.0.1", Port(2));
    auto credits = web.Get("/login.php?target=credits&user=anna&lang=de&sales_channel_id=000007");
    ASSERT_TRUE(credits);
    EXPECT_EQ(credits->status, 200);
    EXPECT_NE(credits->body.find("42 SMS credits"), std::string::npos);
    auto hostile = web.Get("/login.php?target=user&user=%3Cscript%3E&lang=en&sales_channel_id=000001");
    ASSERT_TRUE(hostile);
    EXPECT_EQ(hostile->body.find("<script>"), std::string::npos);
    EXPECT_NE(hostile->body.find("&lt;script&gt;"), std::string::npos);
    EXPECT_EQ(web.Get("/login.php?target=nothing")->status, 400);
    EXPECT_EQ(Service(0, false)->Get("/login.php?target=payment&user=anna&lang=en&sales_channel_id=000001")->status, 200);

    std::ofstream(server_->UpdatesDir() + "/countries_de.txt") << "49;Deutschland\n";
    auto file = Service(0, false)->Get("/pagelark/updates/countries_de.txt");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->status, 200);
    EXPECT_EQ(file->body, "49;Deutschland\n");
    EXPECT_EQ(Service(0, false)->Get("/pagelark/updates/..%2Fstandin.sqlite")->status, 404);
    EXPECT_EQ(Service(0, false)->Get("/pagelark/updates/missing.txt")->status, 404);
}

}  // namespace
}  // namespace pagelark::standin::testing

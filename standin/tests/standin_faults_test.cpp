// Switched faults, servers taken down, and requests no real client would send.
#include <sys/socket.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "standin_fixture.h"

namespace pagelark::standin::testing {
namespace {

using StandinFaultsTest = StandinTest;
const std::string kStatus = "/plugin/status.php?user=anna&password=secret&version=1&lang=en";
const std::string kValidStatus =
    "status: 0\r\ncredits: 5\r\nemail: anna@example.org\r\nmobile: +491701234567\r\nacctyp: 10011\r\n";

void SetFault(const std::string& json) {
    StandinTest::AdminPost("/admin/faults", json);
}

TEST_F(StandinFaultsTest, ErrorFaultAnswersTheCodeAsEachRequestWould) {
    Seed("anna", 5);
    SetFault(R"({"target":"primary","mode":"error","code":7})");
    EXPECT_EQ(Get(kStatus), "status: 1\r\nerror: 7\r\n");
    EXPECT_EQ(Get("/plugin/register.php?mode=0"), "status: 2\r\nerror: 7\r\n");
    EXPECT_EQ(Get(kStatus, 1), kValidStatus);   // the secondary is untouched
    SetFault(R"({"target":"primary","mode":"none"})");
    EXPECT_EQ(Get(kStatus), kValidStatus);
}

TEST_F(StandinFaultsTest, CountedFaultEndsByItself) {
    Seed("anna", 5);
    SetFault(R"({"target":"both","mode":"error","code":1,"count":2})");
    EXPECT_EQ(Get(kStatus), "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get(kStatus, 1), "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get(kStatus), "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get(kStatus), kValidStatus);
    EXPECT_EQ(Get(kStatus, 1), "status: 1\r\nerror: 1\r\n");
    EXPECT_EQ(Get(kStatus, 1), kValidStatus);
}

TEST_F(StandinFaultsTest, LongReplyKeepsTheRealKeysFirst) {
    Seed("anna", 5);
    SetFault(R"({"target":"primary","mode":"long"})");
    const std::string reply = Get(kStatus);
    EXPECT_EQ(reply.size(), 300u);
    EXPECT_EQ(reply.rfind(kValidStatus, 0), 0u);
    EXPECT_EQ(reply.substr(reply.size() - 2), "\r\n");
}

TEST_F(StandinFaultsTest, GarbageHasNulsAndNoLineEnds) {
    Seed("anna", 5);
    SetFault(R"({"target":"primary","mode":"garbage"})");
    const std::string reply = Get(kStatus);
    EXPECT_GT(reply.size(), 100u);
    EXPECT_NE(reply.find('\0'), std::string::npos);
    EXPECT_EQ(reply.find_first_of("\r\n"), std::string::npos);
}

TEST_F(StandinFaultsTest, Http500AndDrop) {
    Seed("anna", 5);
    SetFault(R"({"target":"primary","mode":"http500","count":1})");
    auto res = Service()->Get(kStatus.c_str());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 500);

    SetFault(R"({"target":"primary","mode":"drop","count":1})");
    auto dropped = Service()->Get(kStatus.c_str());
    EXPECT_FALSE(dropped);   // the connection ended without any answer
    EXPECT_EQ(Get(kStatus), kValidStatus);
}

TEST_F(StandinFaultsTest, DelayHoldsTheAnswer) {
    Seed("anna", 5);
    SetFault(R"({"target":"primary","mode":"delay","delay_ms":400,"count":1})");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Get(kStatus), kValidStatus);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
}

TEST_F(StandinFaultsTest, TakingAServerDownDoesNotWaitForADelayedAnswer) {
    Seed("anna", 5);
    SetFault(R"({"target":"primary","mode":"delay","delay_ms":60000})");
    std::thread waiting([] { EXPECT_FALSE(Service()->Get(kStatus.c_str())); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto start = std::chrono::steady_clock::now();
    AdminPost("/admin/servers", R"({"primary":false})");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    waiting.join();
}

TEST_F(StandinFaultsTest, BadFaultRequestsAreRefused) {
    AdminPost("/admin/faults", R"({"target":"tertiary","mode":"error"})", 400);
    AdminPost("/admin/faults", R"({"target":"primary","mode":"explode"})", 400);
    AdminPost("/admin/faults", R"({"target":"primary","mode":"delay","delay_ms":-1})", 400);
    AdminPost("/admin/faults", R"({"target":)", 400);
}

TEST_F(StandinFaultsTest, StoppedServerRefusesConnectionsUntilStarted) {
    Seed("anna", 5);
    const Json state = AdminPost("/admin/servers", R"({"primary":false})");
    EXPECT_FALSE(state.Find("primary")->AsBool());
    EXPECT_TRUE(state.Find("secondary")->AsBool());
    const auto start = std::chrono::steady_clock::now();
    auto refused = Service()->Get(kStatus.c_str());
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.error(), httplib::Error::Connection);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(Get(kStatus, 1), kValidStatus);

    AdminPost("/admin/servers", R"({"primary":true,"secondary":false})");
    EXPECT_EQ(Get(kStatus), kValidStatus);
    EXPECT_FALSE(Service(1)->Get(kStatus.c_str()));
    AdminPost("/admin/reset", "");
    Seed("anna", 5);
    EXPECT_EQ(Get(kStatus, 1), kValidStatus);
}

TEST_F(StandinFaultsTest, SelfSignedListenerIsNotTrusted) {
    auto res = Service(4)->Get(kStatus.c_str());
    EXPECT_FALSE(res);
    EXPECT_EQ(res.error(), httplib::Error::SSLServerVerification);
}

// Sends raw bytes as one request over plain HTTP (the web listener) and returns the answer's head.
std::string RawHttp(int port, const std::string& request) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return "<no connection>";
    }
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string answer;
    char buf[4096];
    ssize_t n;
    // The status line and headers are all these tests look at; a kept-alive connection stays open.
    while (answer.find("\r\n\r\n") == std::string::npos && (n = recv(fd, buf, sizeof buf, 0)) > 0)
        answer.append(buf, static_cast<size_t>(n));
    close(fd);
    return answer;
}

TEST_F(StandinFaultsTest, MalformedRequestsGetAnswersNotCrashes) {
    Seed("anna", 50);
    // Stray and broken escapes, bytes that are not UTF-8, empty pairs.
    EXPECT_EQ(Get("/plugin/status.php?user=anna&&password=secret&version=%&lang=%zz&=x&user"),
              "status: 1\r\nerror: 2\r\n");
    EXPECT_EQ(Get(SmsQuery("+4915112345678", "%E9t%E9%FF%00%C3")), "status: 0\r\ncredits: 49\r\n");
    const auto messages = AdminGet("/admin/messages").Find("messages")->AsArray();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Find("message")->AsString(), std::string("été\xC3\xBF") + std::string(1, '\0') + "Ã");
    EXPECT_EQ(Get(SmsQuery("+4915112345678", "raw\xE9\xFF")), "status: 0\r\ncredits: 48\r\n");

    // A query past the request line limit is refused by HTTP itself; the server goes on.
    auto huge = Service()->Get(("/plugin/sms.php?message=" + std::string(20000, 'a')).c_str());
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 414);
    // Within the limit but far past ten parts: the service's own refusal.
    EXPECT_EQ(Get(SmsQuery("+4915112345678", std::string(7000, 'a'))), "status: 1\r\nerror: 8\r\ncredits: 48\r\n");

    EXPECT_EQ(Service()->Get("/plugin/nothing.php")->status, 404);
    EXPECT_EQ(Service()->Get("/etc/passwd")->status, 404);
    EXPECT_EQ(Service()->Post("/plugin/status.php", "x", "text/plain")->status, 405);
    EXPECT_NE(RawHttp(Port(2), "GARBAGE\r\n\r\n").find("400"), std::string::npos);
    EXPECT_NE(RawHttp(Port(2), std::string("GET /") + "\x01\xff" + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n").find("HTTP/1.1"), std::string::npos);
    EXPECT_NE(RawHttp(Port(2), "GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + std::string(100000, 'h') + "\r\n\r\n").find("HTTP/1.1 4"),
              std::string::npos);
    EXPECT_EQ(Get(kStatus), "status: 0\r\ncredits: 48\r\nemail: anna@example.org\r\nmobile: +491701234567\r\nacctyp: 10011\r\n");
}

TEST_F(StandinFaultsTest, AdminRefusesBadInput) {
    AdminPost("/admin/accounts", "not json", 400);
    AdminPost("/admin/accounts", R"({"password":"x"})", 400);
    AdminPost("/admin/accounts", R"({"user":"x","acctyp":"12345"})", 400);
    AdminPost("/admin/accounts", R"({"user":"x","credits":"many"})", 400);
    AdminPost("/admin/accounts", R"({"user":"x","mobile":"0170"})", 400);
    AdminGet("/admin/accounts/nobody", 404);
    AdminPost("/admin/accounts/nobody", R"({"credits":1})", 404);
    Seed("anna", 1);
    const Json changed = AdminPost("/admin/accounts/anna", R"({"credits":7,"acctyp":"00001","email":"a@b.c"})");
    EXPECT_EQ(changed.Find("credits")->AsInteger(), 7);
    EXPECT_EQ(changed.Find("acctyp")->AsString(), "00001");
    EXPECT_EQ(changed.Find("email")->AsString(), "a@b.c");
    auto inbox = Admin().Get("/inbox/%3Cb%3E");
    ASSERT_TRUE(inbox);
    EXPECT_EQ(inbox->body.find("<b>"), std::string::npos);
}

}  // namespace
}  // namespace pagelark::standin::testing

namespace pagelark::standin::testing {
namespace {

TEST(StandinUpdateListenerTest, ServesUpdateFilesOnItsOwnLoopbackAddress) {
    const std::string state = std::string(STANDIN_TEST_DIR) + "/update-" + std::to_string(getpid());
    std::filesystem::create_directories(state + "/updates");
    std::ofstream(state + "/updates/Pagelark.msi", std::ios::binary) << std::string("MSI\0package", 11);
    std::unique_ptr<StandinServer> server;
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 20 && !server; ++attempt) {
        StandinOptions options;
        options.state_dir = state;
        options.certs_dir = TestCerts();
        options.database = ":memory:";
        options.port_base = 30000 + static_cast<int>(random() % 4000) * 5;
        options.update_host = "127.0.0.77";
        options.update_port = options.port_base + 4999;
        auto s = std::make_unique<StandinServer>(options);
        if (s->Start()) server = std::move(s);
    }
    ASSERT_TRUE(server);
    httplib::Client client("127.0.0.77", server->Options().update_port);
    auto res = client.Get("/pagelark/updates/Pagelark.msi");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->body, std::string("MSI\0package", 11));
    EXPECT_EQ(res->get_header_value("Content-Length"), "11");
    server.reset();
    std::filesystem::remove_all(state);
}

}  // namespace
}  // namespace pagelark::standin::testing

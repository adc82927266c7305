#pragma once
// Runs the stand-in in the test process on free ports, with the test certificates, and talks to
// it the way the program does (HTTPS, fixed credentials) and the way tests do (admin JSON).
#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "json.h"
#include "standin_server.h"

namespace pagelark::standin::testing {

inline std::string TestCerts() {
    static const std::string dir = [] {
        const std::string d = std::string(STANDIN_TEST_DIR) + "/certs";
        std::filesystem::create_directories(d);
        const std::string cmd = "flock '" + d + "/.lock' '" STANDIN_MAKE_CERTS "' '" + d + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
        return d;
    }();
    return dir;
}

class StandinTest : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        const std::string state = std::string(STANDIN_TEST_DIR) + "/state-" + std::to_string(getpid());
        std::filesystem::create_directories(state);
        std::mt19937 random{std::random_device{}()};
        for (int attempt = 0; attempt < 20 && !server_; ++attempt) {
            StandinOptions options;
            options.state_dir = state;
            options.certs_dir = TestCerts();
            options.database = ":memory:";
            options.port_base = 30000 + static_cast<int>(random() % 4000) * 5;
            auto server = std::make_unique<StandinServer>(options);
            if (server->Start()) server_ = std::move(server);
        }
        ASSERT_TRUE(server_) << "no free ports for the stand-in";
    }
    static void TearDownTestSuite() {
        if (!server_) return;
        const std::string state = server_->Options().state_dir;
        server_.reset();
        std::filesystem::remove_all(state);
    }
    void SetUp() override {
        ASSERT_TRUE(server_);
        server_->Reset();
    }

    static int Port(int offset = 0) { return server_->Options().port_base + offset; }

    // A client of a message server; offset 0 primary, 1 secondary, 4 self-signed.
    static std::unique_ptr<httplib::SSLClient> Service(int offset = 0, bool credentials = true) {
        auto c = std::make_unique<httplib::SSLClient>("localhost", Port(offset));
        c->set_ca_cert_path((TestCerts() + "/ca.crt").c_str());
        c->enable_server_certificate_verification(true);
        c->set_url_encode(false);
        c->set_connection_timeout(2);
        c->set_read_timeout(5);
        if (credentials) c->set_basic_auth(kServiceUser, kServicePassword);
        return c;
    }

    // The reply body of a GET on the primary; "<error>" when no answer came.
    static std::string Get(const std::string& target, int offset = 0) {
        auto res = Service(offset)->Get(target.c_str());
        if (!res) return "<error>";
        EXPECT_EQ(res->status, 200) << target;
        return res->body;
    }

    static httplib::Client Admin() {
        httplib::Client c("127.0.0.1", Port(3));
        c.set_url_encode(false);
        return c;
    }
    static Json AdminPost(const std::string& path, const std::string& body, int expect = 200) {
        auto res = Admin().Post(path.c_str(), body, "application/json");
        EXPECT_TRUE(res) << path;
        if (!res) return Json();
        EXPECT_EQ(res->status, expect) << path << " " << res->body;
        return Json::Parse(res->body).value_or(Json());
    }
    static Json AdminGet(const std::string& path, int expect = 200) {
        auto res = Admin().Get(path.c_str());
        EXPECT_TRUE(res) << path;
        if (!res) return Json();
        EXPECT_EQ(res->status, expect) << path << " " << res->body;
        return Json::Parse(res->body).value_or(Json());
    }

    // An active account with the given credits.
    static void Seed(const std::string& user, long long credits, const std::string& mobile = "+491701234567") {
        AdminPost("/admin/accounts", R"({"user":")" + user + R"(","password":"secret","mobile":")" + mobile +
                                         R"(","email":")" + user + R"(@example.org","credits":)" + std::to_string(credits) +
                                         R"(,"acctyp":"10011","active":true})");
    }

    static std::string SmsQuery(const std::string& recipients, const std::string& message, const std::string& extra = "") {
        return "/plugin/sms.php?user=anna&password=secret&send_time=&recipients=" + recipients +
               "&cc_to_mail=&perm_mail_copy=0&message=" + message + "&gmt=1&rply=0&senderid=0&flash=0" + extra;
    }

    static inline std::unique_ptr<StandinServer> server_;
};

}  // namespace pagelark::standin::testing

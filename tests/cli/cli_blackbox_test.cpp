// The real pagelark-cli (Linux build) against a stand-in of its own: what a script sees (exit
// code, standard output and error) and what the service received.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "model/password.h"
#include "cli/ini_store.h"
#include "common/text_encoding.h"
#include "numbers/dialling_codes.h"
#include "numbers/number_normalizer.h"
#include "standin_fixture.h"
#include "window/sms_counter.h"

namespace pagelark::standin::testing {
namespace {

struct CliResult {
    int exit = -1;
    std::string out, err;
};

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CliBlackbox : public StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        home_ = std::string(STANDIN_TEST_DIR) + "/home-" + std::to_string(getpid());
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_ + "/pagelark");
        WriteConfig("secret");
        AdminPost("/admin/accounts", R"({"user":"anna","password":"secret","mobile":"+491701234567",)"
                                     R"("email":"anna@example.org","credits":20,"acctyp":"11111","active":true})");
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    std::string ConfigPath() const { return home_ + "/pagelark/pagelark.ini"; }

    // The settings file as a user writes it: the password scrambled, readable by the owner only.
    void WriteConfig(const std::string& password, mode_t mode = 0600) {
        {
            std::ofstream out(ConfigPath(), std::ios::binary | std::ios::trunc);
            out << "[Settings]\nUserName = anna\nUserPassword = "
                << cli::HexOfBytes(ScramblePassword(Utf8ToCp1252(password))) << "\nUserLandCode = +49\n"
                << "[Installation]\nPrimaryServer = localhost:" << Port(0) << "\nSecondaryServer = localhost:"
                << Port(1) << "\nCaFile = " << TestCerts() << "/ca.crt\n";
        }
        chmod(ConfigPath().c_str(), mode);
    }

    CliResult Run(const std::vector<std::string>& args, const std::string& input = "") {
        const std::string in = home_ + "/stdin", out = home_ + "/stdout", err = home_ + "/stderr";
        std::ofstream(in, std::ios::binary) << input;
        const pid_t child = fork();
        if (child == 0) {
            const int fds[3] = {open(in.c_str(), O_RDONLY), open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                                open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
            for (int i = 0; i < 3; ++i) dup2(fds[i], i);
            setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
            setenv("XDG_STATE_HOME", (home_ + "/state").c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(PAGELARK_CLI)};
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(PAGELARK_CLI, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWhole(out), ReadWhole(err)};
    }

    static Json Messages() { return AdminGet("/admin/messages?user=anna"); }
    static size_t MessageCount() {
        const Json* list = Messages().Find("messages");
        return list ? list->AsArray().size() : 0;
    }
    static Json LastMessage() { return Messages().Find("messages")->AsArray().back(); }
    static std::string Field(const Json& object, const char* key) {
        const Json* value = object.Find(key);
        if (!value) return "<none>";
        return value->IsString() ? value->AsString() : value->Dump();
    }
    static long long Credits() { return AdminGet("/admin/accounts/anna").Find("credits")->AsInteger(); }

    std::string home_;
};

TEST_F(CliBlackbox, SendsToTwoNumbersThatReachTheInboxAndAreCharged) {
    const CliResult r = Run({"send", "--to", "0170 1111111; +43 664 1234567", "Hello from a script, Grüße"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("2 recipients × 1 SMS = 2 SMS"), std::string::npos) << r.out;
    ASSERT_EQ(MessageCount(), 1u);
    const Json message = LastMessage();
    EXPECT_EQ(Field(message, "recipients"), "+491701111111,+436641234567");
    EXPECT_EQ(Field(message, "message"), "Hello from a script, Grüße");
    EXPECT_EQ(Credits(), 18);
    auto inbox = Admin().Get("/inbox/%2B436641234567");
    ASSERT_TRUE(inbox);
    EXPECT_NE(inbox->body.find("Hello from a script"), std::string::npos);
}

TEST_F(CliBlackbox, ScheduledAndFlashMessagesCarryTheirOptions) {
    CliResult r = Run({"send", "--to", "+491701111111", "--at", "2030-01-02 03:04", "--", "Later"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Field(LastMessage(), "send_time"), "2030-01-02 03:04");
    EXPECT_EQ(Field(LastMessage(), "state"), "scheduled");

    r = Run({"--json", "send", "--flash", "--reply-inbox", "--to", "+491701111111", "-"}, "Now!\n");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Field(LastMessage(), "flash"), "1");
    EXPECT_EQ(Field(LastMessage(), "rply"), "1");
    EXPECT_EQ(Field(LastMessage(), "message"), "Now!");
    EXPECT_NE(r.out.find("\"sent\":true,\"credits\":18}"), std::string::npos) << r.out;
}

TEST_F(CliBlackbox, AnEmojiIsRefusedWithExitFourAndNothingCharged) {
    const CliResult r = Run({"send", "--to", "+491701111111", "Party \xF0\x9F\x8E\x89 tonight"});
    EXPECT_EQ(r.exit, 4);
    EXPECT_NE(r.err.find("\"\xF0\x9F\x8E\x89\""), std::string::npos) << r.err;
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_EQ(Credits(), 20);
    EXPECT_TRUE(AdminGet("/admin/requests").Find("requests")->AsArray().empty());
}

TEST_F(CliBlackbox, WrongPasswordIsExitTwoWithTheServicesTextAndALogLine) {
    WriteConfig("wrong");
    const CliResult r = Run({"credits"});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("Wrong Login/Password."), std::string::npos) << r.err;
    EXPECT_NE(ReadWhole(home_ + "/state/pagelark/Pagelark.log").find("Wrong Login/Password."), std::string::npos);

    // The right password from a file overrides the stored one.
    const std::string passwordFile = home_ + "/password";
    std::ofstream(passwordFile) << "secret\n";
    chmod(passwordFile.c_str(), 0600);
    const CliResult ok = Run({"credits", "--json", "--password-file", passwordFile});
    EXPECT_EQ(ok.exit, 0) << ok.err;
    EXPECT_EQ(ok.out, "{\"command\":\"credits\",\"exit\":0,\"credits\":20,\"credits_text\":\"20\","
                      "\"account_type\":\"11111\",\"features\":[\"reply_inbox\",\"reply_mobile\",\"flash\","
                      "\"scheduled\",\"cc_email\"]}\n");
}

TEST_F(CliBlackbox, AStoppedServiceIsExitThree) {
    AdminPost("/admin/servers", R"({"primary":false,"secondary":false})");
    const CliResult r = Run({"send", "--to", "+491701111111", "Hello"});
    EXPECT_EQ(r.exit, 3) << r.out << r.err;
    EXPECT_NE(r.err.find("Server does not reply."), std::string::npos) << r.err;
    EXPECT_NE(ReadWhole(home_ + "/state/pagelark/Pagelark.log").find("Server does not reply."), std::string::npos);
}

TEST_F(CliBlackbox, SettingsOthersCanReadAreRefused) {
    WriteConfig("secret", 0644);
    const CliResult r = Run({"credits"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("chmod 600"), std::string::npos) << r.err;

    WriteConfig("wrong");
    const std::string passwordFile = home_ + "/password";
    std::ofstream(passwordFile) << "secret\n";
    chmod(passwordFile.c_str(), 0644);
    const CliResult shared = Run({"credits", "--password-file", passwordFile});
    EXPECT_EQ(shared.exit, 1);
    EXPECT_NE(shared.err.find("can be read by others"), std::string::npos) << shared.err;

    const CliResult missing = Run({"credits", "--config", home_ + "/nowhere.ini"});
    EXPECT_EQ(missing.exit, 1);
    EXPECT_NE(missing.err.find("nowhere.ini: cannot be opened"), std::string::npos) << missing.err;
    EXPECT_TRUE(AdminGet("/admin/requests").Find("requests")->AsArray().empty());
}

// count and normalize give what the message window's counter and To field give, for the edge
// cases of their own tests.
TEST_F(CliBlackbox, CountAndNormalizeFollowTheWindowsRules) {
    const std::string euro = "\xE2\x82\xAC";
    std::string euros80, euros81;
    for (int i = 0; i < 80; ++i) euros80 += euro;
    euros81 = euros80 + euro;
    const std::vector<std::string> texts = {"",
                                            std::string(160, 'a'),
                                            std::string(161, 'a'),
                                            std::string(304, 'a'),
                                            std::string(305, 'a'),
                                            std::string(1520, 'a'),
                                            euros80,
                                            euros81,
                                            "[\\]^{|}~\f",
                                            "Grüße, ¿qué tal? Ça va.",
                                            std::string(1519, 'a') + "{"};
    for (const std::string& text : texts) {
        const CliResult r = Run({"count", "--", text});
        const int counted = CountSmsCharacters(text);
        if (counted > kMaxSmsCharacters) {
            EXPECT_EQ(r.exit, 4) << text;
            continue;
        }
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(r.out, std::to_string(counted) + "/1520 [" + std::to_string(SegmentsForCount(counted)) + "]\n")
            << text.substr(0, 20);
    }
    // Line ends count as the window's editor holds them: CR LF.
    EXPECT_EQ(Run({"count", "-"}, "a\nb\n").out, "4/1520 [1]\n");

    const CountryList checkList = LoadCheckList(std::filesystem::path(PAGELARK_CLI).parent_path().string());
    const std::vector<std::string> numbers = {"0171 1234567", "0049 171 1234567", "+49 (0)171 1234567",
                                              "171-1234567", "0043 664 1234567", "+44 (0)20 7946 0000",
                                              "+1345 0123456", "+1 0345 123", "00 49 0171 1", "+383 44 123456",
                                              "+999 0123"};
    std::vector<std::string> args = {"normalize", "--country-code", "+49", "--"};
    args.insert(args.end(), numbers.begin(), numbers.end());
    const CliResult r = Run(args);
    ASSERT_EQ(r.exit, 0) << r.err;
    std::string expected;
    for (const std::string& number : numbers) expected += NormalizedNumber(number, checkList, "+49") + "\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_NE(r.out.find("+491711234567\n+491711234567\n+491711234567\n+491711234567\n+436641234567\n"
                         "+442079460000\n"),
              std::string::npos);
}

}  // namespace
}  // namespace pagelark::standin::testing

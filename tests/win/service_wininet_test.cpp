// The service client over the real WinInet transport against the local stand-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>

#include "common/wide_string_win.h"
#include "numbers/dialling_codes.h"
#include "service/service_client.h"
#include "service/service_client_factory_win.h"
#include "service/service_ui_win.h"
#include "service/status_worker_win.h"
#include "service/system_clock_win.h"
#include "service/wininet_transport_win.h"
#include "service_standin_admin.h"

namespace pagelark {
namespace {

using testing::AdminCall;
using testing::JsonStringArray;
using testing::JsonStrings;
using testing::StandinAddresses;

// Counts the transport's attempts and their outcomes around the real WinInet transport.
class CountingTransport : public HttpTransport {
public:
    std::unique_ptr<HttpSession> Open(const ProxySetting& proxy) override {
        auto inner = real_.Open(proxy);
        if (!inner) return nullptr;
        return std::make_unique<Session>(*this, std::move(inner));
    }
    std::atomic<int> attempts{0};
    std::atomic<int> failures{0};
    std::atomic<unsigned> lastError{0};

private:
    class Session : public HttpSession {
    public:
        Session(CountingTransport& owner, std::unique_ptr<HttpSession> inner) : owner_(owner), inner_(std::move(inner)) {}
        FetchResult Fetch(const std::string& address) override {
            FetchResult result = inner_->Fetch(address);
            ++owner_.attempts;
            if (!result.ok) {
                ++owner_.failures;
                owner_.lastError = result.errorCode;
            }
            return result;
        }

    private:
        CountingTransport& owner_;
        std::unique_ptr<HttpSession> inner_;
    };
    WinInetTransport real_;
};

// Records boxes instead of showing them.
class RecordingUi : public ServiceUserInterface {
public:
    std::vector<std::string> errors, warnings;
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
    bool StartConnectionWizard() override { return false; }
    void BeginWait() override {}
    void EndWait() override {}
};

std::wstring LoadEnglish(UINT id, LANGID) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

class ServiceWinInetTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!standin.Available()) GTEST_SKIP() << "no stand-in (STANDIN_PRIMARY/STANDIN_ADMIN unset)";
        ASSERT_EQ(AdminCall(standin, "POST", "/admin/reset").rfind("{}", 0), 0u) << "stand-in reset failed";
        installation.primaryServer = standin.primary;
        installation.secondaryServer = standin.secondary;
        installation.scid = "7";
        installation.productLanguage = "1033";
        logDir = std::filesystem::temp_directory_path() / ("pagelark_service_wininet_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(logDir);
        std::filesystem::remove(logDir / "Pagelark.log");
        client = std::make_unique<ServiceClient>(
            ServiceContext{settings, installation, language, version,
                           [this](SettingsGroup group) { saved.push_back(group); },
                           [](std::string_view number, Settings& s) {
                               return SplitAccountNumber(BuiltInCountryList(), number, s);
                           }},
            ServicePlatform{transport, std::make_shared<SystemClock>(), std::make_shared<ResourceTexts>(LoadEnglish), ui});
        ASSERT_TRUE(client->OpenRequestLog(logDir.string()));
    }
    void TearDown() override {
        if (client) client->Log().Close();
        if (standin.Available()) AdminCall(standin, "POST", "/admin/reset");
        std::error_code ignored;
        std::filesystem::remove_all(logDir, ignored);
    }
    void CreateAccount(const std::string& user, const std::string& password, int credits, const char* acctyp) {
        const std::string body = "{\"user\":\"" + user + "\",\"password\":\"" + password +
                                 "\",\"mobile\":\"+491701234567\",\"email\":\"" + user + "@example.org\",\"credits\":" +
                                 std::to_string(credits) + ",\"acctyp\":\"" + acctyp + "\",\"active\":true}";
        ASSERT_NE(AdminCall(standin, "POST", "/admin/accounts", body).find("\"user\""), std::string::npos);
        settings.UserName = user;
        settings.UserPassword = password;
    }
    std::string LogBytes() {
        std::ifstream in(logDir / "Pagelark.log", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    StandinAddresses standin;
    Settings settings;
    InstallationValues installation;
    LanguageInfo language;
    std::string version = "1.0.0.1";
    std::vector<SettingsGroup> saved;
    std::shared_ptr<CountingTransport> transport = std::make_shared<CountingTransport>();
    std::shared_ptr<RecordingUi> ui = std::make_shared<RecordingUi>();
    std::filesystem::path logDir;
    std::unique_ptr<ServiceClient> client;
};

TEST_F(ServiceWinInetTest, StatusRoundTripWithBasicAuthentication) {
    CreateAccount("wininet1", "pw 50%", 12, "10011");
    EXPECT_EQ(client->RequestStatus(), 0) << client->LastError();
    EXPECT_EQ(client->Credits(), 12);
    EXPECT_EQ(client->CreditsText(), "12");
    EXPECT_EQ(client->AccountType(), 19);
    EXPECT_EQ(client->UpdateUrl(), "");
    EXPECT_EQ(settings.UserEMail, "wininet1@example.org");
    EXPECT_EQ(settings.UserLandCode, "+49");
    EXPECT_EQ(settings.UserMobile, "1701234567");
    EXPECT_EQ(transport->attempts, 1);
    // The credentials went only after the challenge: one refused, one authorized request.
    const std::string requests = AdminCall(standin, "GET", "/admin/requests?path=/plugin/status.php");
    EXPECT_NE(requests.find("\"authorized\":true"), std::string::npos) << requests;
    const auto queries = JsonStrings(requests, "raw_query");
    ASSERT_FALSE(queries.empty());
    EXPECT_EQ(queries.back(), "user=wininet1&password=pw%2050%25&version=1.0.0.1&lang=en");
    EXPECT_EQ(LogBytes(), "");
}

TEST_F(ServiceWinInetTest, UpdateOfferAndLongRepliesAreRead) {
    CreateAccount("wininet2", "pw", 3, "11111");
    AdminCall(standin, "POST", "/admin/update", "{\"url\":\"http://localhost/p.msi\",\"filesize\":1234}");
    AdminCall(standin, "POST", "/admin/faults", "{\"target\":\"primary\",\"mode\":\"long\",\"count\":1}");
    EXPECT_EQ(client->RequestStatus(), 0) << client->LastError();
    EXPECT_EQ(client->UpdateUrl(), "http://localhost/p.msi");
    EXPECT_EQ(client->UpdateSize(), 1234);
    EXPECT_EQ(client->Credits(), 3);
}

TEST_F(ServiceWinInetTest, GarbageRepliesNeverCrash) {
    CreateAccount("wininet3", "pw", 3, "11111");
    AdminCall(standin, "POST", "/admin/faults", "{\"target\":\"primary\",\"mode\":\"garbage\",\"count\":3}");
    client->RequestStatus();
    EXPECT_FALSE(client->SendSms("+491701234567", "", "x", "", 0));
    client->RegisterAccount(0, "x", "y", "+49", "1701234567", "a@b.de");
    EXPECT_EQ(transport->failures, 0);
}

TEST_F(ServiceWinInetTest, PrimaryDownCostsOneFailedAttempt) {
    CreateAccount("wininet4", "pw", 5, "11111");
    AdminCall(standin, "POST", "/admin/servers", "{\"primary\":false,\"secondary\":true}");
    EXPECT_EQ(client->RequestStatus(), 0) << client->LastError();
    EXPECT_EQ(client->Credits(), 5);
    EXPECT_EQ(transport->attempts, 2);
    EXPECT_EQ(transport->failures, 1);
    EXPECT_EQ(transport->lastError, 12029u);
    const std::string requests = AdminCall(standin, "GET", "/admin/requests?path=/plugin/status.php");
    const auto servers = JsonStrings(requests, "server");
    ASSERT_FALSE(servers.empty());
    for (const auto& server : servers) EXPECT_EQ(server, "secondary");
    // Nothing is remembered: the next request tries the primary first again.
    client->RequestStatus();
    EXPECT_EQ(transport->attempts, 4);
    EXPECT_EQ(transport->failures, 2);
}

TEST_F(ServiceWinInetTest, LogLinesInTheThreeCasesOnly) {
    CreateAccount("wininet5", "pw", 0, "11111");
    // Success: nothing.
    EXPECT_EQ(client->RequestStatus(), 0);
    // Service error: the full text as it stands.
    settings.UserPassword = "wrong";
    EXPECT_EQ(client->RequestStatus(), -1);
    EXPECT_EQ(client->LastError(), " Wrong Login/Password.\n");
    // Neither server answers.
    AdminCall(standin, "POST", "/admin/servers", "{\"primary\":false,\"secondary\":false}");
    EXPECT_EQ(client->RequestStatus(), 2);
    EXPECT_EQ(client->LastError(), "Server does not reply.");
    EXPECT_FALSE(client->SendSms("+491701234567", "", "x", "", 0));
    // Registration and activation write nothing.
    client->RegisterAccount(0, "x", "y", "+49", "1701234567", "a@b.de");
    client->ActivateAccount("x", "123456");

    const std::string bytes = LogBytes();
    const auto lines = client->Log().ReadLines();
    ASSERT_EQ(lines.size(), 3u) << bytes;
    // "dd.mm.yy hh:mm " and CR LF on disk.
    for (const auto& line : lines) {
        ASSERT_GE(line.size(), 15u);
        EXPECT_TRUE(isdigit(line[0]) && isdigit(line[1]) && line[2] == '.' && line[5] == '.' && line[8] == ' ' &&
                    line[11] == ':' && line[14] == ' ')
            << line;
    }
    EXPECT_EQ(lines[0].substr(15), "Error during status update!: Wrong Login/Password.");
    EXPECT_EQ(lines[1].substr(15), "Server does not reply.");
    EXPECT_EQ(lines[2].substr(15), "Server does not reply.");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3);
    EXPECT_EQ(bytes.find("\r\n", bytes.size() - 2), bytes.size() - 2);
}

TEST_F(ServiceWinInetTest, SelfSignedCertificateIsReportedAsSuch) {
    installation.primaryServer = standin.selfSigned;
    installation.secondaryServer = standin.selfSigned;
    settings.UserName = "x";
    settings.UserPassword = "y";
    EXPECT_EQ(client->RequestStatus(), 2);
    EXPECT_EQ(transport->lastError, 12045u);
    EXPECT_EQ(client->LastError(), "Security certificate not found.");
    EXPECT_EQ(client->RegisterAccount(0, "x", "y", "+49", "1701234567", "a@b.de"), -1);
    EXPECT_EQ(ui->errors, std::vector<std::string>{"Security certificate not found"});
    EXPECT_NE(LogBytes().find(" Security certificate not found.\r\n"), std::string::npos);
}

TEST_F(ServiceWinInetTest, RegisterActivateStatusSendCycle) {
    const std::string user = "cycle" + std::to_string(GetTickCount() % 100000);
    ASSERT_EQ(client->RegisterAccount(0, user, "Grüße&1", "+49", "01701234567", "cycle@example.org"), 0)
        << client->LastError() << (ui->errors.empty() ? "" : ui->errors.back());
    const auto pins = JsonStringArray(AdminCall(standin, "GET", "/admin/pins?mobile=%2B491701234567"), "pins");
    ASSERT_FALSE(pins.empty());
    EXPECT_FALSE(client->ActivateAccount(user, "000000x"));
    EXPECT_EQ(ui->errors.back(), "Wrong PIN.");
    ASSERT_TRUE(client->ActivateAccount(user, pins.back())) << ui->errors.back();

    settings.UserName = user;
    settings.UserPassword = "Grüße&1";
    settings.CopyToEMail = "copy@example.org";
    ASSERT_EQ(client->RequestStatus(), 0) << client->LastError();
    EXPECT_GT(client->Credits(), 0);
    EXPECT_EQ(client->AccountType(), 31);
    EXPECT_EQ(settings.UserEMail, "cycle@example.org");
    const int creditsBefore = client->Credits();

    ASSERT_TRUE(client->SendSms("+491701111111;+491702222222", "a@example.org", "Grüße: 50% off, a&b=c €",
                                "2026-12-31 19:20", send_option::kReplyToInbox | send_option::kFlash))
        << client->LastError();
    EXPECT_EQ(client->Credits(), creditsBefore - 2);

    const std::string messages = AdminCall(standin, "GET", "/admin/messages?user=" + user);
    EXPECT_EQ(JsonStrings(messages, "recipients"), std::vector<std::string>{"+491701111111,+491702222222"}) << messages;
    EXPECT_EQ(JsonStrings(messages, "message"), std::vector<std::string>{"Grüße: 50% off, a&b=c €"});
    EXPECT_EQ(JsonStrings(messages, "message_raw"),
              std::vector<std::string>{"Gr%FC%DFe%3A%2050%25%20off%2C%20a%26b%3Dc%20%80"});
    EXPECT_EQ(JsonStrings(messages, "send_time"), std::vector<std::string>{"2026-12-31 19:20"});
    EXPECT_EQ(JsonStrings(messages, "cc_to_mail"), std::vector<std::string>{"a@example.org"});
    EXPECT_EQ(JsonStrings(messages, "perm_mail_copy"), std::vector<std::string>{"copy@example.org"});
    EXPECT_EQ(JsonStrings(messages, "state"), std::vector<std::string>{"scheduled"});
    EXPECT_EQ(JsonStrings(messages, "rply"), std::vector<std::string>{"1"});
    EXPECT_EQ(JsonStrings(messages, "senderid"), std::vector<std::string>{"0"});
    EXPECT_EQ(JsonStrings(messages, "flash"), std::vector<std::string>{"1"});
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    const int gmt = -static_cast<int>(zone.Bias + zone.StandardBias) / 60;
    EXPECT_EQ(JsonStrings(messages, "gmt"), std::vector<std::string>{std::to_string(gmt)});
    EXPECT_EQ(JsonStrings(messages, "raw_query"),
              std::vector<std::string>{"user=" + user + "&password=Gr%FC%DFe%261&send_time=2026-12-31%2019:20"
                                       "&recipients=+491701111111,+491702222222&cc_to_mail=a@example.org"
                                       "&perm_mail_copy=copy@example.org"
                                       "&message=Gr%FC%DFe%3A%2050%25%20off%2C%20a%26b%3Dc%20%80&gmt=" +
                                       std::to_string(gmt) + "&rply=1&senderid=0&flash=1"});
    EXPECT_EQ(LogBytes(), "");
}

TEST_F(ServiceWinInetTest, LettersOutsideTheEscapeTableArriveIntact) {
    // ê and È are not in the service's table; sent raw, WinInet would hand the service "?".
    CreateAccount("wininet9", "pw", 5, "11111");
    ASSERT_TRUE(client->SendSms("+491701111111", "", "Crêpe À", "", 0)) << client->LastError();
    const std::string messages = AdminCall(standin, "GET", "/admin/messages?user=wininet9");
    EXPECT_EQ(JsonStrings(messages, "message"), std::vector<std::string>{"Crêpe À"}) << messages;
    EXPECT_EQ(JsonStrings(messages, "message_raw"), std::vector<std::string>{"Cr%EApe%20%C0"});
}

TEST_F(ServiceWinInetTest, InsufficientCreditsWarnAndLog) {
    CreateAccount("wininet6", "pw", 0, "11111");
    EXPECT_FALSE(client->SendSms("+491701111111", "", "hello", "", 0));
    EXPECT_EQ(ui->warnings, std::vector<std::string>{"You dont have sufficient SMS credits."});
    EXPECT_NE(client->LastError().find("Error during SMS transmission!: You dont have sufficient SMS credits."),
              std::string::npos);
    EXPECT_EQ(client->Log().ReadLines().size(), 1u);
}

TEST_F(ServiceWinInetTest, StatusWorkerHandsItsResultToTheWindow) {
    CreateAccount("wininet7", "pw", 21, "00101");
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    constexpr UINT kStatusDone = WM_USER + 3;
    const auto slot = StartStatusWorker(client->PrepareStatus(), window, kStatusDone, MAKELCID(1031, SORT_DEFAULT));
    ASSERT_TRUE(slot);
    MSG message{};
    const DWORD deadline = GetTickCount() + 20000;
    bool received = false;
    while (!received && GetTickCount() < deadline) {
        if (PeekMessageW(&message, window, kStatusDone, kStatusDone, PM_REMOVE)) received = true;
        else Sleep(5);
    }
    ASSERT_TRUE(received);
    auto result = TakeStatusResult(slot.get());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->code, 0);
    EXPECT_FALSE(TakeStatusResult(slot.get())) << "a result is handed over once";
    // Nothing changed before the UI thread applies the result.
    EXPECT_EQ(client->Credits(), 0);
    EXPECT_EQ(settings.UserEMail, "");
    EXPECT_EQ(client->ApplyStatus(*result), 0);
    EXPECT_EQ(client->Credits(), 21);
    EXPECT_EQ(client->AccountType(), 5);
    EXPECT_EQ(settings.UserEMail, "wininet7@example.org");
    DestroyWindow(window);
}

// Any program can post the "status done" message; what it carries is never taken for a result.
TEST_F(ServiceWinInetTest, PostedStatusMessageCannotForgeAResult) {
    CreateAccount("wininet10", "pw", 7, "00101");
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    constexpr UINT kStatusDone = WM_USER + 3;
    StatusResultSlot neverStarted;
    PostMessageW(window, kStatusDone, 0xDEAD, static_cast<LPARAM>(0x12345678));
    EXPECT_FALSE(TakeStatusResult(&neverStarted));
    EXPECT_FALSE(TakeStatusResult(nullptr));

    const auto slot = StartStatusWorker(client->PrepareStatus(), window, kStatusDone, MAKELCID(1033, SORT_DEFAULT));
    ASSERT_TRUE(slot);
    int messages = 0;
    std::optional<StatusResult> result;
    const DWORD deadline = GetTickCount() + 20000;
    MSG message{};
    while (!result && GetTickCount() < deadline) {
        if (!PeekMessageW(&message, window, kStatusDone, kStatusDone, PM_REMOVE)) {
            Sleep(5);
            continue;
        }
        ++messages;
        result = TakeStatusResult(slot.get());
    }
    ASSERT_TRUE(result);
    EXPECT_EQ(result->code, 0);
    EXPECT_LE(messages, 2);   // the forged one found the slot empty or came after the result
    EXPECT_EQ(client->ApplyStatus(*result), 0);
    EXPECT_EQ(client->Credits(), 7);
    DestroyWindow(window);
}

// The system's proxy setting is never used; the named proxy is used only when switched on.
TEST_F(ServiceWinInetTest, ProxyOnlyWhenSwitchedOn) {
    CreateAccount("wininet8", "pw", 4, "11111");
    // A host name no earlier request used: Wine pools connections per host across handles.
    const std::string port = standin.primary.substr(standin.primary.rfind(':'));
    installation.primaryServer = "127.0.0.1" + port;
    installation.secondaryServer = "127.0.0.1" + port;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                              nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD enable = 1;
    const wchar_t server[] = L"127.0.0.1:9";
    RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof enable);
    RegSetValueExW(key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server), sizeof server);

    settings.UseProxy = 1;
    settings.ProxyAddress = "127.0.0.1";
    settings.ProxyPort = 9;   // nothing listens there: through the proxy the request must fail
    EXPECT_EQ(client->RequestStatus(), 2);
    EXPECT_EQ(transport->failures, 2);

    // Switched off, the request goes direct although the system names a proxy.
    settings.UseProxy = 0;
    EXPECT_EQ(client->RequestStatus(), 0) << client->LastError();
    EXPECT_EQ(client->Credits(), 4);

    const DWORD disable = 0;
    RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&disable), sizeof disable);
    RegDeleteValueW(key, L"ProxyServer");
    RegCloseKey(key);
}

// The application's client takes its texts from the resources in the active language.
TEST(ServiceWindowsClient, TextsComeInTheActiveLanguage) {
    Settings settings;
    settings.UserName = "x";
    settings.UserPassword = "y";
    InstallationValues installation;
    installation.primaryServer = "localhost:1";   // nothing listens on either
    installation.secondaryServer = "localhost:2";
    LanguageInfo language = LanguageForKey(7);
    const std::string version = "1.0.0.1";
    auto client = CreateWindowsServiceClient(ServiceContext{settings, installation, language, version, {}, {}});
    EXPECT_EQ(client->RequestStatus(), 2);
    EXPECT_EQ(client->LastError(), "Der Server antwortet nicht.");
    language = LanguageForKey(12);
    EXPECT_EQ(client->RequestStatus(), 2);
    EXPECT_EQ(client->LastError(), "Le serveur ne répond pas.");
}

}  // namespace
}  // namespace pagelark

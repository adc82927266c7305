// pagelark-cli.exe under Wine against the stand-in, on the settings the setup wizard writes
// (the user data group of the registry) and the installation values of the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/registry_store_win.h"
#include "app/settings_store.h"
#include "common/wide_string_win.h"
#include "service_standin_admin.h"

namespace pagelark::testing {
namespace {

struct CliResult {
    DWORD exit = 99;
    std::string out, err;
};

// Drains a pipe on its own thread, so a full pipe never blocks the program under test.
DWORD WINAPI Drain(void* param) {
    auto* pipe = static_cast<std::pair<HANDLE, std::string>*>(param);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe->first, buffer, sizeof buffer, &read, nullptr) && read > 0) pipe->second.append(buffer, read);
    return 0;
}

CliResult RunCli(const std::wstring& arguments) {
    CliResult result;
    const std::wstring exe = Widen(EnvOr("PAGELARK_DIR")) + L"\\pagelark-cli.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    std::pair<HANDLE, std::string> out{outRead, {}}, err{errRead, {}};
    if (started) {
        HANDLE readers[2] = {CreateThread(nullptr, 0, Drain, &out, 0, nullptr),
                             CreateThread(nullptr, 0, Drain, &err, 0, nullptr)};
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &result.exit);
        WaitForMultipleObjects(2, readers, TRUE, 10000);
        CloseHandle(readers[0]);
        CloseHandle(readers[1]);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    result.out = out.second;
    result.err = err.second;
    return result;
}

class CliUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        if (!standin_.Available() || EnvOr("PAGELARK_DIR").empty()) GTEST_SKIP() << "no stand-in or program folder";
        LoadSettings(store_, saved_, GetUserDefaultLangID());
        ASSERT_EQ(AdminCall(standin_, "POST", "/admin/reset", "{}").rfind("{}", 0), 0u) << "stand-in reset failed";
        AdminCall(standin_, "POST", "/admin/accounts",
                  R"({"user":"cli.wine","password":"pässword","mobile":"+491701234567","email":"cli@example.org",)"
                  R"("credits":5,"acctyp":"11111","active":true})");
        // What the wizard saves on its last page: the user data group.
        Settings settings = saved_;
        settings.UserName = "cli.wine";
        settings.UserPassword = "pässword";
        settings.UserLandCode = "+49";
        settings.UserMobile = "1701234567";
        settings.UserEMail = "cli@example.org";
        SaveSettings(store_, settings, SettingsGroup::UserData);
    }
    void TearDown() override {
        if (!IsSkipped()) SaveSettings(store_, saved_, SettingsGroup::UserData);
    }

    StandinAddresses standin_;
    WindowsRegistryStore store_;
    Settings saved_;
};

TEST_F(CliUnderWine, CreditsAndSendOnTheWizardsSettings) {
    CliResult r = RunCli(L"credits --json");
    ASSERT_EQ(r.exit, 0u) << r.out << r.err;
    EXPECT_NE(r.out.find("\"credits\":5,"), std::string::npos) << r.out;

    r = RunCli(L"send --to \"0170 2222222\" \"Grüße aus Wine\"");
    ASSERT_EQ(r.exit, 0u) << r.out << r.err;
    EXPECT_NE(r.out.find("1 recipient × 1 SMS = 1 SMS"), std::string::npos) << r.out;
    const std::string messages = AdminCall(standin_, "GET", "/admin/messages?user=cli.wine");
    EXPECT_EQ(JsonStrings(messages, "recipients"), std::vector<std::string>{"+491702222222"}) << messages;
    EXPECT_EQ(JsonStrings(messages, "message"), std::vector<std::string>{"Grüße aus Wine"}) << messages;

    // Characters outside the service's code page: exit 4, nothing sent.
    r = RunCli(L"send --to +491702222222 \"Snow \u2603 and \U0001F600\"");
    EXPECT_EQ(r.exit, 4u) << r.out << r.err;
    EXPECT_NE(r.err.find("\"\u2603\" \"\U0001F600\""), std::string::npos) << r.err;
    EXPECT_EQ(JsonStrings(AdminCall(standin_, "GET", "/admin/messages?user=cli.wine"), "message").size(), 1u);
}

}  // namespace
}  // namespace pagelark::testing

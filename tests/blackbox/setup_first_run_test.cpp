// The setup wizard and the options sheet, driven from outside through the real Pagelark.exe under
// Wine against the local stand-in: the first run from "New" to a stored account, the wizard's
// other paths, and the options sheet's effects on the registry, the log and the language.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "resource_ids.h"
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kProductKey[] = L"Software\\Orvane\\Pagelark";
constexpr wchar_t kSettingsKey[] = L"Software\\Orvane\\Pagelark\\Settings";
constexpr wchar_t kMainWindowTitle[] = L"Orvane.Pagelark";
constexpr WORD kNewCommand = ID_NEW, kSetupCommand = ID_SETUP, kOptionsCommand = ID_OPTIONS;
// Wizard pages (sheet order) and their controls.
enum WizardPageIndex { kTerms = 0, kAccount = 1, kVerification = 2, kPin = 3, kFinish = 4, kProxyPage = 5 };
enum OptionsPageIndex { kMyTelvoro = 0, kGlobal = 1, kUpdates = 2, kEMail = 3, kStatus = 4, kProxy = 5 };
constexpr int kTermsText = IDC_TERMS_TEXT, kTermsYes = IDC_TERMS_YES, kExisting = IDC_ACCOUNT_EXISTING,
              kUser = IDC_ACCOUNT_USER, kCountry = IDC_ACCOUNT_COUNTRY, kMobile = IDC_ACCOUNT_MOBILE,
              kEMailEdit = IDC_ACCOUNT_EMAIL, kPassword = IDC_ACCOUNT_PASSWORD, kConfirm = IDC_ACCOUNT_CONFIRM,
              kVerifyNumber = IDC_VERIFY_NUMBER, kVerifyCountry = IDC_VERIFY_COUNTRY, kPinEdit = IDC_PIN_EDIT,
              kProxyUse = IDC_PROXY_USE, kProxyPort = IDC_PROXY_PORT, kLanguage = IDC_GLOBAL_LANGUAGE,
              kLogList = IDC_LOG_LIST, kLogClear = IDC_LOG_CLEAR;
constexpr int kWizardNext = 0x3024;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
std::string Ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}
std::wstring TextOf(HWND window) {
    wchar_t buffer[4096] = {};
    Send(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}
void SetText(HWND window, const std::wstring& text) { Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }

// ---- the stand-in's admin interface (plain HTTP on 127.0.0.1)

std::string Admin(const char* verb, const std::string& path, const std::string& body = "") {
    const std::string base = Env("STANDIN_ADMIN");  // http://127.0.0.1:port
    const size_t hostStart = base.find("//") + 2;
    const size_t colon = base.find(':', hostStart);
    const std::string host = base.substr(hostStart, colon - hostStart);
    const INTERNET_PORT port = static_cast<INTERNET_PORT>(std::atoi(base.c_str() + colon + 1));
    std::string answer;
    HINTERNET root = InternetOpenA("setup-tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(root, host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, verb, path.c_str(), nullptr, nullptr, nullptr,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    const char* headers = "Content-Type: application/json\r\n";
    if (request && HttpSendRequestA(request, headers, static_cast<DWORD>(strlen(headers)),
                                    const_cast<char*>(body.data()), static_cast<DWORD>(body.size()))) {
        char block[4096];
        DWORD read = 0;
        while (InternetReadFile(request, block, sizeof block, &read) && read) answer.append(block, read);
    }
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (root) InternetCloseHandle(root);
    return answer;
}

// The newest PIN the stand-in sent to the number (its inbox, oldest first).
std::string LatestPin(const std::string& escapedNumber) {
    const std::string json = Admin("GET", "/admin/pins?mobile=" + escapedNumber);
    std::string pin;
    for (size_t at = json.find('"', json.find('[')); at != std::string::npos && at < json.find(']');
         at = json.find('"', at + 1)) {
        const size_t end = json.find('"', at + 1);
        if (end == std::string::npos) break;
        pin = json.substr(at + 1, end - at - 1);
        at = end;
    }
    return pin;
}

// Requests the stand-in answered with the program's credentials (WinInet first tries without).
int RequestCount(const std::string& path) {
    const std::string json = Admin("GET", "/admin/requests?path=" + path);
    const std::string answered = "\"authorized\":true";
    int count = 0;
    for (size_t at = json.find(answered); at != std::string::npos; at = json.find(answered, at + 1)) ++count;
    return count;
}

// ---- registry

std::wstring RegText(const wchar_t* name) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}
std::string RegAnsi(const char* name) {
    char buffer[512] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Orvane\\Pagelark\\Settings", name, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS)
        return "<missing>";
    return buffer;
}
DWORD RegDword(const wchar_t* name, DWORD fallback = 0xFFFFFFFF) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return fallback;
    return value;
}
void SetRegText(const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
// The password as the program stores it: byte i is p[i+1] + p[0], the last byte p[0] + 2.
std::string Scrambled(const std::string& clear) {
    const auto first = static_cast<unsigned char>(clear[0]);
    std::string stored(clear.size(), '\0');
    for (size_t i = 0; i + 1 < clear.size(); ++i)
        stored[i] = static_cast<char>(static_cast<unsigned char>(clear[i + 1]) + first);
    stored.back() = static_cast<char>(first + 2);
    return stored;
}
void StoreAccount(const std::string& user, const std::string& password) {
    SetRegText(L"UserName", Wide(user));
    const std::string stored = Scrambled(password);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0) {
        RegSetValueExA(key, "UserPassword", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                       static_cast<DWORD>(stored.size() + 1));
        RegCloseKey(key);
    }
}

// ---- the program's windows

struct Search {
    DWORD process;
    std::function<bool(HWND)> match;
    std::vector<HWND> found;
};
BOOL CALLBACK Collect(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && search->match(window)) search->found.push_back(window);
    return TRUE;
}
bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return wcscmp(name, L"#32770") == 0 && IsWindowVisible(window);
}

class SetupBlackBox : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = Env("PAGELARK_EXE");
        if (exe_.empty() || Env("STANDIN_ADMIN").empty()) GTEST_SKIP() << "PAGELARK_EXE or STANDIN_ADMIN not set";
        KillRunning();
        Admin("POST", "/admin/reset", "{}");
        RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
        DWORD english = 9;
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"Language", REG_DWORD, &english, sizeof english);
    }
    // Leaves no account, language or proxy behind for the tests that follow.
    void TearDown() override {
        KillRunning();
        RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
    }

    void Start() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string command = "\"" + exe_ + "\"";
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        pid_ = info.dwProcessId;
        ASSERT_TRUE(WaitFor([&] { return (main_ = FindWindowW(nullptr, kMainWindowTitle)) != nullptr; }));
    }
    void KillRunning() {
        for (int i = 0; i < 20; ++i) {
            HWND main = FindWindowW(nullptr, kMainWindowTitle);
            if (!main) break;
            DWORD pid = 0;
            GetWindowThreadProcessId(main, &pid);
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
        if (process_) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
            CloseHandle(process_);
            process_ = nullptr;
        }
    }

    void Command(WORD id) { PostMessageW(main_, WM_COMMAND, id, 0); }

    std::vector<HWND> Windows(const std::function<bool(HWND)>& match) {
        Search search{pid_, match, {}};
        EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    static bool IsSheet(HWND window) { return IsDialog(window) && Send(window, PSM_GETCURRENTPAGEHWND) != 0; }
    static bool IsMessageBox(HWND window) { return IsDialog(window) && GetDlgItem(window, 0xFFFF) != nullptr; }
    std::vector<HWND> Sheets() { return Windows(IsSheet); }
    HWND Sheet() {
        const auto sheets = Sheets();
        return sheets.empty() ? nullptr : sheets.front();
    }
    HWND Page() { return reinterpret_cast<HWND>(Send(Sheet(), PSM_GETCURRENTPAGEHWND)); }
    int PageIndex() {
        HWND sheet = Sheet();
        if (!sheet) return -1;
        HWND page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND));
        return page ? static_cast<int>(Send(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page))) : -1;
    }
    bool WaitForPage(int index) { return WaitFor([&] { return PageIndex() == index && !MessageBoxUp(); }); }
    HWND Item(int id) { return GetDlgItem(Page(), id); }
    bool MessageBoxUp() { return !Windows(IsMessageBox).empty(); }
    // Waits for a message box of the program, answers it and returns its text.
    std::string AnswerBox(int button = IDOK) {
        HWND box = nullptr;
        if (!WaitFor([&] {
                const auto boxes = Windows(IsMessageBox);
                box = boxes.empty() ? nullptr : boxes.front();
                return box != nullptr;
            }))
            return "<no message box>";
        const std::string text = Ascii(TextOf(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }
    void Press(int button) { PostMessageW(Sheet(), PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }
    void Click(int id) { PostMessageW(Item(id), BM_CLICK, 0, 0); }
    bool NextEnabled() { return IsWindowEnabled(GetDlgItem(Sheet(), kWizardNext)) != FALSE; }
    bool SelectCountry(const std::wstring& prefix) {
        HWND combo = Item(kCountry);
        const LRESULT index = Send(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix.c_str()));
        if (index == CB_ERR) return false;
        Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
        PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(kCountry, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        return true;
    }
    std::vector<HWND> MessageWindows() {
        return Windows([&](HWND w) { return !IsDialog(w) && IsWindowVisible(w) && w != main_ && TextOf(w) == L"Pagelark"; });
    }

    // Opens the wizard through "New" and moves to the account page.
    void WizardToAccountPage() {
        Command(kNewCommand);
        ASSERT_TRUE(WaitForPage(kTerms));
        Click(kTermsYes);
        ASSERT_TRUE(WaitFor([&] { return NextEnabled(); }));
        Press(PSBTN_NEXT);
        ASSERT_TRUE(WaitForPage(kAccount));
    }
    void FillAccount(const std::wstring& user, const std::wstring& password, const std::wstring& mobile) {
        SetText(Item(kUser), user);
        SetText(Item(kPassword), password);
        SetText(Item(kConfirm), password);
        SetText(Item(kEMailEdit), user + L"@example.org");
        SetText(Item(kMobile), mobile);
        ASSERT_TRUE(SelectCountry(L"Germany"));
        ASSERT_TRUE(WaitFor([&] { return NextEnabled(); }));
    }

    std::string exe_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

TEST_F(SetupBlackBox, FirstRunFromNewToAStoredAccount) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // "New" twice in quick succession: one wizard.
    Command(kNewCommand);
    Command(kNewCommand);
    ASSERT_TRUE(WaitForPage(kTerms));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Sheets().size(), 1u);
    EXPECT_NE(Ascii(TextOf(Item(kTermsText))).find("TERMS OF USE"), std::string::npos);
    EXPECT_FALSE(NextEnabled());
    Click(kTermsYes);
    ASSERT_TRUE(WaitFor([&] { return NextEnabled(); }));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kAccount));
    FillAccount(L"anna", L"secret", L"0170/1234567");
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kVerification));
    EXPECT_NE(TextOf(Item(kVerifyCountry)).find(L"Germany (+49)"), std::wstring::npos);
    EXPECT_EQ(TextOf(Item(kVerifyNumber)), L"Your mobile phone number (international format) is: +491701234567.");
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kPin));
    const std::string pin = LatestPin("%2B491701234567");
    ASSERT_EQ(pin.size(), 6u);
    SetText(Item(kPinEdit), Wide(pin));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kFinish));
    Press(PSBTN_FINISH);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));

    EXPECT_EQ(RegText(L"UserName"), L"anna");
    EXPECT_EQ(RegText(L"UserLandCode"), L"+49");
    EXPECT_EQ(RegText(L"UserMobile"), L"1701234567");
    EXPECT_EQ(RegText(L"UserEMail"), L"anna@example.org");
    EXPECT_EQ(RegAnsi("UserPassword"), Scrambled("secret"));
    EXPECT_NE(RegAnsi("UserPassword"), "secret");
    EXPECT_NE(Admin("GET", "/admin/accounts/anna").find("\"active\":true"), std::string::npos);

    // With an account, "New" opens a message window.
    Command(kNewCommand);
    EXPECT_TRUE(WaitFor([&] { return !MessageWindows().empty(); }));
    EXPECT_TRUE(Sheets().empty());
}

TEST_F(SetupBlackBox, AlreadyRegisteredSkipsThePinPage) {
    Admin("POST", "/admin/accounts",
          R"({"user":"bert","password":"pw1234","mobile":"+491701234567","email":"bert@example.org","credits":5,"acctyp":"11111","active":true})");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(WizardToAccountPage());
    Click(kExisting);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(Item(kConfirm)); }));
    FillAccount(L"bert", L"pw1234", L"+49 170 1234567");
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kVerification));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kFinish));
    Press(PSBTN_FINISH);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    EXPECT_EQ(RegText(L"UserName"), L"bert");
}

TEST_F(SetupBlackBox, WrongPinStaysOnThePinPage) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(WizardToAccountPage());
    FillAccount(L"carl", L"secret", L"01701234567");
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kVerification));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kPin));
    const std::string pin = LatestPin("%2B491701234567");
    SetText(Item(kPinEdit), pin == "000000" ? L"111111" : L"000000");
    Press(PSBTN_NEXT);
    EXPECT_EQ(AnswerBox(), "Wrong PIN.");
    EXPECT_TRUE(WaitForPage(kPin));
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    EXPECT_EQ(RegText(L"UserName"), L"<missing>");
}

TEST_F(SetupBlackBox, TakenUserNameReturnsToTheAccountPage) {
    Admin("POST", "/admin/accounts",
          R"({"user":"dora","password":"other","mobile":"+491709999999","email":"dora@example.org","credits":5,"acctyp":"11111","active":true})");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(WizardToAccountPage());
    FillAccount(L"dora", L"secret", L"0170 1234567");
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kVerification));
    Press(PSBTN_NEXT);
    EXPECT_EQ(AnswerBox(), "User name already taken. Please select another user name.");
    EXPECT_TRUE(WaitForPage(kAccount));
    EXPECT_EQ(TextOf(Item(kUser)), L"dora");
}

TEST_F(SetupBlackBox, CancelStoresNothing) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(WizardToAccountPage());
    FillAccount(L"emil", L"secret", L"0170 1234567");
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    EXPECT_EQ(RegText(L"UserName"), L"<missing>");
    EXPECT_EQ(RegText(L"UserMobile"), L"<missing>");
    // Still no account: the next "New" runs the wizard again.
    Command(kNewCommand);
    EXPECT_TRUE(WaitForPage(kTerms));
}

class OptionsBlackBox : public SetupBlackBox {
protected:
    void SetUp() override {
        SetupBlackBox::SetUp();
        if (IsSkipped()) return;
        Admin("POST", "/admin/accounts",
              R"({"user":"fred","password":"secret","mobile":"+491701234567","email":"fred@example.org","credits":7,"acctyp":"11111","active":true})");
        StoreAccount("fred", "secret");
        SetRegText(L"UserLandCode", L"+49");
        SetRegText(L"UserMobile", L"1701234567");
    }
    void OpenOptions() {
        Command(kOptionsCommand);
        ASSERT_TRUE(WaitForPage(kMyTelvoro));
    }
    void ShowPage(int index) {
        PostMessageW(Sheet(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        ASSERT_TRUE(WaitForPage(index));
    }
};

TEST_F(OptionsBlackBox, OkAfterOnlyLookingAtTheEMailPage) {
    DWORD outlookExpress = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"IntegrateOE", REG_DWORD, &outlookExpress, sizeof outlookExpress);
    ASSERT_NO_FATAL_FAILURE(Start());
    const int statusBefore = RequestCount("/plugin/status.php");
    ASSERT_NO_FATAL_FAILURE(OpenOptions());
    EXPECT_EQ(TextOf(Sheet()), L"Options");
    ASSERT_NO_FATAL_FAILURE(ShowPage(kEMail));
    Press(PSBTN_OK);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    EXPECT_EQ(RegDword(L"IntegrateOE"), 0u);
    EXPECT_EQ(RegDword(L"SaveSentMessages"), 1u);
    EXPECT_EQ(RegDword(L"UseProxy"), 0xFFFFFFFFu);  // the proxy page was never shown: nothing written
    // A stored user name: OK always updates the credits.
    EXPECT_TRUE(WaitFor([&] { return RequestCount("/plugin/status.php") == statusBefore + 1; }));
    EXPECT_FALSE(MessageBoxUp());
}

TEST_F(OptionsBlackBox, OkFromAMessageWindowRefreshesItsCredits) {
    ASSERT_NO_FATAL_FAILURE(Start());
    Command(kNewCommand);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const auto frames = MessageWindows();
        frame = frames.empty() ? nullptr : frames.front();
        return frame != nullptr;
    }));
    HWND creditsPane = GetDlgItem(GetDlgItem(frame, ID_STATUS_BAR), ID_PANE_CREDITS);
    ASSERT_TRUE(WaitFor([&] { return TextOf(creditsPane).find(L"7") != std::wstring::npos; }));
    Admin("POST", "/admin/accounts/fred", R"({"credits":42})");
    PostMessageW(frame, WM_COMMAND, kOptionsCommand, 0);
    ASSERT_TRUE(WaitForPage(kMyTelvoro));
    Press(PSBTN_OK);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    EXPECT_TRUE(WaitFor([&] { return TextOf(creditsPane).find(L"42") != std::wstring::npos; }))
        << Ascii(TextOf(creditsPane));
}

TEST_F(OptionsBlackBox, LanguageChangeToItalian) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenOptions());
    ASSERT_NO_FATAL_FAILURE(ShowPage(kGlobal));
    HWND combo = Item(kLanguage);
    EXPECT_EQ(Send(combo, CB_GETCOUNT), 6);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 0);
    Send(combo, CB_SETCURSEL, 4);
    PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(kLanguage, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    Press(PSBTN_OK);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    EXPECT_EQ(RegDword(L"Language"), 16u);
    // Texts and the country list now come in Italian: the wizard's account page lists Germany as
    // land_codes_it.txt names it.
    Command(kSetupCommand);
    ASSERT_TRUE(WaitForPage(kTerms));
    EXPECT_EQ(TextOf(Sheet()), L"Benvenuti nella configurazione di Pagelark");
    Click(kTermsYes);
    ASSERT_TRUE(WaitFor([&] { return NextEnabled(); }));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kAccount));
    HWND countries = Item(kCountry);
    EXPECT_NE(Send(countries, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Germania")), CB_ERR);
    EXPECT_EQ(Send(countries, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Germany")), CB_ERR);
}

TEST_F(OptionsBlackBox, StatusPageShowsTheLogNewestFirstAndClearEmptiesIt) {
    // Two failed status requests leave two lines in the request log.
    Admin("POST", "/admin/accounts/fred", R"({"password":"changed"})");
    ASSERT_NO_FATAL_FAILURE(Start());
    for (int i = 0; i < 2; ++i) {
        ASSERT_NO_FATAL_FAILURE(OpenOptions());
        Press(PSBTN_OK);
        EXPECT_NE(AnswerBox().find("Wrong Login/Password."), std::string::npos);
        ASSERT_TRUE(WaitFor([&] { return Sheets().empty() && !MessageBoxUp(); }));
    }
    ASSERT_NO_FATAL_FAILURE(OpenOptions());
    ASSERT_NO_FATAL_FAILURE(ShowPage(kStatus));
    HWND list = Item(kLogList);
    EXPECT_GE(Send(list, LB_GETCOUNT), 2);
    EXPECT_EQ(Send(list, LB_GETHORIZONTALEXTENT), 500);
    Click(kLogClear);
    EXPECT_EQ(AnswerBox(IDOK), "All status information will be deleted.");
    EXPECT_TRUE(WaitFor([&] { return Send(list, LB_GETCOUNT) == 0; }));
    Press(PSBTN_CANCEL);  // clearing is not undone by Cancel
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::string logPath = Env("PAGELARK_DIR") + "\\Pagelark.log";
    ASSERT_TRUE(GetFileAttributesExA(logPath.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 0u);
    // Reopened: still empty.
    ASSERT_NO_FATAL_FAILURE(OpenOptions());
    ASSERT_NO_FATAL_FAILURE(ShowPage(kStatus));
    EXPECT_EQ(Send(Item(kLogList), LB_GETCOUNT), 0);
}

TEST_F(OptionsBlackBox, CheckNowWithoutAnOfferSaysSoAndKeepsTheSheet) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const int statusBefore = RequestCount("/plugin/status.php");
    ASSERT_NO_FATAL_FAILURE(OpenOptions());
    ASSERT_NO_FATAL_FAILURE(ShowPage(kUpdates));
    Click(IDC_UPDATE_CHECK_NOW);
    EXPECT_EQ(AnswerBox(), "No update available.");
    EXPECT_TRUE(WaitForPage(kUpdates));
    EXPECT_EQ(RequestCount("/plugin/status.php"), statusBefore + 1);
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
}

TEST_F(OptionsBlackBox, NonIntegerPortIsRefused) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenOptions());
    ASSERT_NO_FATAL_FAILURE(ShowPage(kProxy));
    Click(kProxyUse);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Item(kProxyPort)) != FALSE; }));
    SetText(Item(kProxyPort), L"12ab");
    Press(PSBTN_OK);
    EXPECT_EQ(AnswerBox(), "Please enter an integer.");
    EXPECT_TRUE(WaitForPage(kProxy));
    EXPECT_EQ(RegDword(L"UseProxy"), 0xFFFFFFFFu);
    SetText(Item(kProxyPort), L"3128");
    Press(PSBTN_OK);
    ASSERT_TRUE(WaitFor([&] { return Sheets().empty(); }));
    EXPECT_EQ(RegDword(L"UseProxy"), 1u);
    EXPECT_EQ(RegDword(L"ProxyPort"), 3128u);
}

}  // namespace

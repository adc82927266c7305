// The settings store against the real registry, the language resources of every language, the
// version text, the about box and the close rule of the program's end.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/about_dialog_win.h"
#include "app/application_win.h"
#include "app/registry_store_win.h"
#include "app/settings_store.h"
#include "app/version_resource_win.h"
#include "app/version_text.h"
#include "common/ansi_code_page_win.h"
#include "common/wide_string_win.h"
#include "model/password.h"
#include "resource_ids.h"
#include "ui/resources_win.h"
#include "version.h"

namespace pagelark {
namespace {

const wchar_t kSettingsPath[] = L"Software\\Orvane\\Pagelark\\Settings";
const wchar_t kAddinPath[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";

// Every test starts and ends without our settings and add-in keys.
class AppRegistry : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsPath);
        RegDeleteTreeW(HKEY_CURRENT_USER, kAddinPath);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAddinPath);
    }
    static void CreateKey(HKEY root, const wchar_t* path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void SetRaw(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data,
                       DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static DWORD TypeOf(const wchar_t* name) {
        DWORD type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, kSettingsPath, name, RRF_RT_ANY, &type, nullptr, nullptr) != ERROR_SUCCESS)
            return REG_NONE;
        return type;
    }
    static Settings Load(std::uint16_t langId = 0x0409) {
        Settings s;
        LoadSettings(store, s, langId);
        return s;
    }
    static inline WindowsRegistryStore store;
};

Settings Changed() {
    Settings s;
    s.Language = 12;
    s.ShowTaskbarIcon = 0;
    s.AutoRun = 0;
    s.SendConfirmation = 0;
    s.MinSMSCredits = 3;
    s.CheckNumbers = 0;
    s.SaveChangedNumbers = 1;
    s.CopyToEMail = "copie@exemple.fr";
    s.UserMobile = "612345678";
    s.UserLandCode = "+33";
    s.UserEMail = "amélie@exemple.fr";
    s.UserName = "amélie";
    s.UserPassword = "mot€passe";
    s.IntegrateOutlook = 0;
    s.IntegrateOE = 0;
    s.SaveSentMessages = 0;
    s.UpdateAutoDownload = 0;
    s.UpdateAutoInstall = 0;
    s.UseProxy = 1;
    s.ProxyPort = 8080;
    s.ProxyAddress = "proxy.intra";
    return s;
}

TEST_F(AppRegistry, UserDataRoundTrip) {
    const Settings c = Changed();
    SaveSettings(store, c, SettingsGroup::UserData);
    Settings back = Load();
    EXPECT_EQ(back.UserMobile, c.UserMobile);
    EXPECT_EQ(back.UserLandCode, c.UserLandCode);
    EXPECT_EQ(back.UserEMail, c.UserEMail);
    EXPECT_EQ(back.UserName, c.UserName);
    EXPECT_EQ(back.UserPassword, c.UserPassword);
    EXPECT_EQ(back.CopyToEMail, "");
    EXPECT_EQ(TypeOf(L"UserName"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TypeOf(L"Language"), static_cast<DWORD>(REG_NONE));
}

TEST_F(AppRegistry, GlobalRoundTrip) {
    const Settings c = Changed();
    SaveSettings(store, c, SettingsGroup::Global);
    Settings back = Load();
    EXPECT_EQ(back.CopyToEMail, c.CopyToEMail);
    EXPECT_EQ(back.Language, c.Language);
    EXPECT_EQ(back.SendConfirmation, c.SendConfirmation);
    EXPECT_EQ(back.MinSMSCredits, c.MinSMSCredits);
    EXPECT_EQ(back.CheckNumbers, c.CheckNumbers);
    EXPECT_EQ(back.SaveChangedNumbers, c.SaveChangedNumbers);
    EXPECT_EQ(back.ShowTaskbarIcon, c.ShowTaskbarIcon);
    EXPECT_EQ(back.AutoRun, c.AutoRun);
    EXPECT_EQ(back.UserName, "");
    EXPECT_EQ(TypeOf(L"Language"), static_cast<DWORD>(REG_DWORD));
}

TEST_F(AppRegistry, UpdatesMailAndProxyRoundTrip) {
    CreateKey(HKEY_CURRENT_USER, kAddinPath);
    const Settings c = Changed();
    SaveSettings(store, c, SettingsGroup::Updates);
    SaveSettings(store, c, SettingsGroup::MailIntegration);
    SaveSettings(store, c, SettingsGroup::Proxy);
    Settings back = Load();
    EXPECT_EQ(back.UpdateAutoDownload, 0);
    EXPECT_EQ(back.UpdateAutoInstall, 0);
    EXPECT_EQ(back.IntegrateOutlook, 0);
    EXPECT_EQ(back.IntegrateOE, 0);
    EXPECT_EQ(back.SaveSentMessages, 0);
    EXPECT_EQ(back.UseProxy, 1);
    EXPECT_EQ(back.ProxyPort, 8080);
    EXPECT_EQ(back.ProxyAddress, "proxy.intra");
    EXPECT_EQ(back.AutoRun, 1);
}

TEST_F(AppRegistry, AllGroupsRoundTrip) {
    const Settings c = Changed();
    SaveSettings(store, c, SettingsGroup::All);
    Settings back = Load();
    EXPECT_EQ(back.UserName, c.UserName);
    EXPECT_EQ(back.Language, c.Language);
    EXPECT_EQ(back.ProxyAddress, c.ProxyAddress);
    EXPECT_EQ(back.UpdateAutoInstall, c.UpdateAutoInstall);
    EXPECT_EQ(back.IntegrateOutlook, 1);   // no add-in key: the flag keeps its default
}

TEST_F(AppRegistry, PasswordGoesThroughTheAnsiFunctions) {
    Settings s;
    s.UserPassword = "abc";
    SaveSettings(store, s, SettingsGroup::UserData);
    char bytes[16] = {};
    DWORD size = sizeof(bytes);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Orvane\\Pagelark\\Settings", "UserPassword", RRF_RT_REG_SZ,
                           nullptr, bytes, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(bytes), "\xC3\xC4\x63");
    EXPECT_EQ(Load().UserPassword, "abc");
}

// The conversion the password check relies on behaves as the registry: every byte the active
// code page defines comes back from a value written and read with the ANSI functions as it went in.
TEST_F(AppRegistry, AnsiCodePageRoundTripMatchesTheRegistry) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Orvane\\Pagelark\\Settings", "AnsiProbe", REG_SZ,
                              all.c_str(), static_cast<DWORD>(all.size() + 1)),
              ERROR_SUCCESS);
    char bytes[600] = {};
    DWORD size = sizeof(bytes);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Orvane\\Pagelark\\Settings", "AnsiProbe", RRF_RT_REG_SZ,
                           nullptr, bytes, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(ThroughAnsiCodePage(all), std::string(bytes));
    EXPECT_EQ(IsStorablePassword("a7", ThroughAnsiCodePage), ThroughAnsiCodePage("\x98") == "\x98");
}

TEST_F(AppRegistry, LanguageOfAnotherSizeIsRefused) {
    const unsigned char two[2] = {16, 0};
    SetRaw(HKEY_CURRENT_USER, kSettingsPath, L"Language", REG_BINARY, two, sizeof(two));
    EXPECT_EQ(Load(0x0413).Language, 19);
    const unsigned char eight[8] = {16, 0, 0, 0, 0, 0, 0, 0};
    SetRaw(HKEY_CURRENT_USER, kSettingsPath, L"Language", REG_QWORD, eight, sizeof(eight));
    EXPECT_EQ(Load(0x0807).Language, 7);
    const DWORD italian = 16;
    SetRaw(HKEY_CURRENT_USER, kSettingsPath, L"Language", REG_DWORD, &italian, sizeof(italian));
    EXPECT_EQ(Load(0x0807).Language, 16);
    const unsigned char four[4] = {10, 0, 0, 0};   // four bytes of another type fill the field
    SetRaw(HKEY_CURRENT_USER, kSettingsPath, L"Language", REG_BINARY, four, sizeof(four));
    EXPECT_EQ(Load().Language, 10);
}

TEST_F(AppRegistry, LoadBehaviorUnderMachineAndUser) {
    EXPECT_EQ(Load().IntegrateOutlook, 1);
    const DWORD three = 3, two = 2;
    SetRaw(HKEY_LOCAL_MACHINE, kAddinPath, L"LoadBehavior", REG_DWORD, &two, sizeof(two));
    EXPECT_EQ(Load().IntegrateOutlook, 0);
    SetRaw(HKEY_CURRENT_USER, kAddinPath, L"LoadBehavior", REG_DWORD, &three, sizeof(three));
    EXPECT_EQ(Load().IntegrateOutlook, 1);   // the user's key overrides
    SetRaw(HKEY_CURRENT_USER, kAddinPath, L"LoadBehavior", REG_DWORD, &two, sizeof(two));
    SetRaw(HKEY_LOCAL_MACHINE, kAddinPath, L"LoadBehavior", REG_DWORD, &three, sizeof(three));
    EXPECT_EQ(Load().IntegrateOutlook, 0);

    Settings s;
    s.IntegrateOutlook = 1;
    SaveSettings(store, s, SettingsGroup::MailIntegration);
    EXPECT_EQ(store.ReadInt(RegistryRoot::LocalMachine, kAddinKey, "LoadBehavior"), 3u);
    EXPECT_EQ(store.ReadInt(RegistryRoot::CurrentUser, kAddinKey, "LoadBehavior"), 3u);
}

TEST_F(AppRegistry, MailGroupNeverCreatesTheAddinKeys) {
    Settings s;
    s.IntegrateOutlook = 0;
    SaveSettings(store, s, SettingsGroup::MailIntegration);
    EXPECT_FALSE(store.KeyExists(RegistryRoot::CurrentUser, kAddinKey));
    EXPECT_FALSE(store.KeyExists(RegistryRoot::LocalMachine, kAddinKey));
    EXPECT_EQ(Load().IntegrateOE, 1);
}

TEST_F(AppRegistry, ProxyServerFallbackFromInternetSettings) {
    const wchar_t internet[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    wchar_t saved[256] = {};
    DWORD savedSize = sizeof(saved);
    const bool had = RegGetValueW(HKEY_CURRENT_USER, internet, L"ProxyServer", RRF_RT_REG_SZ, nullptr, saved,
                                  &savedSize) == ERROR_SUCCESS;
    const wchar_t value[] = L"cache.example.net:3128";
    SetRaw(HKEY_CURRENT_USER, internet, L"ProxyServer", REG_EXPAND_SZ, value, sizeof(value));
    Settings s = Load();
    EXPECT_EQ(s.ProxyAddress, "cache.example.net");
    EXPECT_EQ(s.ProxyPort, 3128);
    EXPECT_EQ(s.UseProxy, 0);
    if (had) SetRaw(HKEY_CURRENT_USER, internet, L"ProxyServer", REG_SZ, saved, savedSize);
    else RegDeleteKeyValueW(HKEY_CURRENT_USER, internet, L"ProxyServer");
}

TEST(AppResources, EveryLanguageHasTheAppTexts) {
    const LANGID languages[] = {1031, 1033, 3082, 1036, 1040, 1043};
    for (LANGID lang : languages) {
        EXPECT_EQ(LoadText(IDS_APP_TITLE, lang), L"Pagelark") << lang;
        EXPECT_FALSE(LoadText(IDS_OLE_INIT_FAILED, lang).empty()) << lang;
        EXPECT_NE(FindDialogTemplate(IDD_ABOUTBOX, lang), nullptr) << lang;
    }
    EXPECT_EQ(LoadText(IDS_ABOUT_VERSION, 1033), L"Version: ");
    EXPECT_EQ(LoadText(IDS_ABOUT_VERSION, 1043), L"Versie: ");
}

TEST(AppResources, TrayMenuHasSixCommandsAndThreeSeparatorsInEveryLanguage) {
    const LANGID languages[] = {1031, 1033, 3082, 1036, 1040, 1043};
    const UINT expected[] = {57600, 0, 57670, 32807, 32781, 0, 57664, 0, 57665};
    for (LANGID lang : languages) {
        SetResourceLanguage(lang);
        HMENU menu = LoadMenuResource(IDR_TRAY_MENU);
        ASSERT_NE(menu, nullptr) << lang;
        HMENU popup = GetSubMenu(menu, 0);
        ASSERT_EQ(GetMenuItemCount(popup), 9) << lang;
        for (int i = 0; i < 9; ++i) EXPECT_EQ(GetMenuItemID(popup, i), expected[i]) << lang << " item " << i;
        DestroyMenu(menu);
    }
    SetResourceLanguage(1033);
    HMENU menu = LoadMenuResource(IDR_TRAY_MENU);
    wchar_t text[64] = {};
    GetMenuStringW(GetSubMenu(menu, 0), 4, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Hide &Icon");
    DestroyMenu(menu);
}

TEST(AppVersion, VersionTextComesFromTheVersionResource) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(ReadVersionText(path), VersionTextFromFileVersion(PAGELARK_FILE_VERSION_STR));
    EXPECT_EQ(ReadVersionText(L"C:\\no\\such\\file.exe"), "");
}

// Finds a dialog of this process with the given caption, reads a control, presses OK.
std::wstring ReadAndCloseDialog(const wchar_t* caption, int controlId) {
    for (int i = 0; i < 500; ++i) {
        HWND dialog = FindWindowW(L"#32770", caption);
        DWORD pid = 0;
        if (dialog) GetWindowThreadProcessId(dialog, &pid);
        // Visible only once WM_INITDIALOG has filled it.
        if (dialog && pid == GetCurrentProcessId() && IsWindowVisible(dialog)) {
            wchar_t text[128] = {};
            GetDlgItemTextW(dialog, controlId, text, 128);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return text;
        }
        Sleep(10);
    }
    return L"(no dialog)";
}

TEST(AppAboutBox, ShowsTheVersionInControl1027) {
    SetResourceLanguage(1033);
    std::wstring seen;
    std::thread reader([&] { seen = ReadAndCloseDialog(L"About Pagelark", IDC_ABOUT_VERSION); });
    CAboutDlg about("1. 2. 0. 75");
    EXPECT_EQ(about.ShowModal(nullptr), IDOK);
    reader.join();
    EXPECT_EQ(seen, L"Version: 1. 2. 0. 75");
}

// A window procedure that refuses to close, as a message window whose user cancelled.
WNDPROC g_frameProc = nullptr;
LRESULT CALLBACK RefuseClose(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return CallWindowProcW(g_frameProc, hwnd, message, wParam, lParam);
}

// A started application object in this thread; its end leaves no WM_QUIT behind for later tests.
class StartedApplication {
public:
    StartedApplication() { started = app.Startup(""); }
    ~StartedApplication() {
        if (HWND main = app.mainWindow()) DestroyWindow(main);
        // Drop what is still queued (the windows' "start" requests among it): nothing here may
        // reach the service or open a message box.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    Application app;
    bool started = false;
};

TEST(AppClose, AWindowThatRefusesKeepsTheProgramRunning) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "a copy of the program is running";
    StartedApplication started;
    ASSERT_TRUE(started.started);
    Application& app = started.app;
    app.settings().UserName = "someone";   // an account exists: New opens message windows
    app.OnNewMessage();
    app.OnNewMessage();
    ASSERT_EQ(app.messageWindows().size(), 2u);
    HWND first = app.messageWindows()[0];
    HWND second = app.messageWindows()[1];
    wchar_t title[32] = {};
    GetWindowTextW(first, title, 32);
    EXPECT_STREQ(title, L"Pagelark");

    g_frameProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(second, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefuseClose)));
    EXPECT_FALSE(app.CloseMessageWindows());
    EXPECT_FALSE(IsWindow(first));   // the windows before it in the list are already closed
    EXPECT_TRUE(IsWindow(second));

    SetWindowLongPtrW(second, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
    EXPECT_TRUE(app.CloseMessageWindows());
    EXPECT_FALSE(IsWindow(second));
}

}  // namespace
}  // namespace pagelark

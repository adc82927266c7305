// Start-up, single instance, the setup command, Hide Icon and Exit, through the real program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"
#include "resource_ids.h"

namespace pagelark::blackbox {
namespace {

constexpr int kNew = ID_NEW, kExit = ID_EXIT, kHideIcon = ID_HIDE_ICON, kAbout = ID_ABOUT;
constexpr char kSetupTrace[] = "Pagelark: setup wizard";

class AppStartup : public ::testing::Test {
protected:
    void SetUp() override {
        KillLeftovers();
        ResetSettings();
    }
    void TearDown() override {
        KillLeftovers();
        ResetSettings();
    }
    static void WithAccount() { SetSettingString(L"UserName", L"tester"); }
    // Starts the first copy and waits for its hidden main window.
    HWND StartFirst(const std::wstring& arguments = L"") {
        first_ = Program::Launch(arguments);
        HWND main = WaitForWindow(kMainTitle, kFrameClass, 20s, first_.Pid());
        EXPECT_NE(main, nullptr) << "no hidden main window";
        return main;
    }
    size_t MessageWindows() const { return FindTopWindows(L"Pagelark", kFrameClass).size(); }
    Program first_;
};

TEST_F(AppStartup, ComesUpHiddenWithNoMessageWindow) {
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    Sleep(300);
    EXPECT_EQ(MessageWindows(), 0u);
    EXPECT_TRUE(first_.IsRunning());
}

TEST_F(AppStartup, SecondStartOpensAWindowInTheFirstCopyAndCreatesNothing) {
    WithAccount();
    SetSettingDword(L"AutoRun", 0);   // the single-instance rule comes before the "/auto" rule
    ASSERT_NE(StartFirst(), nullptr);
    size_t expected = 0;
    for (const wchar_t* arguments : {L"", L"/auto", L"/config", L"x/configx"}) {
        Program second = Program::Launch(arguments);
        ASSERT_TRUE(second.WaitForExit(15s)) << "second start did not end";
        EXPECT_EQ(second.ExitCode(), 0u);
        ++expected;
        ASSERT_TRUE(WaitUntil([&] { return MessageWindows() == expected; }))
            << "arguments: " << std::string(arguments, arguments + wcslen(arguments));
        for (HWND window : FindTopWindows(L"Pagelark", kFrameClass)) EXPECT_EQ(ProcessOf(window), first_.Pid());
        EXPECT_EQ(FindTopWindows(kMainTitle).size(), 1u);
    }
    EXPECT_TRUE(first_.IsRunning());
}

TEST_F(AppStartup, SecondStartWithoutAccountLeadsToTheWizardInTheFirstCopy) {
    DebugTrace trace;
    ASSERT_TRUE(trace.Active());
    ASSERT_NE(StartFirst(), nullptr);
    Program second = Program::Launch(L"/config");
    ASSERT_TRUE(second.WaitForExit(15s));
    EXPECT_TRUE(WaitUntil([&] { return trace.Count(kSetupTrace, first_.Pid()) == 1; }));
    EXPECT_EQ(trace.Count(kSetupTrace, second.Pid()), 0);
    EXPECT_EQ(MessageWindows(), 0u);
}

TEST_F(AppStartup, AutoWithAutoRunOffEnds) {
    SetSettingDword(L"AutoRun", 0);
    Program program = Program::Launch(L"/auto");
    ASSERT_TRUE(program.WaitForExit(10s));
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_EQ(FindTopWindow(kMainTitle), nullptr);
}

TEST_F(AppStartup, AutoWithAutoRunOnComesUpTenSecondsLater) {
    Program program = Program::Launch(L"Pagelark/autostart");   // a substring is enough
    first_ = std::move(program);
    Sleep(5000);
    EXPECT_EQ(FindTopWindow(kMainTitle), nullptr) << "came up before the delay";
    EXPECT_NE(WaitForWindow(kMainTitle, kFrameClass, 15s), nullptr);
}

TEST_F(AppStartup, ConfigSwitchIsASubstringAndPostsTheSetupCommandWithAnAccount) {
    WithAccount();
    DebugTrace trace;
    ASSERT_TRUE(trace.Active());
    ASSERT_NE(StartFirst(L"x/configx"), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return trace.Count(kSetupTrace, first_.Pid()) == 1; }));
    EXPECT_EQ(MessageWindows(), 0u);
}

TEST_F(AppStartup, NewTwiceQuicklyWithoutAccountPostsTheSetupCommandOnce) {
    DebugTrace trace;
    ASSERT_TRUE(trace.Active());
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(PostCommand(main, kNew));
    ASSERT_TRUE(PostCommand(main, kNew));
    ASSERT_TRUE(WaitUntil([&] { return trace.Count(kSetupTrace, first_.Pid()) >= 1; }));
    Sleep(500);
    EXPECT_EQ(trace.Count(kSetupTrace, first_.Pid()), 1);
    EXPECT_EQ(MessageWindows(), 0u);
}

TEST_F(AppStartup, HideIconSavesTheGlobalGroup) {
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(GetSettingDword(L"ShowTaskbarIcon").has_value());
    ASSERT_TRUE(SendCommand(main, kHideIcon));
    EXPECT_EQ(GetSettingDword(L"ShowTaskbarIcon"), 0u);
    EXPECT_EQ(GetSettingDword(L"AutoRun"), 1u);   // the rest of the global group with it
    EXPECT_EQ(GetSettingDword(L"MinSMSCredits"), 10u);
    EXPECT_FALSE(GetSettingDword(L"UpdateAutoInstall").has_value());
    EXPECT_TRUE(first_.IsRunning());
}

TEST_F(AppStartup, AboutBoxShowsTheVersion) {
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(PostCommand(main, kAbout));
    HWND about = WaitForDialog(first_.Pid(), L"About Pagelark");
    ASSERT_NE(about, nullptr);
    const std::wstring version = GetText(Control(about, IDC_ABOUT_VERSION));
    EXPECT_EQ(version.rfind(L"Version: ", 0), 0u);
    EXPECT_GT(version.size(), std::wstring(L"Version: ").size());
    EXPECT_EQ(version.find(L','), std::wstring::npos);
    PressButton(about, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return FindDialogs(first_.Pid(), L"About Pagelark").empty(); }));
}

// The tray icon reports mouse events to the hidden main window with this message.
constexpr UINT kTrayCallback = WM_APP + 1;

TEST_F(AppStartup, TrayDoubleClickIsNew) {
    WithAccount();
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Post(main, kTrayCallback, 1, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(WaitUntil([&] { return MessageWindows() == 1; }));
}

TEST_F(AppStartup, TrayRightClickOpensTheMenu) {
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Post(main, kTrayCallback, 1, WM_RBUTTONUP));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND w : FindTopWindows(nullptr, L"#32768", first_.Pid()))
            if (IsWindowVisible(w)) menu = w;
        return menu != nullptr;
    })) << "no pop-up menu";
    if (const char* shots = std::getenv("PAGELARK_SHOTS")) {
        (void)shots;
        SaveScreenshot(L"AppStartup.TrayMenu");
    }
    Post(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND w : FindTopWindows(nullptr, L"#32768", first_.Pid()))
            if (IsWindowVisible(w)) return false;
        return true;
    }));
    // The program still answers after the menu closed.
    EXPECT_TRUE(SendCommand(main, kHideIcon));
}

TEST_F(AppStartup, ExitClosesEveryMessageWindowAndEnds) {
    WithAccount();
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendCommand(main, kNew));
    ASSERT_TRUE(SendCommand(main, kNew));
    ASSERT_TRUE(WaitUntil([&] { return MessageWindows() == 2; }));
    ASSERT_TRUE(PostCommand(main, kExit));
    EXPECT_TRUE(first_.WaitForExit(10s));
    EXPECT_EQ(MessageWindows(), 0u);
}

TEST_F(AppStartup, ItemCopyIsRefusedWhenOutlookIntegrationIsOff) {
    const wchar_t addin[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";
    SetDword(HKEY_CURRENT_USER, addin, L"LoadBehavior", 2);
    WithAccount();
    HWND main = StartFirst();
    ASSERT_NE(main, nullptr);
    char block[80] = "00000000AABBCCDD";
    COPYDATASTRUCT data{0xAAAA, sizeof(block), block};
    bool ok = false;
    EXPECT_EQ(Send(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), &ok), 0);
    EXPECT_TRUE(ok);
    DeleteKey(HKEY_CURRENT_USER, addin);
    EXPECT_EQ(MessageWindows(), 0u);
}

}  // namespace
}  // namespace pagelark::blackbox

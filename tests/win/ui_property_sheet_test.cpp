// Wizards and property sheets built from dialog templates of the program's resources.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ui/property_sheet_win.h"

using namespace pagelark;

namespace {

constexpr int kNextButton = 0x3024;
constexpr int kBackButton = 0x3023;
constexpr int kFinishButton = 0x3025;
// Any two templates do as pages; these belong to the recipient dialogs.
constexpr int kFirstTemplate = 180;
constexpr int kSecondTemplate = 181;

std::function<void(HWND)> g_script;
std::vector<std::string> g_log;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND sheet = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) -> BOOL {
            if (IsWindowVisible(hwnd) && !GetParent(hwnd)) *reinterpret_cast<HWND*>(out) = hwnd;
            return *reinterpret_cast<HWND*>(out) == nullptr;
        },
        reinterpret_cast<LPARAM>(&sheet));
    if (!sheet) return;
    KillTimer(nullptr, timer);
    auto script = std::move(g_script);
    g_script = nullptr;
    script(sheet);
}

INT_PTR Drive(CPropertySheet& sheet, std::function<void(HWND)> script) {
    g_log.clear();
    g_script = std::move(script);
    SetTimer(nullptr, 0, 20, &RunScript);
    return sheet.DoModal(nullptr);
}

void Pump() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

void Press(HWND sheet, int button) {
    SendMessageW(sheet, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(sheet, button)));
    Pump();
}

class LoggingPage : public CPropertyPage {
public:
    LoggingPage(int templateId, std::string name) : CPropertyPage(templateId), name_(std::move(name)) {}
    int jumpTo = 0;
    bool valid = true;

protected:
    BOOL OnInitDialog() override { return Log("init"), TRUE; }
    bool OnSetActive() override {
        SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH);
        return Log("active"), true;
    }
    bool OnKillActive() override { return Log("leave"), valid; }
    int OnWizardNext() override { return Log("next"), jumpTo; }
    bool OnWizardFinish() override { return Log("finish"), true; }
    bool OnApply() override { return Log("apply"), true; }

private:
    void Log(const char* what) { g_log.push_back(name_ + ":" + what); }
    std::string name_;
};

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

}  // namespace

TEST(UiPropertySheet, WizardWalksItsPagesAndFinishes) {
    LoggingPage first(kFirstTemplate, "1"), second(kSecondTemplate, "2");
    CPropertySheet sheet(L"Wizard", Module(), 1033);
    sheet.SetWizardMode(true);
    sheet.AddPage(first);
    sheet.AddPage(second);
    bool noHelpButton = false;
    const INT_PTR result = Drive(sheet, [&](HWND s) {
        noHelpButton = !IsWindowVisible(GetDlgItem(s, IDHELP));
        Press(s, kNextButton);
        Press(s, kFinishButton);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(noHelpButton);
    // Leaving a page ("leave") comes where the common controls' version puts it; the rest is ordered.
    std::vector<std::string> moves;
    std::copy_if(g_log.begin(), g_log.end(), std::back_inserter(moves),
                 [](const std::string& entry) { return entry.find(":leave") == std::string::npos; });
    EXPECT_EQ(moves, (std::vector<std::string>{"1:init", "1:active", "1:next", "2:init", "2:active", "2:finish"}));
}

TEST(UiPropertySheet, NextCanJumpToAPageByItsTemplateAndCancelGivesZero) {
    LoggingPage first(kFirstTemplate, "1"), second(kSecondTemplate, "2"), third(kFirstTemplate + 0, "3");
    first.jumpTo = kSecondTemplate;
    CPropertySheet sheet(L"Wizard", Module(), 1031);
    sheet.SetWizardMode(true);
    sheet.AddPage(first);
    sheet.AddPage(second);
    HWND current = nullptr;
    const INT_PTR result = Drive(sheet, [&](HWND s) {
        Press(s, kNextButton);
        current = PropSheet_GetCurrentPageHwnd(s);
        Press(s, kBackButton);
        Press(s, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sheet.IndexOf(kSecondTemplate), 1);
    EXPECT_EQ(sheet.IndexOf(4711), -1);
    EXPECT_NE(current, nullptr);
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), "2:active"), g_log.end());
}

TEST(UiPropertySheet, NormalSheetAppliesOnOkAndAnInvalidPageKeepsItOpen) {
    LoggingPage first(kFirstTemplate, "1");
    first.valid = false;
    CPropertySheet sheet(L"Options", Module(), 1033);
    sheet.AddPage(first);
    bool stillOpen = false;
    const INT_PTR result = Drive(sheet, [&](HWND s) {
        Press(s, IDOK);
        stillOpen = IsWindow(s) && IsWindowVisible(s);
        first.valid = true;
        Press(s, IDOK);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_log.back(), "1:apply");
}

TEST(UiPropertySheet, MissingTemplateFailsWithoutShowingAnything) {
    LoggingPage missing(4711, "x");
    CPropertySheet sheet(L"Broken", Module(), 1033);
    sheet.AddPage(missing);
    EXPECT_EQ(sheet.DoModal(nullptr), -1);
    CPropertySheet empty(L"Empty", Module(), 1033);
    EXPECT_EQ(empty.DoModal(nullptr), -1);
}

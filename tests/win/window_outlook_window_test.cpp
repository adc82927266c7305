#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "window/outlook_window_win.h"

using namespace pagelark;

namespace {

// A visible top-level window of this process with the given title.
class TitledWindow {
public:
    explicit TitledWindow(const wchar_t* title) {
        hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", title, WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TitledWindow() { DestroyWindow(hwnd); }
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;
    HWND hwnd = nullptr;
};

std::wstring OwnImageName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path);
    return full.substr(full.find_last_of(L"\\/") + 1);
}

}  // namespace

// A browser tab titled "... - Microsoft Outlook" is no Outlook window: the Move/Copy keystrokes
// (Ctrl+Shift+V pastes in a browser) go only to a window of Outlook's own process.
TEST(OutlookWindow, ATitleAloneIsNotOutlook) {
    TitledWindow impostor(L"Inbox - Microsoft Outlook - Web Browser");
    ASSERT_NE(impostor.hwnd, nullptr);
    EXPECT_NE(FindOutlookMainWindow(), impostor.hwnd);

    // The same window is found when its own executable is the one asked for, in any case.
    std::wstring image = OwnImageName();
    EXPECT_EQ(FindTopLevelWindowOf(image, L"Microsoft Outlook"), impostor.hwnd);
    for (wchar_t& c : image) c = static_cast<wchar_t>(towupper(c));
    EXPECT_EQ(FindTopLevelWindowOf(image, L"Microsoft Outlook"), impostor.hwnd);
    EXPECT_EQ(FindTopLevelWindowOf(image, L"Microsoft Outlook Express"), nullptr);

    ShowWindow(impostor.hwnd, SW_HIDE);
    EXPECT_EQ(FindTopLevelWindowOf(OwnImageName(), L"Microsoft Outlook"), nullptr);
}

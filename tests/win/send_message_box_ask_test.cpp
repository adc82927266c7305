// The confirmation box of sending, shown for real and driven from inside its own message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ids_send.h"
#include "ui/resources_win.h"
#include "window/message_box_ask_win.h"

using namespace pagelark;

namespace {

constexpr UINT kDrive = WM_APP + 77;

// Runs `drive` once the box is up, then leaves it to whatever `drive` clicked.
class DrivenBox : public CMessageBoxAsk {
public:
    using CMessageBoxAsk::CMessageBoxAsk;
    std::function<void(HWND)> drive;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CMessageBoxAsk::OnInitDialog();
        PostMessageW(hwnd(), kDrive, 0, 0);
        return result;
    }
    INT_PTR OnMessage(UINT message, WPARAM, LPARAM) override {
        if (message != kDrive) return FALSE;
        drive(hwnd());
        return TRUE;
    }
};

std::wstring ItemText(HWND box, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, id, text, 512);
    return text;
}

RECT ClientRectOf(HWND box, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(box, id), &rect);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The box itself becomes visible only when its queue first runs empty: ask the control's own style.
bool ShownStyle(HWND box, int id) { return (GetWindowLongW(GetDlgItem(box, id), GWL_STYLE) & WS_VISIBLE) != 0; }

void Click(HWND box, int id) { SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

}  // namespace

TEST(MessageBoxAsk, QuestionWithCancelShowsTextIconAndClearedCheckBox) {
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    DrivenBox box("Send the message?\n\n3 recipients \xC3\x97 1 SMS = 3 SMS", 32514, 1);
    bool seen = false;
    box.drive = [&](HWND hwnd) {
        seen = true;
        EXPECT_EQ(ItemText(hwnd, IDC_ASK_MESSAGE), L"Send the message?\n\n3 recipients \u00D7 1 SMS = 3 SMS");
        EXPECT_EQ(ItemText(hwnd, IDC_ASK_DONT_SHOW), L"Don't show this message again");
        EXPECT_EQ(IsDlgButtonChecked(hwnd, IDC_ASK_DONT_SHOW), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_TRUE(ShownStyle(hwnd, IDCANCEL));
        EXPECT_NE(SendDlgItemMessageW(hwnd, IDC_ASK_ICON, STM_GETICON, 0, 0), 0);
        Click(hwnd, IDOK);
    };
    EXPECT_EQ(box.DoModal(nullptr), IDOK);
    EXPECT_TRUE(seen);
    EXPECT_EQ(box.dontShowAgain, 0);
}

TEST(MessageBoxAsk, CheckedBoxCountsOnOkOnly) {
    DrivenBox ok("x", 32514, 1);
    ok.drive = [](HWND hwnd) {
        CheckDlgButton(hwnd, IDC_ASK_DONT_SHOW, BST_CHECKED);
        Click(hwnd, IDOK);
    };
    EXPECT_EQ(ok.DoModal(nullptr), IDOK);
    EXPECT_EQ(ok.dontShowAgain, 1);

    DrivenBox cancel("x", 32514, 1);
    cancel.drive = [](HWND hwnd) {
        CheckDlgButton(hwnd, IDC_ASK_DONT_SHOW, BST_CHECKED);
        Click(hwnd, IDCANCEL);
    };
    EXPECT_EQ(cancel.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(cancel.dontShowAgain, 0);

    DrivenBox closed("x", 32514, 1);
    closed.drive = [](HWND hwnd) { SendMessageW(hwnd, WM_CLOSE, 0, 0); };
    EXPECT_EQ(closed.DoModal(nullptr), IDCANCEL);
}

TEST(MessageBoxAsk, WithoutCancelOkMovesFortyPixelsRightKeepingItsSize) {
    RECT withCancel{}, withoutCancel{};
    DrivenBox question("x", 32514, 1);
    question.drive = [&](HWND hwnd) {
        withCancel = ClientRectOf(hwnd, IDOK);
        Click(hwnd, IDOK);
    };
    question.DoModal(nullptr);

    DrivenBox result("Message(s) successfully sent.", 32516, 0);
    result.drive = [&](HWND hwnd) {
        withoutCancel = ClientRectOf(hwnd, IDOK);
        EXPECT_FALSE(ShownStyle(hwnd, IDCANCEL));
        Click(hwnd, IDOK);
    };
    EXPECT_EQ(result.DoModal(nullptr), IDOK);
    EXPECT_EQ(withoutCancel.left - withCancel.left, 40);
    EXPECT_EQ(withoutCancel.top, withCancel.top);
    EXPECT_EQ(withoutCancel.right - withoutCancel.left, withCancel.right - withCancel.left);
    EXPECT_EQ(withoutCancel.bottom - withoutCancel.top, withCancel.bottom - withCancel.top);
}

TEST(MessageBoxAsk, TemplateComesInTheActiveLanguage) {
    SetResourceLanguage(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    DrivenBox box("x", 32513, 0);
    std::wstring checkBox;
    box.drive = [&](HWND hwnd) {
        checkBox = ItemText(hwnd, IDC_ASK_DONT_SHOW);
        Click(hwnd, IDOK);
    };
    box.DoModal(nullptr);
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    EXPECT_EQ(checkBox, L"Diese Meldung nicht mehr anzeigen");
}

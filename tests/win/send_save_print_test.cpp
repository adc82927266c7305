// Writing a saved message to disk, and the print dialog cancelled, on the real platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/wide_string_win.h"
#include "window/print_win.h"
#include "window/save_as_win.h"

using namespace pagelark;

namespace {

std::string TempPath(const std::string& name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return Narrow(dir) + name;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(Widen(path).c_str(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

TEST(SendSaveAsFile, CreatesAndEmptiesBeforeWritingTheExactBytes) {
    const std::string path = TempPath("pagelark send \xC3\xBC test.txt");
    ASSERT_TRUE(WriteWholeFile(path, "- Telvoro Pagelark -\r\n\r\nTo: anna\r\nCC: \r\n\r\nHello long text"));
    ASSERT_TRUE(WriteWholeFile(path, "short\r\n\x80"));
    EXPECT_EQ(ReadAll(path), "short\r\n\x80");
    DeleteFileW(Widen(path).c_str());
}

TEST(SendSaveAsFile, AFolderThatDoesNotExistFails) {
    EXPECT_FALSE(WriteWholeFile(TempPath("no such folder\\x.txt"), "x"));
}

namespace {
HWND g_owner = nullptr;
bool g_ownerEnabledDuringDialog = true;

// Cancels the print dialog of this thread as soon as it shows.
VOID CALLBACK CancelPrintDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
        if (GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) continue;
        g_ownerEnabledDuringDialog = IsWindowEnabled(g_owner) != FALSE;
        KillTimer(nullptr, timer);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
}
}  // namespace

TEST(SendPrint, CancelledPrintDialogLeavesTheOwnerAsItWas) {
    g_owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(g_owner, nullptr);
    SetTimer(nullptr, 0, 100, CancelPrintDialog);
    EXPECT_EQ(PrintPlainText(g_owner, "- Telvoro Pagelark -\r\n\r\nTo: anna\r\nCC: \r\n\r\n", L"Pagelark"),
              PrintOutcome::Cancelled);
    EXPECT_FALSE(g_ownerEnabledDuringDialog);   // the dialog is modal over its owner
    EXPECT_TRUE(IsWindowEnabled(g_owner));
    DestroyWindow(g_owner);
}

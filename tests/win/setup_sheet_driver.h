#pragma once
// Drives a modal property sheet of this thread from a second thread: waits for the sheet,
// reads its current page, sets texts, presses buttons and answers message boxes. Everything
// that may open a modal box is posted, so the driver never blocks on the sheet's thread.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "common/wide_string_win.h"

namespace pagelark::test {

class SheetDriver {
public:
    explicit SheetDriver(DWORD uiThread) : uiThread_(uiThread) {}

    // Polls `condition` every 20 ms for up to `seconds`.
    static bool WaitFor(const std::function<bool()>& condition, double seconds = 10) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return condition();
    }

    HWND Sheet() {
        if (!sheet_ || !IsWindow(sheet_)) {
            sheet_ = nullptr;
            EnumThreadWindows(uiThread_, &FindSheet, reinterpret_cast<LPARAM>(&sheet_));
        }
        return sheet_;
    }
    bool WaitForSheet() { return WaitFor([&] { return Sheet() != nullptr || MessageBoxUp(); }); }
    // Closes whatever is left: message boxes first, then the sheet by Cancel.
    void CloseAll() {
        for (int i = 0; i < 10 && (Sheet() || MessageBoxUp()); ++i) {
            while (MessageBoxUp()) AnswerMessageBox(IDCANCEL);
            if (Sheet()) Cancel();
            WaitFor([&] { return Sheet() == nullptr && !MessageBoxUp(); }, 2);
        }
    }
    bool SheetGone() { return WaitFor([&] { return Sheet() == nullptr; }); }

    HWND Page() {
        HWND sheet = Sheet();
        return sheet ? reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
    }
    int PageIndex() {
        HWND sheet = Sheet();
        HWND page = Page();
        if (!sheet || !page) return -1;
        return static_cast<int>(SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
    }
    bool WaitForPage(int index) { return WaitFor([&] { return PageIndex() == index && !MessageBoxUp(); }); }

    HWND Item(int id) { return GetDlgItem(Page(), id); }
    std::string Text(int id) { return TextOf(Item(id)); }
    static std::string TextOf(HWND window) {
        wchar_t text[4096] = {};
        GetWindowTextW(window, text, 4096);
        return Narrow(text);
    }
    void SetText(int id, const std::string& utf8) {
        SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(utf8).c_str()));
    }
    void Click(int id) { PostMessageW(Item(id), BM_CLICK, 0, 0); }
    bool IsEnabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    bool IsChecked(int id) { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    // Selects the first combo entry starting with `prefix` and tells the page, as a user's choice would.
    bool SelectComboEntry(int id, const std::string& prefix) {
        HWND combo = Item(id);
        const LRESULT index =
            SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Widen(prefix).c_str()));
        if (index == CB_ERR) return false;
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        return true;
    }

    void Press(int button) { PostMessageW(Sheet(), PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }
    void Next() { Press(PSBTN_NEXT); }
    void Back() { Press(PSBTN_BACK); }
    void Finish() { Press(PSBTN_FINISH); }
    void Cancel() { Press(PSBTN_CANCEL); }
    void Ok() { Press(PSBTN_OK); }
    void Apply() { Press(PSBTN_APPLYNOW); }
    void SelectPage(int index) { PostMessageW(Sheet(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0); }
    // The wizard's Next button (id 12324) state.
    bool NextEnabled() { return IsWindowEnabled(GetDlgItem(Sheet(), 0x3024)) != FALSE; }
    bool BackEnabled() { return IsWindowEnabled(GetDlgItem(Sheet(), 0x3023)) != FALSE; }

    // A message box of the UI thread: its text, or empty when none is up.
    HWND MessageBoxWindow() {
        HWND box = nullptr;
        EnumThreadWindows(uiThread_, &FindMessageBox, reinterpret_cast<LPARAM>(&box));
        return box;
    }
    bool MessageBoxUp() { return MessageBoxWindow() != nullptr; }
    // Waits for a message box, returns its text and answers it with `button`.
    std::string AnswerMessageBox(int button = IDOK) {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = MessageBoxWindow()) != nullptr; })) return "<no message box>";
        const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }

    // Saves what the screen shows of `window` as a 24-bit BMP file.
    static bool SaveShot(HWND window, const std::string& path) {
        RECT rect{};
        if (!GetWindowRect(window, &rect)) return false;
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        SelectObject(memory, old);
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        std::string pixels(static_cast<size_t>(stride) * static_cast<size_t>(height), '\0');
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
        HANDLE out = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (out == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        WriteFile(out, &file, sizeof file, &written, nullptr);
        WriteFile(out, &info, sizeof info, &written, nullptr);
        WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
        CloseHandle(out);
        return true;
    }

private:
    static BOOL CALLBACK FindSheet(HWND window, LPARAM found) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (std::wstring(name) == L"#32770" &&
            SendMessageW(window, PSM_GETCURRENTPAGEHWND, 0, 0) != 0) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK FindMessageBox(HWND window, LPARAM found) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (std::wstring(name) == L"#32770" && IsWindowVisible(window) && GetDlgItem(window, 0xFFFF)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    DWORD uiThread_;
    HWND sheet_ = nullptr;
};

}  // namespace pagelark::test

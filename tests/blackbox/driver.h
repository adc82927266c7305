#pragma once
// Black-box driver: runs the real Pagelark.exe under Wine and works it from outside, through its
// windows, window messages and the registry, as a user or another program would.
//
//   using namespace pagelark::blackbox;
//   KillLeftovers();                             // no copy of the program from an earlier test
//   ResetSettings();                             // a fresh user: no Settings key
//   SetSettingString(L"UserName", L"tester");    // ... or an account that is set up
//   Program program = Program::Launch();         // PAGELARK_EXE started in PAGELARK_DIR
//   HWND main = WaitForWindow(kMainTitle);       // the hidden main window "Orvane.Pagelark"
//   SendCommand(main, ID_NEW);                   // "New"
//   HWND frame = WaitForWindow(L"Pagelark", kFrameClass);
//   SetText(Control(frame, IDC_TO_FIELD), L"+491701234567");
//   HWND box = WaitForDialog(program.Pid());     // a message box or modal dialog (#32770)
//   EXPECT_EQ(DialogMessage(box), L"Send the message?");
//   PressButton(box, IDOK);
//   EXPECT_TRUE(program.WaitForExit(10s));
//
// Every wait polls with a timeout (default 10 s); every message to the program goes through
// SendMessageTimeout, so a hung program fails the test instead of hanging it. When a test fails,
// a screenshot of the desktop is saved as <suite>.<test>.bmp in PAGELARK_SHOTS (if set).
// DebugTrace collects what the program writes with OutputDebugString (as a debugger would see it).
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pagelark::blackbox {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;
inline constexpr Duration kTimeout = 10s;
inline constexpr wchar_t kMainTitle[] = L"Orvane.Pagelark";
inline constexpr wchar_t kFrameClass[] = L"Pagelark.Frame";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Orvane\\Pagelark\\Settings";

// Environment: PAGELARK_EXE (Windows path of Pagelark.exe), PAGELARK_DIR (program folder).
std::wstring EnvVar(const char* name);
// The folder of the running test program (the build folder: the doubles live below it).
std::wstring TestProgramFolder();
// A file's bytes, empty when it cannot be read.
std::string ReadFileText(const std::wstring& path);

// A started copy of the program. Move-only; destruction does not end the process.
class Program {
public:
    static Program Launch(const std::wstring& arguments = L"");
    Program() = default;
    Program(Program&& other) noexcept;
    Program& operator=(Program&& other) noexcept;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    bool Started() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    bool IsRunning() const;
    bool WaitForExit(Duration timeout = kTimeout) const;
    std::optional<DWORD> ExitCode() const;   // nothing while running
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Ends every copy of the program left running (found by its windows, or started by Launch).
void KillLeftovers();

// --- waiting and finding windows ---
bool WaitUntil(const std::function<bool()>& condition, Duration timeout = kTimeout);
// Top-level windows with exactly this title (nullptr: any) and class (nullptr: any), of
// process `pid` (0: any).
std::vector<HWND> FindTopWindows(const wchar_t* title, const wchar_t* className = nullptr, DWORD pid = 0);
HWND FindTopWindow(const wchar_t* title, const wchar_t* className = nullptr, DWORD pid = 0);
HWND WaitForWindow(const wchar_t* title, const wchar_t* className = nullptr, Duration timeout = kTimeout,
                   DWORD pid = 0);
bool WaitForNoWindow(const wchar_t* title, const wchar_t* className = nullptr, Duration timeout = kTimeout);
DWORD ProcessOf(HWND window);
// A descendant control with this id (searched depth-first), or nullptr.
HWND Control(HWND parent, int id);

// --- messages ---
// SendMessageTimeout; `ok` reports whether the program answered in time.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool* ok = nullptr,
             Duration timeout = 5s);
bool Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
bool SendCommand(HWND window, int id);   // WM_COMMAND, synchronously
bool PostCommand(HWND window, int id);   // WM_COMMAND, queued (does not wait for modal dialogs)
std::wstring GetText(HWND window);
bool SetText(HWND window, const std::wstring& text);
bool Click(HWND button);                 // BM_CLICK, queued

// --- message boxes and dialogs (#32770) ---
// A visible dialog of process `pid`, optionally with this caption.
HWND WaitForDialog(DWORD pid, const wchar_t* caption = nullptr, Duration timeout = kTimeout);
std::vector<HWND> FindDialogs(DWORD pid, const wchar_t* caption = nullptr);
// A message box's text (its static 65535), else the texts of all its statics, one per line.
std::wstring DialogMessage(HWND dialog);
bool PressButton(HWND dialog, int id);

// --- message windows ---
inline constexpr UINT kOpenRequestMessage = WM_USER + 1;   // to the main window; wParam 1 Outlook, 2 Outlook Express
// The message window of process `pid` that `open` makes appear (one not there before), once its
// status bar shows the counter; nullptr when none came in time.
HWND WaitForNewMessageWindow(DWORD pid, const std::function<void()>& open, Duration timeout = 20s);
// The Outlook add-in's item copy message to the main window (WM_COPYDATA: the entry id as text in
// an 80-byte block); the program's answer, 0 when it did not answer.
LRESULT SendItemCopy(HWND main, const std::string& entryId);

// --- tree views (in the program's process) ---
// The item at `path` (names joined by '/', from a top-level item), expanding on the way; nullptr
// when a name is missing.
HTREEITEM FindTreeItem(HWND tree, const std::wstring& path);
std::wstring TreeItemText(HWND tree, HTREEITEM item);
int TreeItemImage(HWND tree, HTREEITEM item);   // -1 when it cannot be read
bool SelectTreeItem(HWND tree, HTREEITEM item);

// --- status bars ---
// The text of pane `index` of a status bar control in another process.
std::wstring StatusPaneText(HWND statusBar, int index);

// --- registry (the program's user and machine keys) ---
void ResetSettings();   // deletes HKCU\Software\Orvane\Pagelark\Settings
// An account that is set up: user name and the password in its stored (scrambled) form.
bool SetAccount(const std::wstring& user, const std::string& password);
bool SetDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value);
bool SetString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value);
std::optional<DWORD> GetDword(HKEY root, const wchar_t* key, const wchar_t* name);
std::optional<std::wstring> GetString(HKEY root, const wchar_t* key, const wchar_t* name);
bool DeleteValue(HKEY root, const wchar_t* key, const wchar_t* name);
bool DeleteKey(HKEY root, const wchar_t* key);   // with everything below it
inline bool SetSettingDword(const wchar_t* name, DWORD value) {
    return SetDword(HKEY_CURRENT_USER, kSettingsKey, name, value);
}
inline bool SetSettingString(const wchar_t* name, const std::wstring& value) {
    return SetString(HKEY_CURRENT_USER, kSettingsKey, name, value);
}
inline std::optional<DWORD> GetSettingDword(const wchar_t* name) {
    return GetDword(HKEY_CURRENT_USER, kSettingsKey, name);
}
// Stores `clear` (at least one character) as the settings store keeps the password: byte i is
// p[i+1] + p[0], the last one p[0] + 2, written as ANSI bytes.
void StorePassword(const std::string& clear);

// --- pictures ---
// Saves the desktop as a BMP in PAGELARK_SHOTS (or the temporary folder); returns the path.
std::wstring SaveScreenshot(const std::wstring& name);

// --- debug output ---
// Collects OutputDebugString lines of all processes from construction to destruction.
class DebugTrace {
public:
    DebugTrace();
    ~DebugTrace();
    DebugTrace(const DebugTrace&) = delete;
    DebugTrace& operator=(const DebugTrace&) = delete;
    bool Active() const { return active_; }
    // How many lines of process `pid` (0: any) contain `text`.
    int Count(const std::string& text, DWORD pid = 0) const;
    std::vector<std::string> Lines() const;

private:
    void Listen();
    HANDLE mutex_ = nullptr, mapping_ = nullptr, bufferReady_ = nullptr, dataReady_ = nullptr;
    void* view_ = nullptr;
    bool active_ = false;
    std::atomic<bool> stop_{false};
    mutable std::mutex linesLock_;
    std::vector<std::pair<DWORD, std::string>> lines_;
    std::thread listener_;
};

}  // namespace pagelark::blackbox

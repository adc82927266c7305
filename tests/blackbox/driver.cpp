#include "driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "resource_ids.h"

namespace pagelark::blackbox {
namespace {

std::mutex g_launchedLock;
std::set<DWORD> g_launched;   // processes started by Launch, ended by KillLeftovers

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

HKEY OpenKey(HKEY root, const wchar_t* key, REGSAM access, bool create) {
    HKEY opened = nullptr;
    LONG rc = create ? RegCreateKeyExW(root, key, 0, nullptr, 0, access, nullptr, &opened, nullptr)
                     : RegOpenKeyExW(root, key, 0, access, &opened);
    return rc == ERROR_SUCCESS ? opened : nullptr;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// Title without sending WM_GETTEXT (safe even when the owner hangs).
std::wstring TitleOf(HWND window) {
    wchar_t title[512] = {};
    InternalGetWindowText(window, title, 512);
    return title;
}

// The screenshot listener, installed before any test runs.
class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& info) override {
        if (!info.result()->Failed()) return;
        std::wstring name = Widen(std::string(info.test_suite_name()) + "." + info.name());
        for (wchar_t& ch : name)
            if (ch == L'/' || ch == L'\\' || ch == L':') ch = L'_';
        const std::wstring path = SaveScreenshot(name);
        if (!path.empty()) std::printf("screenshot: %ls\n", path.c_str());
    }
};
const bool g_listenerInstalled = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
    return true;
}();

}  // namespace

std::wstring EnvVar(const char* name) {
    const char* value = std::getenv(name);
    return value ? Widen(value) : std::wstring();
}

std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::string ReadFileText(const std::wstring& path) {
    std::string text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

// --- Program ---

Program Program::Launch(const std::wstring& arguments) {
    Program program;
    const std::wstring exe = EnvVar("PAGELARK_EXE");
    const std::wstring dir = EnvVar("PAGELARK_DIR");
    if (exe.empty()) {
        ADD_FAILURE() << "PAGELARK_EXE is not set";
        return program;
    }
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start " << std::string(exe.begin(), exe.end()) << ": error " << GetLastError();
        return program;
    }
    CloseHandle(info.hThread);
    program.process_ = info.hProcess;
    program.pid_ = info.dwProcessId;
    std::lock_guard<std::mutex> lock(g_launchedLock);
    g_launched.insert(program.pid_);
    return program;
}

Program::Program(Program&& other) noexcept : process_(other.process_), pid_(other.pid_) {
    other.process_ = nullptr;
    other.pid_ = 0;
}

Program& Program::operator=(Program&& other) noexcept {
    if (this != &other) {
        if (process_) CloseHandle(process_);
        process_ = other.process_;
        pid_ = other.pid_;
        other.process_ = nullptr;
        other.pid_ = 0;
    }
    return *this;
}

Program::~Program() {
    if (process_) CloseHandle(process_);
}

bool Program::IsRunning() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(Duration timeout) const {
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Program::ExitCode() const {
    DWORD code = 0;
    if (!process_ || IsRunning() || !GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

void Program::Kill() {
    if (!IsRunning()) return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
}

void KillLeftovers() {
    std::set<DWORD> pids;
    {
        std::lock_guard<std::mutex> lock(g_launchedLock);
        pids = g_launched;
        g_launched.clear();
    }
    for (HWND w : FindTopWindows(kMainTitle)) pids.insert(ProcessOf(w));
    for (HWND w : FindTopWindows(nullptr, kFrameClass)) pids.insert(ProcessOf(w));
    pids.erase(GetCurrentProcessId());
    for (DWORD pid : pids) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!process) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
    // The windows of an ended process disappear a moment later.
    WaitForNoWindow(kMainTitle, nullptr, 5s);
}

// --- windows ---

bool WaitUntil(const std::function<bool()>& condition, Duration timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<HWND> FindTopWindows(const wchar_t* title, const wchar_t* className, DWORD pid) {
    struct Query {
        const wchar_t* title;
        const wchar_t* className;
        DWORD pid;
        std::vector<HWND> found;
    } query{title, className, pid, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* q = reinterpret_cast<Query*>(param);
            if (q->pid && ProcessOf(window) != q->pid) return TRUE;
            if (q->className && ClassOf(window) != q->className) return TRUE;
            if (q->title && TitleOf(window) != q->title) return TRUE;
            q->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND FindTopWindow(const wchar_t* title, const wchar_t* className, DWORD pid) {
    auto found = FindTopWindows(title, className, pid);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const wchar_t* title, const wchar_t* className, Duration timeout, DWORD pid) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(title, className, pid)) != nullptr; }, timeout);
    return found;
}

bool WaitForNoWindow(const wchar_t* title, const wchar_t* className, Duration timeout) {
    return WaitUntil([&] { return FindTopWindow(title, className) == nullptr; }, timeout);
}

HWND Control(HWND parent, int id) {
    if (!parent) return nullptr;
    if (HWND direct = GetDlgItem(parent, id)) return direct;
    struct Query {
        int id;
        HWND found;
    } query{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* q = reinterpret_cast<Query*>(param);
            if (GetDlgCtrlID(child) != q->id) return TRUE;
            q->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// --- messages ---

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* ok, Duration timeout) {
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                                              static_cast<UINT>(timeout.count()), &result) != 0;
    if (ok) *ok = answered;
    return static_cast<LRESULT>(result);
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(window, message, wParam, lParam) != 0;
}

bool SendCommand(HWND window, int id) {
    bool ok = false;
    Send(window, WM_COMMAND, MAKEWPARAM(id, 0), 0, &ok);
    return ok;
}

bool PostCommand(HWND window, int id) { return Post(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

std::wstring GetText(HWND window) {
    // WM_GETTEXT is marshalled across processes by the system.
    std::wstring text(4096, L'\0');
    bool ok = false;
    const LRESULT length = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &ok);
    if (!ok) return {};
    text.resize(static_cast<size_t>(length < 0 ? 0 : length));
    return text;
}

bool SetText(HWND window, const std::wstring& text) {
    bool ok = false;
    Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok);
    return ok;
}

bool Click(HWND button) { return Post(button, BM_CLICK); }

// --- dialogs ---

std::vector<HWND> FindDialogs(DWORD pid, const wchar_t* caption) {
    std::vector<HWND> visible;
    for (HWND dialog : FindTopWindows(caption, L"#32770", pid))
        if (IsWindowVisible(dialog)) visible.push_back(dialog);
    return visible;
}

HWND WaitForDialog(DWORD pid, const wchar_t* caption, Duration timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            auto dialogs = FindDialogs(pid, caption);
            found = dialogs.empty() ? nullptr : dialogs.front();
            return found != nullptr;
        },
        timeout);
    return found;
}

std::wstring DialogMessage(HWND dialog) {
    if (HWND text = GetDlgItem(dialog, 0xFFFF)) return GetText(text);
    std::wstring all;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Static") continue;
        std::wstring line = GetText(child);
        if (line.empty()) continue;
        if (!all.empty()) all += L"\n";
        all += line;
    }
    return all;
}

bool PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return Post(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// --- message windows ---

HWND WaitForNewMessageWindow(DWORD pid, const std::function<void()>& open, Duration timeout) {
    const std::vector<HWND> before = FindTopWindows(nullptr, kFrameClass, pid);
    open();
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND frame : FindTopWindows(nullptr, kFrameClass, pid)) {
                if (std::find(before.begin(), before.end(), frame) != before.end()) continue;
                if (GetDlgItem(GetDlgItem(frame, ID_STATUS_BAR), ID_PANE_COUNTER) && IsWindowVisible(frame)) {
                    found = frame;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

LRESULT SendItemCopy(HWND main, const std::string& entryId) {
    constexpr ULONG_PTR kItemCopy = 0xAAAA;
    char block[80] = {};
    std::memcpy(block, entryId.data(), std::min(entryId.size(), sizeof block - 1));
    COPYDATASTRUCT data{kItemCopy, sizeof block, block};
    return Send(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

// --- status bar ---

std::wstring StatusPaneText(HWND statusBar, int index) {
    // SB_GETTEXTW writes into the caller's buffer, which must live in the program's process.
    DWORD pid = ProcessOf(statusBar);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return {};
    std::wstring text;
    bool ok = false;
    const LRESULT info = Send(statusBar, SB_GETTEXTLENGTHW, index, 0, &ok);
    const size_t length = ok ? LOWORD(info) : 0;
    void* remote = VirtualAllocEx(process, nullptr, (length + 1) * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        Send(statusBar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(remote), &ok);
        std::wstring buffer(length + 1, L'\0');
        SIZE_T read = 0;
        if (ok && ReadProcessMemory(process, remote, buffer.data(), buffer.size() * sizeof(wchar_t), &read))
            text.assign(buffer.c_str());
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

// --- registry ---

void ResetSettings() { DeleteKey(HKEY_CURRENT_USER, kSettingsKey); }

bool SetAccount(const std::wstring& user, const std::string& password) {
    if (password.empty() || !SetSettingString(L"UserName", user)) return false;
    // The program's byte transform of the password, stored through the ANSI registry functions.
    const auto first = static_cast<unsigned char>(password[0]);
    std::string stored(password.size(), '\0');
    for (size_t i = 0; i + 1 < password.size(); ++i)
        stored[i] = static_cast<char>(static_cast<unsigned char>(password[i + 1]) + first);
    stored.back() = static_cast<char>(first + 2);
    HKEY key = OpenKey(HKEY_CURRENT_USER, kSettingsKey, KEY_WRITE, true);
    if (!key) return false;
    const bool ok = RegSetValueExA(key, "UserPassword", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                                   static_cast<DWORD>(stored.size() + 1)) == 0;
    RegCloseKey(key);
    return ok;
}

bool SetDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value) {
    HKEY opened = OpenKey(root, key, KEY_WRITE, true);
    if (!opened) return false;
    const bool ok =
        RegSetValueExW(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) == 0;
    RegCloseKey(opened);
    return ok;
}

void StorePassword(const std::string& clear) {
    if (clear.empty()) return;
    const auto first = static_cast<unsigned char>(clear[0]);
    std::string stored(clear.size(), '\0');
    for (size_t i = 0; i + 1 < clear.size(); ++i)
        stored[i] = static_cast<char>(static_cast<unsigned char>(clear[i + 1]) + first);
    stored.back() = static_cast<char>(first + 2);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0) {
        RegSetValueExA(key, "UserPassword", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                       static_cast<DWORD>(stored.size() + 1));
        RegCloseKey(key);
    }
}

bool SetString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    HKEY opened = OpenKey(root, key, KEY_WRITE, true);
    if (!opened) return false;
    const bool ok = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == 0;
    RegCloseKey(opened);
    return ok;
}

std::optional<DWORD> GetDword(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return std::nullopt;
    return value;
}

std::optional<std::wstring> GetString(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD size = 0;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcslen(value.c_str()));
    return value;
}

bool DeleteValue(HKEY root, const wchar_t* key, const wchar_t* name) {
    return RegDeleteKeyValueW(root, key, name) == ERROR_SUCCESS;
}

bool DeleteKey(HKEY root, const wchar_t* key) { return RegDeleteTreeW(root, key) == ERROR_SUCCESS; }

// --- screenshot ---

std::wstring SaveScreenshot(const std::wstring& name) {
    std::wstring folder = EnvVar("PAGELARK_SHOTS");
    if (folder.empty()) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = temp;
    } else if (folder[0] == L'/') {
        folder = L"Z:" + folder;   // a Unix path as Wine sees it
    }
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    const std::wstring path = folder + name + L".bmp";

    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;   // bottom-up, as a BMP file stores rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT);
        SelectObject(memory, old);
        GdiFlush();
        const DWORD stride = ((width * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * height;
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            saved = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
                    WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
                    WriteFile(out, bits, imageSize, &written, nullptr);
            CloseHandle(out);
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved ? path : std::wstring();
}

// --- debug output (the system-wide DBWIN protocol a debug monitor uses) ---

DebugTrace::DebugTrace() {
    mutex_ = CreateMutexW(nullptr, FALSE, L"DBWinMutex");
    bufferReady_ = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
    dataReady_ = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER");
    if (mapping_) view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 4096);
    active_ = bufferReady_ && dataReady_ && view_;
    if (active_) listener_ = std::thread([this] { Listen(); });
}

DebugTrace::~DebugTrace() {
    stop_ = true;
    if (listener_.joinable()) listener_.join();
    if (view_) UnmapViewOfFile(view_);
    for (HANDLE h : {mapping_, dataReady_, bufferReady_, mutex_})
        if (h) CloseHandle(h);
}

void DebugTrace::Listen() {
    SetEvent(bufferReady_);
    while (!stop_) {
        if (WaitForSingleObject(dataReady_, 50) != WAIT_OBJECT_0) continue;
        const auto* block = static_cast<const char*>(view_);
        DWORD pid = 0;
        std::memcpy(&pid, block, sizeof(pid));
        const char* text = block + sizeof(DWORD);
        std::string line(text, strnlen(text, 4096 - sizeof(DWORD)));
        {
            std::lock_guard<std::mutex> lock(linesLock_);
            lines_.emplace_back(pid, line);
        }
        SetEvent(bufferReady_);
    }
}

int DebugTrace::Count(const std::string& text, DWORD pid) const {
    std::lock_guard<std::mutex> lock(linesLock_);
    int count = 0;
    for (const auto& [linePid, line] : lines_)
        if ((pid == 0 || linePid == pid) && line.find(text) != std::string::npos) ++count;
    return count;
}

std::vector<std::string> DebugTrace::Lines() const {
    std::lock_guard<std::mutex> lock(linesLock_);
    std::vector<std::string> result;
    for (const auto& entry : lines_) result.push_back(entry.second);
    return result;
}

}  // namespace pagelark::blackbox

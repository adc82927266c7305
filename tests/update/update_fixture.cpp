#include "update_fixture.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace pagelark::update_tests {

using pagelark::testing::AdminCall;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                            nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    std::wstring out(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                             nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), static_cast<int>(out.size()));
    return out;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string FileVersion(const std::wstring& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (!size) return {};
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                  HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return text;
}

std::optional<DWORD> RunMsiexec(const std::wstring& arguments, std::chrono::milliseconds timeout) {
    std::wstring commandLine = L"msiexec.exe " + arguments;
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    CloseHandle(info.hThread);
    std::optional<DWORD> code;
    if (WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0) {
        DWORD exit = 0;
        GetExitCodeProcess(info.hProcess, &exit);
        code = exit;
    }
    CloseHandle(info.hProcess);
    return code;
}

int CountProcesses(const wchar_t* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32W entry{sizeof entry};
    int count = 0;
    for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, exeName) == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

int CountThreads(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{sizeof entry};
    int count = 0;
    for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == pid) ++count;
    CloseHandle(snapshot);
    return count;
}

namespace {

constexpr const wchar_t* kHostNames[3] = {L"PrimaryServer", L"SecondaryServer", L"WebServer"};

}  // namespace

const std::wstring& StagedExe() {
    static const std::wstring exe = Wide(Env("PAGELARK_EXE"));
    return exe;
}

const std::wstring& StagedDir() {
    static const std::wstring dir = Wide(Env("PAGELARK_DIR"));
    return dir;
}

void UpdateTest::SetUp() {
    StagedExe();
    StagedDir();
    updateHost_ = Env("STANDIN_UPDATE");
    msiDir_ = Wide(Env("PAGELARK_MSI_DIR"));
    if (!standin_.Available() || updateHost_.empty() || msiDir_.empty())
        GTEST_SKIP() << "the stand-in, STANDIN_UPDATE or PAGELARK_MSI_DIR not set";
    bb::KillLeftovers();
    for (int i = 0; i < 3; ++i) savedHosts_[i] = bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, kHostNames[i]);
    AdminCall(standin_, "POST", "/admin/reset", "{}");
    AdminCall(standin_, "POST", "/admin/accounts",
              R"({"user":"updater","password":"secret","mobile":"+491701234567","email":"u@example.com",)"
              R"("credits":50,"acctyp":"11111","active":true})");
    bb::ResetSettings();
    bb::SetSettingDword(L"Language", 9);
    bb::SetSettingString(L"UserName", L"updater");
    bb::StorePassword("secret");
    bb::SetSettingString(L"UserLandCode", L"+49");
    bb::SetSettingString(L"UserMobile", L"1701234567");
    bb::SetSettingString(L"UserEMail", L"u@example.com");
    bb::SetSettingDword(L"UpdateAutoDownload", 0);
    bb::SetSettingDword(L"UpdateAutoInstall", 0);
}

void UpdateTest::TearDown() {
    program_.Kill();
    bb::KillLeftovers();
    if (!standin_.Available()) return;
    AdminCall(standin_, "POST", "/admin/update", R"({"url":""})");
    AdminCall(standin_, "POST", "/admin/update-fault", R"({"mode":"normal"})");
    for (int i = 0; i < 3; ++i)
        if (savedHosts_[i]) bb::SetString(HKEY_LOCAL_MACHINE, kProductKey, kHostNames[i], *savedHosts_[i]);
    bb::ResetSettings();
}

std::optional<DWORD> UpdateTest::InstallPackage(const std::wstring& name) {
    return RunMsiexec(L"/i \"" + PackagePath(name) + L"\" /qn INSTALLDIR=\"" + kInstallDir + L"\\\" PRIMARYSERVER=" +
                      Wide(standin_.primary) + L" SECONDARYSERVER=" + Wide(standin_.secondary) + L" SCID=7");
}

std::optional<DWORD> UpdateTest::UninstallPackage(const std::wstring& name) {
    return RunMsiexec(L"/x \"" + PackagePath(name) + L"\" /qn");
}

void UpdateTest::Offer(const std::string& name, long long filesize) {
    const std::string url = name.empty() ? "" : "http://" + updateHost_ + "/pagelark/updates/" + name;
    AdminCall(standin_, "POST", "/admin/update",
              R"({"url":")" + url + R"(","filesize":)" + std::to_string(filesize) + "}");
}

void UpdateTest::DownloadMode(const std::string& mode, int delayMs) {
    AdminCall(standin_, "POST", "/admin/update-fault",
              R"({"mode":")" + mode + R"(","delay_ms":)" + std::to_string(delayMs) + "}");
}

void UpdateTest::StartAndOpenWindow(const std::wstring& exe, const std::wstring& dir) {
    _wputenv_s(L"PAGELARK_EXE", exe.c_str());
    _wputenv_s(L"PAGELARK_DIR", dir.c_str());
    program_ = bb::Program::Launch();
    ASSERT_TRUE(program_.Started());
    pid_ = program_.Pid();
    HWND main = bb::WaitForWindow(bb::kMainTitle, nullptr, 20s, pid_);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_USER + 1, 2, 0);   // a message window for Outlook Express
}

HWND UpdateTest::WaitForUpdateWindow(std::chrono::milliseconds timeout) {
    HWND window = nullptr;
    bb::WaitUntil([&] { return (window = UpdateWindow()) != nullptr; }, timeout);
    return window;
}

HWND UpdateTest::WaitForBox(std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    bb::WaitUntil(
        [&] {
            for (HWND w : bb::FindTopWindows(nullptr, L"#32770", pid_))
                if (IsWindowVisible(w) && GetDlgItem(w, 0xFFFF)) box = w;
            return box != nullptr;
        },
        timeout);
    return box;
}

std::wstring UpdateTest::BoxText(HWND box) {
    return bb::GetText(GetDlgItem(box, 0xFFFF));
}

std::string UpdateTest::AnswerBox(int button, std::chrono::milliseconds timeout) {
    HWND box = WaitForBox(timeout);
    if (!box) return "<no box>";
    const std::string text = Utf8(BoxText(box));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    bb::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5s);
    return text;
}

}  // namespace pagelark::update_tests

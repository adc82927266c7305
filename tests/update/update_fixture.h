#pragma once
// Program updates through the real program, the local stand-in and Windows Installer under Wine.
//
// Environment (scripts/test.sh): STANDIN_ADMIN, STANDIN_PRIMARY/SECONDARY/WEB, STANDIN_UPDATE
// (the address whose port 80 serves the packages in the stand-in's updates folder) and
// PAGELARK_MSI_DIR (the built packages: Pagelark.msi, Pagelark-next.msi, ...). The stand-in's
// updates folder holds Pagelark-next.msi, Pagelark-next-unsigned.msi, Pagelark-next-tampered.msi.
//
// The packages install into a folder of their own, and the fixture puts the installation values
// the other black-box tests rely on back when it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "../win/service_standin_admin.h"
#include "driver.h"
#include "resource_ids.h"

namespace pagelark::update_tests {

namespace bb = pagelark::blackbox;
using namespace std::chrono_literals;

inline constexpr wchar_t kInstallDir[] = L"C:\\Pagelark Update Test";
inline constexpr wchar_t kProductKey[] = L"Software\\Orvane\\Pagelark";
inline constexpr wchar_t kUpdateClass[] = L"Pagelark.Update";
inline constexpr int kStatusText = IDC_UPDATE_STATUS, kProgress = IDC_UPDATE_PROGRESS;

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);
std::string Env(const char* name);
// "a.b.c.d" of an executable's version resource, or "" when it has none.
std::string FileVersion(const std::wstring& exe);
// Runs msiexec with `arguments` and waits; its exit code (or nullopt on a time-out).
std::optional<DWORD> RunMsiexec(const std::wstring& arguments, std::chrono::milliseconds timeout = 120s);
// Processes of this name now running.
int CountProcesses(const wchar_t* exeName);
// Threads of a process.
int CountThreads(DWORD pid);

// The staged program of the other black-box tests, as the environment named it at the start
// (StartAndOpenWindow points the environment at whichever copy it starts).
const std::wstring& StagedExe();
const std::wstring& StagedDir();

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // msiexec /i of a built package into kInstallDir with the stand-in's hosts; its exit code.
    std::optional<DWORD> InstallPackage(const std::wstring& name);
    std::optional<DWORD> UninstallPackage(const std::wstring& name);
    std::wstring PackagePath(const std::wstring& name) const { return msiDir_ + L"\\" + name; }
    std::wstring InstalledExe() const { return std::wstring(kInstallDir) + L"\\Pagelark.exe"; }
    // The stand-in names this package of its updates folder in its status replies.
    void Offer(const std::string& name, long long filesize = 0);
    void DownloadMode(const std::string& mode, int delayMs = 0);

    // Starts the given program copy and opens one message window, whose status request makes
    // the automatic update check.
    void StartAndOpenWindow(const std::wstring& exe, const std::wstring& dir);
    HWND UpdateWindow() const { return bb::FindTopWindow(nullptr, kUpdateClass, pid_); }
    HWND WaitForUpdateWindow(std::chrono::milliseconds timeout = 15s);
    // The next visible message box of the program, its text and the box.
    HWND WaitForBox(std::chrono::milliseconds timeout = 15s);
    static std::wstring BoxText(HWND box);
    std::string AnswerBox(int button, std::chrono::milliseconds timeout = 15s);

    pagelark::testing::StandinAddresses standin_;
    std::string updateHost_;
    std::wstring msiDir_;
    bb::Program program_;
    DWORD pid_ = 0;
    std::optional<std::wstring> savedHosts_[3];
};

}  // namespace pagelark::update_tests

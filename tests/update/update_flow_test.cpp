// Program updates end to end: the MSI installs, the stand-in offers the next version, the update
// window downloads and checks it, Windows Installer replaces the program, uninstall cleans up.
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "update_fixture.h"

namespace pagelark::update_tests {
namespace {

using pagelark::testing::AdminCall;

const std::string kOfferQuestion = "A new version of Pagelark is available. Do you want to download it now?";
const std::string kClosingQuestion = "Pagelark will be closed now.\nPlease save all open SMS messages.";
const std::string kDownloadError = "Error during the download of the update!";
const std::string kRefused =
    "The downloaded update is not signed by Orvane, or it has been changed since it was signed. It was not installed.";

std::wstring KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

std::wstring DayFolder() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t day[16];
    swprintf(day, 16, L"%02d%02d%02d", now.wYear % 100, now.wMonth, now.wDay);
    return KnownFolder(CSIDL_APPDATA) + L"\\Pagelark\\Updates\\" + day;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FirstLine(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return "<missing>";
    char line[1024] = {};
    fgets(line, sizeof line, file);
    fclose(file);
    return line;
}

std::wstring Status(HWND window) { return bb::GetText(GetDlgItem(window, kStatusText)); }

// What a failed replacement leaves behind: the program folder's files, renames left for the next
// start of Windows, the processes still running.
std::string InstallState() {
    std::string state = "files:";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((std::wstring(kInstallDir) + L"\\*").c_str(), &found);
    for (BOOL ok = search != INVALID_HANDLE_VALUE; ok; ok = FindNextFileW(search, &found))
        state += " " + Utf8(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    HKEY key = nullptr;
    wchar_t renames[2048] = {};
    DWORD size = sizeof renames - sizeof(wchar_t);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key) == 0) {
        RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(renames), &size);
        RegCloseKey(key);
    }
    for (DWORD i = 0; i + 1 < size / sizeof(wchar_t); ++i)
        if (!renames[i]) renames[i] = L'|';
    state += "\nrenames at restart: " + Utf8(renames);
    state += "\nmsiexec " + std::to_string(CountProcesses(L"msiexec.exe")) + ", Pagelark " +
             std::to_string(CountProcesses(L"Pagelark.exe"));
    return state;
}

// The version Windows Installer has registered for the product ("Programs and Features").
std::wstring RegisteredVersion() {
    return bb::GetString(HKEY_LOCAL_MACHINE,
                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{8E1F7A52-3C4B-4E1D-9A7F-2B6C5D4E3F21}",
                         L"DisplayVersion")
        .value_or(L"");
}

bool Downloaded(HWND window) { return Status(window).find(L"successfully downloaded") != std::wstring::npos; }


TEST_F(UpdateTest, InstallOfferDownloadInstallReplacesTheProgramAndUninstallRemovesIt) {
    UninstallPackage(L"Pagelark.msi");   // a leftover of an interrupted run
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(InstallPackage(L"Pagelark.msi"), 0u);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("[ figure ] msiexec /i Pagelark.msi /qn under Wine: %.2f s\n", seconds);

    const std::wstring dir = kInstallDir;
    EXPECT_TRUE(Exists(InstalledExe()));
    EXPECT_TRUE(Exists(dir + L"\\pagelark-cli.exe"));   // the command-line sender, beside the program
    EXPECT_TRUE(Exists(dir + L"\\Data\\check_codes.txt"));
    EXPECT_EQ(bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, L"SCID").value_or(L"-"), L"7");
    EXPECT_EQ(Utf8(bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, L"PrimaryServer").value_or(L"-")), standin_.primary);
    EXPECT_EQ(bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, L"ProductLanguage").value_or(L"-"), L"en");
    EXPECT_EQ(bb::GetString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Pagelark")
                  .value_or(L"-"),
              L"\"" + dir + L"\\Pagelark.exe\" /auto");
    // Windows puts a per-machine shortcut into the common Programs folder, Wine 8 into the user's.
    std::wstring shortcut = KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\Pagelark.lnk";
    if (!Exists(shortcut)) shortcut = KnownFolder(CSIDL_PROGRAMS) + L"\\Pagelark.lnk";
    EXPECT_TRUE(Exists(shortcut));
    const std::string oldVersion = FileVersion(InstalledExe());
    EXPECT_EQ(oldVersion, "1.0.0.1");

    DeleteFileW((DayFolder() + L"\\Update.log").c_str());
    Offer("Pagelark-next.msi");
    StartAndOpenWindow(InstalledExe(), dir);
    EXPECT_EQ(AnswerBox(IDYES), kOfferQuestion);
    HWND window = WaitForUpdateWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(bb::WaitUntil([&] { return Downloaded(window); }, 30s)) << Utf8(Status(window));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDOK)));
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(AnswerBox(IDOK), kClosingQuestion);
    EXPECT_TRUE(program_.WaitForExit(20s)) << "the program did not quit for the update";
    // The program file is read only once Windows Installer has registered the new version and
    // ended: reading a file's version opens it, and an installer that finds the file open leaves
    // the new one for the next restart of Windows.
    EXPECT_TRUE(bb::WaitUntil([] { return RegisteredVersion() == L"1.0.1" && CountProcesses(L"msiexec.exe") == 0; },
                              90s))
        << "registered version " << Utf8(RegisteredVersion());
    EXPECT_EQ(FileVersion(InstalledExe()), "1.0.1.1") << InstallState();
    // The update keeps the values of the first installation rather than the package's defaults.
    EXPECT_EQ(bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, L"SCID").value_or(L"-"), L"7");
    EXPECT_EQ(Utf8(bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, L"PrimaryServer").value_or(L"-")), standin_.primary);
    // Windows Installer logs to the path the program gave it ("/l*+" appends to the program's
    // first line on Windows; Wine 8 starts the file anew).
    const std::string logStart = FirstLine(DayFolder() + L"\\Update.log");
    EXPECT_TRUE(logStart.rfind("msiexec /i \"", 0) == 0 || logStart.find(": ") != std::string::npos) << logStart;
    // The updated program starts and says so.
    StartAndOpenWindow(InstalledExe(), dir);
    EXPECT_TRUE(program_.IsRunning());
    program_.Kill();
    bb::KillLeftovers();

    ASSERT_EQ(UninstallPackage(L"Pagelark-next.msi"), 0u);
    EXPECT_FALSE(Exists(InstalledExe()));
    EXPECT_FALSE(Exists(dir + L"\\pagelark-cli.exe"));
    EXPECT_FALSE(Exists(dir + L"\\Data\\check_codes.txt"));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_FALSE(bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, L"SCID"));
    EXPECT_FALSE(bb::GetString(HKEY_LOCAL_MACHINE, kProductKey, L"PrimaryServer"));
    EXPECT_FALSE(bb::GetString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Pagelark"));
}

TEST_F(UpdateTest, WithBothAutoFlagsOnlyTheClosingQuestionAppearsEvenWithoutALength) {
    bb::SetSettingDword(L"UpdateAutoDownload", 1);
    bb::SetSettingDword(L"UpdateAutoInstall", 1);
    DownloadMode("nolength");
    Offer("Pagelark-next.msi");
    StartAndOpenWindow(StagedExe(), StagedDir());
    // Cancel keeps the window and the package; nothing is installed.
    EXPECT_EQ(AnswerBox(IDCANCEL, 30s), kClosingQuestion);
    HWND window = UpdateWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Downloaded(window));
    EXPECT_EQ(CountProcesses(L"msiexec.exe"), 0);
    EXPECT_TRUE(program_.IsRunning());
}

TEST_F(UpdateTest, UnsignedTamperedAndUntrustedPackagesAreRefusedAndNothingIsRun) {
    bb::SetSettingDword(L"UpdateAutoDownload", 1);
    bb::SetSettingDword(L"UpdateAutoInstall", 1);
    for (const char* package :
         {"Pagelark-next-unsigned.msi", "Pagelark-next-tampered.msi", "Pagelark-next-untrusted.msi"}) {
        Offer(package);
        StartAndOpenWindow(StagedExe(), StagedDir());
        HWND box = WaitForBox(30s);
        ASSERT_NE(box, nullptr) << package;
        EXPECT_EQ(Utf8(bb::GetText(box)), "Fehler") << package;
        EXPECT_EQ(AnswerBox(IDOK), kRefused) << package;
        HWND window = UpdateWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDOK)));
        EXPECT_FALSE(Exists(DayFolder() + L"\\Pagelark.msi")) << package;
        EXPECT_EQ(CountProcesses(L"msiexec.exe"), 0);
        program_.Kill();
        bb::KillLeftovers();
    }
}

TEST_F(UpdateTest, AShortDownloadIsReportedAndNoFileIsWritten) {
    bb::SetSettingDword(L"UpdateAutoDownload", 1);
    DeleteFileW((DayFolder() + L"\\Pagelark.msi").c_str());
    DownloadMode("short");
    Offer("Pagelark-next.msi");
    StartAndOpenWindow(StagedExe(), StagedDir());
    HWND box = WaitForBox(30s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Utf8(bb::GetText(box)), "Fehler");
    EXPECT_EQ(AnswerBox(IDOK), kDownloadError);
    EXPECT_FALSE(Exists(DayFolder() + L"\\Pagelark.msi"));
    EXPECT_FALSE(Exists(DayFolder() + L"\\Pagelark.msi.part"));
    HWND window = UpdateWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDOK)));
}

TEST_F(UpdateTest, CancelDuringAStalledDownloadClosesAtOnceAndLeavesNoThread) {
    bb::SetSettingDword(L"UpdateAutoDownload", 1);
    DownloadMode("delay", 4000);
    Offer("Pagelark-next.msi");
    StartAndOpenWindow(StagedExe(), StagedDir());
    HWND window = WaitForUpdateWindow();
    ASSERT_NE(window, nullptr);
    // Half the package has arrived; the rest is held back by the stand-in.
    ASSERT_TRUE(bb::WaitUntil([&] { return Status(window).find(L"k / ") != std::wstring::npos; }, 15s));
    std::this_thread::sleep_for(300ms);
    const int threadsWhileDownloading = CountThreads(pid_);
    const auto cancelled = std::chrono::steady_clock::now();
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(bb::WaitUntil([&] { return !IsWindow(window); }, 5s));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - cancelled).count();
    EXPECT_LT(seconds, 1.0);
    // The worker ends at the latest when its blocked read returns (Wine does not end it on close),
    // and leaves nothing behind: no box, no package.
    EXPECT_TRUE(bb::WaitUntil([&] { return CountThreads(pid_) < threadsWhileDownloading; }, 8s))
        << "threads: " << CountThreads(pid_) << " while downloading: " << threadsWhileDownloading;
    EXPECT_EQ(WaitForBox(300ms), nullptr);
    EXPECT_FALSE(Exists(DayFolder() + L"\\Pagelark.msi.part"));
    EXPECT_TRUE(program_.IsRunning());
}

TEST_F(UpdateTest, ASpanishUserSeesOneUpdateWindowAndCheckNowDoesNothingWhileItIsOpen) {
    bb::SetSettingDword(L"Language", 10);
    bb::SetSettingDword(L"UpdateAutoDownload", 1);
    DownloadMode("delay", 30000);
    Offer("Pagelark-next.msi");
    StartAndOpenWindow(StagedExe(), StagedDir());
    HWND window = WaitForUpdateWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(bb::GetText(window), L"Pagelark - Actualización");
    // Options, page Updates, "Check Now": the open window is recognised, nothing else opens.
    HWND main = bb::FindTopWindow(bb::kMainTitle, nullptr, pid_);
    PostMessageW(main, WM_COMMAND, ID_OPTIONS, 0);
    HWND sheet = nullptr;
    ASSERT_TRUE(bb::WaitUntil([&] {
        for (HWND w : bb::FindTopWindows(nullptr, L"#32770", pid_))
            if (IsWindowVisible(w) && !GetDlgItem(w, 0xFFFF)) sheet = w;
        return sheet != nullptr;
    }));
    SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
    HWND checkNow = nullptr;
    ASSERT_TRUE(bb::WaitUntil([&] {
        EnumChildWindows(
            sheet,
            [](HWND child, LPARAM found) {
                if (GetDlgCtrlID(child) == IDC_UPDATE_CHECK_NOW && IsWindowVisible(child)) *reinterpret_cast<HWND*>(found) = child;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&checkNow));
        return checkNow != nullptr;
    }));
    PostMessageW(checkNow, BM_CLICK, 0, 0);
    std::this_thread::sleep_for(1500ms);   // the check asks the service first
    EXPECT_EQ(bb::FindTopWindows(nullptr, kUpdateClass, pid_).size(), 1u);
    EXPECT_EQ(WaitForBox(500ms), nullptr);
    EXPECT_TRUE(IsWindow(sheet)) << "the sheet closes only when a window was opened";
}

TEST_F(UpdateTest, AnHttpsAddressIsDownloadedOverHttps) {
    bb::SetSettingDword(L"UpdateAutoDownload", 1);
    AdminCall(standin_, "POST", "/admin/update",
              R"({"url":"https://)" + standin_.primary + R"(/pagelark/updates/Pagelark-next.msi","filesize":0})");
    StartAndOpenWindow(StagedExe(), StagedDir());
    HWND window = WaitForUpdateWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(bb::WaitUntil([&] { return Downloaded(window); }, 30s)) << Utf8(Status(window));
}

}  // namespace
}  // namespace pagelark::update_tests

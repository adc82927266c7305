#include "app/update_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "app/application_win.h"
#include "app/installer_launch_win.h"
#include "common/handle_win.h"
#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "service/country_file_download_win.h"
#include "service/package_verify_win.h"
#include "service/update_download_win.h"
#include "service/update_progress.h"
#include "service/update_rules.h"
#include "ui/common_controls_win.h"
#include "ui/resources_win.h"

namespace pagelark {
namespace {

// How long Cancel waits for the worker after closing its handles. Windows ends a blocked read
// when its handle is closed; Wine 8 does not, and there the worker ends (posting nothing) when
// the read returns or times out, while the window has long closed.
constexpr DWORD kCancelWaitMs = 200;

bool RegisterUpdateWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefDlgProcW;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_UPDATE));
        wc.lpszClassName = kUpdateWindowClass;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

std::wstring DayFolder(const std::string& programDir) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return Widen(UpdateDownloadFolder(programDir)) + L"\\" + Widen(UpdateDayFolder(now.wYear, now.wMonth, now.wDay));
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

bool WriteUpdateLog(const std::wstring& logPath, const std::string& parameters) {
    const KernelHandle file = OwnFile(CreateFileW(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const std::string line = UpdateLogFirstLine(parameters);
    DWORD written = 0;
    return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != 0;
}

}  // namespace

HWND FindUpdateWindow() {
    return FindWindowW(kUpdateWindowClass, nullptr);
}

HWND CUpdateWindow::Open(Application& app, HWND owner, bool foreground) {
    const DLGTEMPLATE* dialog = FindDialogTemplate(IDD_UPDATE);
    EnsureCommonControls();
    if (!dialog || !RegisterUpdateWindowClass()) return nullptr;
    auto* window = new CUpdateWindow(app);
    HWND hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog, owner, &CUpdateWindow::DialogProc,
                                           reinterpret_cast<LPARAM>(window));
    if (!hwnd) {
        delete window;
        return nullptr;
    }
    ShowWindow(hwnd, SW_SHOW);
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (foreground) SetForegroundWindow(hwnd);
    return hwnd;
}

CUpdateWindow::~CUpdateWindow() {
    if (download_) download_->Cancel(kCancelWaitMs);
}

INT_PTR CALLBACK CUpdateWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CUpdateWindow*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
        self->OnInit();
        return TRUE;
    }
    auto* self = reinterpret_cast<CUpdateWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
    case kUpdateProgressMessage: self->OnProgress(); return TRUE;
    case kUpdateFinishedMessage: self->OnFinished(); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) self->OnInstall();
        else if (LOWORD(wParam) == IDCANCEL) self->OnCancel();
        else return FALSE;
        return TRUE;
    case WM_CLOSE: self->OnCancel(); return TRUE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        delete self;
        return FALSE;
    default: return FALSE;
    }
}

void CUpdateWindow::OnInit() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = [instance](int size) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_UPDATE), IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(GetSystemMetrics(SM_CXICON))));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon(GetSystemMetrics(SM_CXSMICON))));
    SetDlgItemTextW(hwnd_, IDCANCEL, LoadText(IDS_CANCEL).c_str());
    SetDlgItemTextW(hwnd_, IDOK, LoadText(IDS_UPDATE_INSTALL).c_str());
    EnableWindow(GetDlgItem(hwnd_, IDOK), FALSE);

    UpdateDownloadRequest request;
    request.url = app_.service().UpdateUrl();
    request.announcedSize = app_.service().UpdateSize();
    request.dayFolder = DayFolder(app_.programDir());
    request.threadLocale = app_.language().locale;
    request.window = hwnd_;
    download_ = UpdateDownload::Start(std::move(request));
    if (!download_) ShowError(LoadText(IDS_UPDATE_DOWNLOAD_ERROR));
}

void CUpdateWindow::SetStatus(const std::wstring& text) {
    SetDlgItemTextW(hwnd_, IDC_UPDATE_STATUS, text.c_str());
}

void CUpdateWindow::ShowError(const std::wstring& text) {
    MessageBoxW(hwnd_, text.c_str(), LoadText(IDS_UPDATE_ERROR_CAPTION).c_str(), MB_OK | MB_ICONERROR);
}

void CUpdateWindow::OnProgress() {
    if (!download_) return;
    download_->ProgressSeen();
    const UpdateDownloadSnapshot state = download_->Snapshot();
    if (!state.connected || state.result != UpdateDownloadResult::Running) return;
    const std::string status = Narrow(LoadText(IDS_UPDATE_DOWNLOADING));
    HWND progress = GetDlgItem(hwnd_, IDC_UPDATE_PROGRESS);
    if (state.size) {
        SendMessageW(progress, PBM_SETRANGE32, 0, kUpdateProgressSteps);
        SendMessageW(progress, PBM_SETPOS, state.steps, 0);
        SetStatus(Widen(KnownSizeProgressText(status, state.received, state.size)));
    } else {
        ShowWindow(progress, SW_HIDE);
        SetStatus(Widen(UnknownSizeProgressText(status, state.received)));
    }
}

void CUpdateWindow::OnFinished() {
    if (!download_) return;
    const UpdateDownloadSnapshot state = download_->Snapshot();
    switch (state.result) {
    case UpdateDownloadResult::Downloaded:
        packagePath_ = state.packagePath;
        SetStatus(LoadText(IDS_UPDATE_DOWNLOADED));
        EnableWindow(GetDlgItem(hwnd_, IDOK), TRUE);
        ShowWindow(GetDlgItem(hwnd_, IDC_UPDATE_PROGRESS), SW_HIDE);
        if (app_.settings().UpdateAutoInstall) PostMessageW(hwnd_, WM_COMMAND, IDOK, 0);
        else SetForegroundWindow(hwnd_);
        return;
    case UpdateDownloadResult::NoUpdate: SetStatus(LoadText(IDS_SETUP_NO_UPDATE)); return;
    case UpdateDownloadResult::NoConnection: ShowError(LoadText(IDS_NO_CONNECTION)); return;
    case UpdateDownloadResult::NoReply: ShowError(LoadText(IDS_SERVER_DOES_NOT_REPLY)); return;
    case UpdateDownloadResult::RequestFailed: {
        // "%s%s" is host and path; requestTarget holds both.
        std::wstring text = LoadText(IDS_UPDATE_REQUEST_ERROR);
        const size_t at = text.find(L"%s%s");
        if (at != std::wstring::npos) text.replace(at, 4, Widen(state.requestTarget));
        ShowError(text);
        return;
    }
    case UpdateDownloadResult::ReadFailed: ShowError(LoadText(IDS_UPDATE_DOWNLOAD_ERROR)); return;
    case UpdateDownloadResult::Refused: ShowError(LoadText(IDS_UPDATE_NOT_TRUSTED)); return;
    default: return;
    }
}

void CUpdateWindow::OnInstall() {
    if (packagePath_.empty() || installing_) return;
    if (MessageBoxW(hwnd_, LoadText(IDS_UPDATE_CLOSING).c_str(), LoadText(IDS_APP_TITLE).c_str(),
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    // Checked again right before the installer runs: the file may have changed since the download.
    if (VerifyUpdatePackage(packagePath_) != PackageTrust::Trusted) {
        ShowError(LoadText(IDS_UPDATE_NOT_TRUSTED));
        EnableWindow(GetDlgItem(hwnd_, IDOK), FALSE);
        return;
    }
    const std::wstring logPath = FolderOf(packagePath_) + L"\\Update.log";
    const std::string parameters = MsiexecParameters(Narrow(packagePath_), Narrow(logPath));
    WriteUpdateLog(logPath, parameters);
    const std::wstring wideParameters = Widen(parameters);
    // Started directly only when the waiting copy cannot be: the files in use are then replaced
    // at the next restart of Windows.
    if (!StartInstallerAfterExit(FolderOf(packagePath_), wideParameters)) {
        const auto started = reinterpret_cast<INT_PTR>(
            ShellExecuteW(hwnd_, nullptr, L"msiexec", wideParameters.c_str(), nullptr, SW_SHOWNORMAL));
        if (started <= 32) {
            ShowError(LoadText(IDS_UPDATE_DOWNLOAD_ERROR));
            return;
        }
    }
    installing_ = true;
    app_.QuitForUpdate();
    DestroyWindow(hwnd_);
}

void CUpdateWindow::OnCancel() {
    // Stops the worker between two reads, or ends a blocked read by closing its handles.
    if (download_) download_->Cancel(kCancelWaitMs);
    DestroyWindow(hwnd_);
}

}  // namespace pagelark

#pragma once
// The update window (IDD_UPDATE): a modeless window that downloads the offered package on a
// worker, shows its progress, and hands the package to Windows Installer. It deletes itself
// when it is destroyed. At most one exists; it is found by its own window class, whatever
// language its caption is in.
#include <windows.h>

#include <memory>
#include <string>

namespace pagelark {

class Application;
class UpdateDownload;

inline constexpr wchar_t kUpdateWindowClass[] = L"Pagelark.Update";

// The open update window of this desktop, or nullptr.
HWND FindUpdateWindow();

// The update check: true when the update window was opened.
bool CheckForUpdate(Application& app, bool manual);

class CUpdateWindow {
public:
    // Creates and shows the window and starts the download; nullptr when it cannot be created.
    static HWND Open(Application& app, HWND owner, bool foreground);

private:
    explicit CUpdateWindow(Application& app) : app_(app) {}
    ~CUpdateWindow();
    CUpdateWindow(const CUpdateWindow&) = delete;
    CUpdateWindow& operator=(const CUpdateWindow&) = delete;

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void OnProgress();
    void OnFinished();
    void OnInstall();
    void OnCancel();
    void ShowError(const std::wstring& text);
    void SetStatus(const std::wstring& text);

    Application& app_;
    HWND hwnd_ = nullptr;
    std::shared_ptr<UpdateDownload> download_;
    std::wstring packagePath_;
    bool installing_ = false;
};

}  // namespace pagelark

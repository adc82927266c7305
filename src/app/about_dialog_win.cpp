#include "app/about_dialog_win.h"

#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "ui/resources_win.h"

namespace pagelark {

CAboutDlg::CAboutDlg(std::string versionText) : Dialog(IDD_ABOUTBOX), versionText_(std::move(versionText)) {}

BOOL CAboutDlg::OnInitDialog() {
    const std::wstring line = LoadText(IDS_ABOUT_VERSION) + Widen(versionText_);
    SetItemText(IDC_ABOUT_VERSION, line.c_str());
    // Opened from the tray menu over a hidden owner: bring it to the front.
    SetForegroundWindow(hwnd());
    return TRUE;
}

}  // namespace pagelark

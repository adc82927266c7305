#pragma once
// The about box (IDD_ABOUTBOX): icon, name, a line about the program and "Version: " with the
// version text in control IDC_ABOUT_VERSION.
#include <string>

#include "ui/dialog_win.h"

namespace pagelark {

class CAboutDlg final : public Dialog {
public:
    explicit CAboutDlg(std::string versionText);

private:
    BOOL OnInitDialog() override;
    std::string versionText_;
};

}  // namespace pagelark

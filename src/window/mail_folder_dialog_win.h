#pragma once
// The folder chooser of Move to Folder and Copy to Folder (IDD_FOLDERS).
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "mailclients/mail_bridge.h"
#include "ui/dialog_win.h"
#include "ui/image_list_win.h"

namespace pagelark {

class CFoldersDlg : public Dialog {
public:
    // `folders` outlives the dialog. Pictures: the 5-image strip up to Outlook 10, else 17 images.
    CFoldersDlg(const std::vector<MailFolder>& folders, std::wstring caption, int outlookVersion);

    // The chosen folder after OK.
    const MailFolder* chosen() const { return chosen_; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification, HWND control) override;

private:
    void AddNodes(HWND tree, HTREEITEM parent, const std::vector<MailFolder>& nodes);

    const std::vector<MailFolder>& folders_;
    std::wstring caption_;
    int outlookVersion_;
    int imageCount_ = 0;
    ImageListHandle images_;
    const MailFolder* chosen_ = nullptr;
};

// Shows `folders` under the caption `captionId`; the chosen folder's id, nothing on Cancel.
std::optional<std::string> ChooseMailFolder(HWND owner, const std::vector<MailFolder>& folders, int captionId);

}  // namespace pagelark

#pragma once
// The folder dialog of Move to Folder and Copy to Folder.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "mailclients/mail_bridge.h"

namespace pagelark {

// Shows `folders` under the caption `captionId`; the chosen folder's id, nothing on Cancel.
std::optional<std::string> ChooseMailFolder(HWND owner, const std::vector<MailFolder>& folders, int captionId);

}  // namespace pagelark

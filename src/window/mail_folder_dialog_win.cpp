#include "window/mail_folder_dialog_win.h"

namespace pagelark {

// The folder dialog comes with the Outlook automation; no folder is chosen until then.
std::optional<std::string> ChooseMailFolder(HWND, const std::vector<MailFolder>&, int) { return std::nullopt; }

}  // namespace pagelark

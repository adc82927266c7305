#pragma once
// Entry points of the setup wizard and the options sheet: the application's state handed to the
// pages as their SetupEnvironment.
#include <windows.h>

#include "setup/config_pages_win.h"

namespace pagelark {

class Application;

// The first-run wizard (setup command). Returns when the wizard has closed, however it ended.
void RunSetupWizard(Application& app, HWND owner);
// The options sheet (command "Options") over `owner`; `display` is the credit display of the
// message window that opened it (empty for the notification icon's menu).
void RunOptionsSheet(Application& app, HWND owner, const CreditsDisplay& display);

}  // namespace pagelark

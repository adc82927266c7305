#pragma once
// Entry points of the setup wizard and the options sheet, called by the hidden main window.
#include <windows.h>

namespace pagelark {

class Application;

// The first-run wizard (setup command). Returns when the wizard has closed, however it ended.
void RunSetupWizard(Application& app, HWND owner);
// The options sheet (command "Options").
void RunOptionsSheet(Application& app, HWND owner);

}  // namespace pagelark

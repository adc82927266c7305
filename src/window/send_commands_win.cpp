#include "window/send_commands_win.h"

namespace pagelark {

// Placeholders until sending, saving and printing exist.
void OnSendCommand(CMainFrame&) {}
void OnSaveAsCommand(CMainFrame&) {}
void OnPrintCommand(CMainFrame&) {}

}  // namespace pagelark

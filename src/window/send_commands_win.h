#pragma once
// The message window's Send, Save as and Print commands.
namespace pagelark {

class CMainFrame;

void OnSendCommand(CMainFrame& frame);     // ID_SEND
void OnSaveAsCommand(CMainFrame& frame);   // ID_SAVE_AS
void OnPrintCommand(CMainFrame& frame);    // ID_PRINT

}  // namespace pagelark

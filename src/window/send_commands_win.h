#pragma once
// The message window's Send, Save as and Print commands.
namespace pagelark {

class CMainFrame;

void OnSendCommand(CMainFrame& frame);     // 32801
void OnSaveAsCommand(CMainFrame& frame);   // 57604
void OnPrintCommand(CMainFrame& frame);    // 57607

}  // namespace pagelark

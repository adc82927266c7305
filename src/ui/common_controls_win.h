#pragma once
// The common controls are registered when the first window that holds one is made, not at start:
// a program that only shows its tray icon never loads comctl32 (it is delay-loaded).
namespace pagelark {

// Registers the control classes the dialogs, bars and sheets use; the first call does the work.
void EnsureCommonControls();

}  // namespace pagelark

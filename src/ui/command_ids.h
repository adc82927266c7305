#pragma once
// Command numbers of the message window. They are shared with the menus, toolbars and
// accelerators in resources/templates/toolkit.rc.in, which repeat them as literals.
namespace pagelark::command {

inline constexpr int kNew = 57600;
inline constexpr int kSend = 32801;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kDelete = 32802;
inline constexpr int kMoveToFolder = 32803;
inline constexpr int kCopyToFolder = 32804;
inline constexpr int kPrint = 57607;
inline constexpr int kClose = 57602;
inline constexpr int kUndo = 57643;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kSelectAll = 57642;
inline constexpr int kSpellChecking = 32776;
inline constexpr int kCheckNames = 32808;
inline constexpr int kAddressBook = 32806;
inline constexpr int kOptions = 32807;
inline constexpr int kHelp = 57670;
inline constexpr int kAbout = 57664;
inline constexpr int kHideIcon = 32781;
inline constexpr int kExit = 57665;
inline constexpr int kSetup = 32774;

// Dialog bar buttons whose enabled state follows the same snapshot.
inline constexpr int kToButton = 1000;
inline constexpr int kCcButton = 1002;

}  // namespace pagelark::command

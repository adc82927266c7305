#pragma once
// The commands of the message window and the application, under the names the C++ code uses;
// their numbers are written once, in resources/templates/toolkit.rc.in and resources/texts/toolkit.txt.
#include "resource_ids.h"

namespace pagelark::command {

inline constexpr int kNew = ID_NEW;
inline constexpr int kSend = ID_SEND;
inline constexpr int kSave = ID_SAVE;
inline constexpr int kSaveAs = ID_SAVE_AS;
inline constexpr int kDelete = ID_DELETE;
inline constexpr int kMoveToFolder = ID_MOVE_TO_FOLDER;
inline constexpr int kCopyToFolder = ID_COPY_TO_FOLDER;
inline constexpr int kPrint = ID_PRINT;
inline constexpr int kClose = ID_CLOSE;
inline constexpr int kUndo = ID_UNDO;
inline constexpr int kCut = ID_CUT;
inline constexpr int kCopy = ID_COPY;
inline constexpr int kPaste = ID_PASTE;
inline constexpr int kSelectAll = ID_SELECT_ALL;
inline constexpr int kSpellChecking = ID_SPELL_CHECKING;
inline constexpr int kCheckNames = ID_CHECK_NAMES;
inline constexpr int kAddressBook = ID_ADDRESS_BOOK;
inline constexpr int kOptions = ID_OPTIONS;
inline constexpr int kHelp = ID_HELP;
inline constexpr int kAbout = ID_ABOUT;
inline constexpr int kHideIcon = ID_HIDE_ICON;
inline constexpr int kExit = ID_EXIT;
inline constexpr int kSetup = ID_SETUP;

// Dialog bar buttons whose enabled state follows the same snapshot.
inline constexpr int kToButton = IDC_TO_BUTTON;
inline constexpr int kCcButton = IDC_CC_BUTTON;

}  // namespace pagelark::command

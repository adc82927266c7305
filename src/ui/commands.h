#pragma once
// The message window's command table and its enabling rules.
//
// Whether a command is enabled is a pure function of a small snapshot of the window's state, so
// the rules are tested natively; the window fills a snapshot at idle time and when a menu opens
// and applies the answers to its menu bar, toolbar and buttons.
#include <optional>
#include <span>

#include "model/contact.h"

namespace pagelark {

// Which kind of control has the keyboard focus; only the three edit controls take editing commands.
enum class FocusKind { Other, MessageEditor, ToField, CcField };

struct CommandState {
    HostClient host = HostClient::Outlook;
    bool sentItem = false;            // the window shows a message that was already sent
    FocusKind focus = FocusKind::Other;
    bool focusReadOnly = false;       // the focused edit control is read-only (a sent item)
    bool selection = false;           // the focused edit control has a non-empty selection
    bool canUndo = false;             // the focused edit control can undo
    int accountType = 0;              // AccountType bit set of the service account
    bool spellCheckAvailable = false; // a spell-check engine was found for the window's language
};

// One command of the message window. `textId` is the string with the command's status text and
// tool tip ("prompt\ntip"); `image` is its picture in the toolbar strips (bitmaps IDB_TOOLBAR_16,
// IDB_TOOLBAR_24, IDB_EXPRESS_16 and IDB_EXPRESS_24 all hold the same pictures in this order), or -1 when the command has no toolbar button.
struct CommandInfo {
    int id;
    int textId;
    int image;
};

std::span<const CommandInfo> CommandTable();
std::optional<CommandInfo> FindCommand(int id);

// True when command (or dialog bar button) `id` is enabled in `state`. Ids the table does not
// know are enabled: the window's own handlers decide about them.
bool IsCommandEnabled(int id, const CommandState& state);

}  // namespace pagelark

#include "ui/commands.h"

#include <algorithm>
#include <array>

#include "model/send_options.h"
#include "ui/command_ids.h"

namespace pagelark {
namespace {

using namespace command;

// Image indexes follow toolbar IDR_MAINFRAME: Send | Save, Print | Cut, Copy, Paste | Spell Checking,
// Address Book, Check Names | Help.
constexpr std::array<CommandInfo, 21> kCommands = {{
    {kNew, kNew, -1},
    {kSend, kSend, 0},
    {kSave, kSave, 1},
    {kSaveAs, kSaveAs, -1},
    {kDelete, kDelete, -1},
    {kMoveToFolder, kMoveToFolder, -1},
    {kCopyToFolder, kCopyToFolder, -1},
    {kPrint, kPrint, 2},
    {kClose, kClose, -1},
    {kUndo, kUndo, -1},
    {kCut, kCut, 3},
    {kCopy, kCopy, 4},
    {kPaste, kPaste, 5},
    {kSelectAll, kSelectAll, -1},
    {kSpellChecking, kSpellChecking, 6},
    {kAddressBook, kAddressBook, 7},
    {kCheckNames, kCheckNames, 8},
    {kOptions, kOptions, -1},
    {kHelp, kHelp, 9},
    {kAbout, kAbout, -1},
    {kHideIcon, kHideIcon, -1},
}};

bool InEditControl(const CommandState& s) { return s.focus != FocusKind::Other; }

}  // namespace

std::span<const CommandInfo> CommandTable() { return kCommands; }

std::optional<CommandInfo> FindCommand(int id) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CommandInfo& c) { return c.id == id; });
    if (it == kCommands.end()) return std::nullopt;
    return *it;
}

bool IsCommandEnabled(int id, const CommandState& s) {
    const bool outlook = s.host == HostClient::Outlook;
    switch (id) {
    case kSave:
    case kMoveToFolder:
    case kCopyToFolder:
        return outlook;
    case kSend:
        return !(outlook && s.sentItem);
    case kUndo:
        return InEditControl(s) && !s.focusReadOnly && s.canUndo;
    case kCut:
        return InEditControl(s) && !s.focusReadOnly && s.selection;
    case kCopy:
        return InEditControl(s) && s.selection;
    case kPaste:
        return InEditControl(s) && !s.focusReadOnly;
    case kSelectAll:
        return InEditControl(s);
    case kSpellChecking:
        // Corrections are written into the editor, which a sent item keeps read-only.
        return s.spellCheckAvailable && !s.sentItem;
    case kCcButton:
        return (s.accountType & account_feature::kCarbonCopy) != 0;
    default:
        return true;
    }
}

}  // namespace pagelark

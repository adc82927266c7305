#include "ui/commands.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/command_ids.h"

using namespace pagelark;
namespace cmd = pagelark::command;

namespace {

CommandState InEditor(FocusKind focus = FocusKind::MessageEditor) {
    CommandState s;
    s.focus = focus;
    return s;
}

}  // namespace

TEST(UiCommands, OutlookOnlyCommandsFollowTheHostClient) {
    CommandState outlook;
    CommandState express;
    express.host = HostClient::OutlookExpress;
    for (int id : {cmd::kSave, cmd::kMoveToFolder, cmd::kCopyToFolder}) {
        EXPECT_TRUE(IsCommandEnabled(id, outlook)) << id;
        EXPECT_FALSE(IsCommandEnabled(id, express)) << id;
    }
}

TEST(UiCommands, SendIsRefusedOnlyForASentOutlookItem) {
    CommandState s;
    EXPECT_TRUE(IsCommandEnabled(cmd::kSend, s));
    s.sentItem = true;
    EXPECT_FALSE(IsCommandEnabled(cmd::kSend, s));
    s.host = HostClient::OutlookExpress;
    EXPECT_TRUE(IsCommandEnabled(cmd::kSend, s));
}

TEST(UiCommands, EditingCommandsNeedOneOfTheThreeEditControls) {
    CommandState s;  // focus on a button or check box
    s.selection = s.canUndo = true;
    for (int id : {cmd::kUndo, cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kSelectAll})
        EXPECT_FALSE(IsCommandEnabled(id, s)) << id;
    for (FocusKind focus : {FocusKind::MessageEditor, FocusKind::ToField, FocusKind::CcField}) {
        s.focus = focus;
        for (int id : {cmd::kUndo, cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kSelectAll})
            EXPECT_TRUE(IsCommandEnabled(id, s)) << id;
    }
}

TEST(UiCommands, CutAndCopyNeedASelectionUndoItsHistoryPasteOnlyTheFocus) {
    CommandState s = InEditor();
    EXPECT_FALSE(IsCommandEnabled(cmd::kCut, s));
    EXPECT_FALSE(IsCommandEnabled(cmd::kCopy, s));
    EXPECT_FALSE(IsCommandEnabled(cmd::kUndo, s));
    // Paste does not wait for the clipboard: an empty one simply pastes nothing.
    for (FocusKind focus : {FocusKind::MessageEditor, FocusKind::ToField, FocusKind::CcField})
        EXPECT_TRUE(IsCommandEnabled(cmd::kPaste, InEditor(focus))) << static_cast<int>(focus);
    EXPECT_TRUE(IsCommandEnabled(cmd::kSelectAll, s));
    s.selection = true;
    EXPECT_TRUE(IsCommandEnabled(cmd::kCut, s));
    EXPECT_TRUE(IsCommandEnabled(cmd::kCopy, s));
    s.canUndo = true;
    EXPECT_TRUE(IsCommandEnabled(cmd::kUndo, s));
}

TEST(UiCommands, AReadOnlySentItemStillCopiesButNeverChanges) {
    CommandState s = InEditor(FocusKind::ToField);
    s.sentItem = s.focusReadOnly = true;
    s.selection = s.canUndo = s.spellCheckAvailable = true;
    EXPECT_TRUE(IsCommandEnabled(cmd::kCopy, s));
    EXPECT_TRUE(IsCommandEnabled(cmd::kSelectAll, s));
    EXPECT_FALSE(IsCommandEnabled(cmd::kCut, s));
    EXPECT_FALSE(IsCommandEnabled(cmd::kPaste, s));
    EXPECT_FALSE(IsCommandEnabled(cmd::kUndo, s));
    EXPECT_FALSE(IsCommandEnabled(cmd::kSpellChecking, s));
    // Printing, saving as text and deleting stay possible.
    for (int id : {cmd::kPrint, cmd::kSaveAs, cmd::kDelete, cmd::kClose})
        EXPECT_TRUE(IsCommandEnabled(id, s)) << id;
}

TEST(UiCommands, SpellCheckingIsOffWithoutAnEngine) {
    CommandState s;
    EXPECT_FALSE(IsCommandEnabled(cmd::kSpellChecking, s));
    s.spellCheckAvailable = true;
    EXPECT_TRUE(IsCommandEnabled(cmd::kSpellChecking, s));
}

TEST(UiCommands, CcButtonFollowsAccountBit16) {
    CommandState s;
    for (int type : {0, 1, 2, 4, 8, 15}) {
        s.accountType = type;
        EXPECT_FALSE(IsCommandEnabled(cmd::kCcButton, s)) << type;
    }
    for (int type : {16, 31, 11111}) {
        s.accountType = type;
        EXPECT_EQ(IsCommandEnabled(cmd::kCcButton, s), (type & 16) != 0) << type;
    }
    EXPECT_TRUE(IsCommandEnabled(cmd::kToButton, CommandState{}));
}

TEST(UiCommands, TableHasUniqueIdsAndTheToolbarOrder) {
    std::set<int> ids;
    for (const CommandInfo& c : CommandTable()) EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    const int toolbar[] = {cmd::kSend, cmd::kSave, cmd::kPrint, cmd::kCut, cmd::kCopy,
                           cmd::kPaste, cmd::kSpellChecking, cmd::kAddressBook, cmd::kCheckNames, cmd::kHelp};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(FindCommand(toolbar[i])->image, i);
    EXPECT_EQ(FindCommand(cmd::kSelectAll)->image, -1);
    EXPECT_FALSE(FindCommand(4711).has_value());
    EXPECT_TRUE(IsCommandEnabled(4711, CommandState{}));
}

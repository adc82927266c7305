#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "mailclients/offline_mail_bridge.h"
#include "window/item_copy_block.h"
#include "window/message_document.h"
#include "model/message_record.h"

using namespace pagelark;

namespace {

MessageFields FullFields() {
    MessageFields f;
    f.to = "+491711234567";
    f.cc = "anna@example.com";
    f.body = "Hello\r\nthere";
    f.sendOn = true;
    f.date = {2007, 3, 5};
    f.time = {9, 7};
    f.replyToInbox = f.replyToMobile = f.flash = true;
    return f;
}

// A bridge that remembers what it was asked and answers as told.
class RecordingBridge : public OfflineMailBridge {
public:
    bool succeed = true;
    std::string newId;
    MessageRecord stored;
    std::vector<std::string> calls;
    bool ReadItem(HostClient, const std::string& id, MessageRecord& item) override {
        calls.push_back("read " + id);
        if (!succeed) return false;
        item = stored;
        return true;
    }
    bool UpdateItem(HostClient, const MessageRecord& r) override {
        calls.push_back("update " + r.EntryID);
        return succeed;
    }
    bool CreateItem(HostClient, const MessageRecord& r, FolderKind kind, std::string* id) override {
        calls.push_back("create " + std::to_string(static_cast<int>(kind)) + " " + r.Body);
        if (id) *id = newId;
        return succeed;
    }
    bool DeleteItem(HostClient, const std::string& id) override {
        calls.push_back("delete " + id);
        return succeed;
    }
};

class ScriptedPrompts : public MessagePrompts {
public:
    Answer save = Answer::Cancel, del = Answer::Cancel;
    std::vector<std::string> shown;
    void WarnNoData() override { shown.push_back("16824"); }
    Answer AskSaveChanges() override {
        shown.push_back("16812");
        return save;
    }
    Answer AskDeleteChanged() override {
        shown.push_back("16811");
        return del;
    }
};

}  // namespace

TEST(GatherMessage, TakesEverythingTheFullAccountAllows) {
    const MessageRecord r = GatherMessage(FullFields(), 31, "SMS-Message");
    EXPECT_EQ(r.Subject, "SMS-Message");
    EXPECT_EQ(r.To, "+491711234567");
    EXPECT_EQ(r.CC, "anna@example.com");
    EXPECT_EQ(r.Body, "Hello\r\nthere");
    EXPECT_EQ(r.SendTime, "2007-03-05 09:07");
    EXPECT_EQ(r.Options, 7);
    EXPECT_TRUE(r.EntryID.empty());
}

TEST(GatherMessage, AccountTypeGatesEachFeature) {
    const MessageRecord none = GatherMessage(FullFields(), 0, "S");
    EXPECT_EQ(none.CC, "");
    EXPECT_EQ(none.SendTime, "");   // "Send on" checked but no bit 8
    EXPECT_EQ(none.Options, 0);
    EXPECT_EQ(GatherMessage(FullFields(), 2, "S").Options, 2);
    EXPECT_EQ(GatherMessage(FullFields(), 4 | 1, "S").Options, 5);
    EXPECT_EQ(GatherMessage(FullFields(), 8, "S").SendTime, "2007-03-05 09:07");
    MessageFields unchecked = FullFields();
    unchecked.sendOn = unchecked.flash = false;
    EXPECT_EQ(GatherMessage(unchecked, 31, "S").SendTime, "");
    EXPECT_EQ(GatherMessage(unchecked, 31, "S").Options, 3);
}

TEST(MessageDocument, CloseAsksOnlyForModifiedOutlookMessages) {
    RecordingBridge bridge;
    ScriptedPrompts prompts;
    auto gather = [] { return GatherMessage(FullFields(), 31, "S"); };

    MessageDocument express(HostClient::OutlookExpress);
    express.SetModified(true);
    EXPECT_TRUE(express.ConfirmClose(false, gather, bridge, prompts));

    MessageDocument unmodified(HostClient::Outlook);
    EXPECT_TRUE(unmodified.ConfirmClose(false, gather, bridge, prompts));

    MessageDocument updating(HostClient::Outlook);
    updating.SetModified(true);
    EXPECT_TRUE(updating.ConfirmClose(true, gather, bridge, prompts));   // quitting for an update
    EXPECT_TRUE(prompts.shown.empty());

    MessageDocument outlook(HostClient::Outlook);
    outlook.SetModified(true);
    prompts.save = MessagePrompts::Answer::Cancel;
    EXPECT_FALSE(outlook.ConfirmClose(false, gather, bridge, prompts));
    prompts.save = MessagePrompts::Answer::No;
    EXPECT_TRUE(outlook.ConfirmClose(false, gather, bridge, prompts));
    EXPECT_TRUE(bridge.calls.empty());
    EXPECT_EQ(prompts.shown, (std::vector<std::string>{"16812", "16812"}));
}

TEST(MessageDocument, YesSavesAndAFailedSaveKeepsTheWindowOpen) {
    RecordingBridge bridge;
    ScriptedPrompts prompts;
    prompts.save = MessagePrompts::Answer::Yes;
    MessageDocument doc(HostClient::Outlook);
    doc.SetModified(true);
    auto gather = [] { return GatherMessage(FullFields(), 31, "S"); };

    bridge.succeed = false;
    EXPECT_FALSE(doc.ConfirmClose(false, gather, bridge, prompts));
    EXPECT_TRUE(doc.Modified());
    bridge.succeed = true;
    EXPECT_TRUE(doc.ConfirmClose(false, gather, bridge, prompts));
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(bridge.calls, (std::vector<std::string>{"create 5 Hello\r\nthere", "create 5 Hello\r\nthere"}));
}

TEST(MessageDocument, SaveWithNothingEnteredWarnsAndKeepsTheFlag) {
    RecordingBridge bridge;
    ScriptedPrompts prompts;
    MessageDocument doc(HostClient::Outlook);
    doc.SetModified(true);
    MessageRecord empty = GatherMessage(MessageFields{}, 31, "S");
    EXPECT_FALSE(doc.SaveToMailClient(empty, bridge, prompts));
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"16824"});
    EXPECT_TRUE(doc.Modified());
    EXPECT_TRUE(bridge.calls.empty());
}

TEST(MessageDocument, ALoadedItemIsUpdatedAndANewDraftKeepsItsId) {
    RecordingBridge bridge;
    ScriptedPrompts prompts;
    bridge.stored.To = "+491711234567";
    bridge.stored.Body = "old";
    MessageDocument loaded(HostClient::Outlook);
    EXPECT_TRUE(loaded.Load(bridge, "ID1"));
    EXPECT_EQ(loaded.Item().Body, "old");
    EXPECT_FALSE(loaded.Modified());
    EXPECT_TRUE(loaded.SaveToMailClient(GatherMessage(FullFields(), 31, "S"), bridge, prompts));
    EXPECT_EQ(bridge.calls.back(), "update ID1");

    MessageDocument fresh(HostClient::Outlook);
    bridge.newId = "DRAFT7";
    EXPECT_TRUE(fresh.SaveToMailClient(GatherMessage(FullFields(), 31, "S"), bridge, prompts));
    EXPECT_TRUE(fresh.SaveToMailClient(GatherMessage(FullFields(), 31, "S"), bridge, prompts));
    EXPECT_EQ(bridge.calls.back(), "update DRAFT7");   // no second draft
}

TEST(MessageDocument, AFailedReadLeavesAnEmptyMessageWithItsId) {
    RecordingBridge bridge;
    bridge.succeed = false;
    MessageDocument doc(HostClient::Outlook);
    EXPECT_FALSE(doc.Load(bridge, "X"));
    EXPECT_EQ(doc.EntryId(), "X");
    EXPECT_EQ(doc.Item().Body, "");
    EXPECT_FALSE(doc.IsSentItem());
}

TEST(MessageDocument, DeleteAsksOnlyWhenModifiedAndDeletesOnlyItems) {
    RecordingBridge bridge;
    ScriptedPrompts prompts;
    MessageDocument fresh(HostClient::Outlook);
    EXPECT_TRUE(fresh.Delete(bridge, prompts));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(bridge.calls.empty());   // no mail client contact for a new message

    MessageDocument loaded(HostClient::Outlook);
    loaded.Load(bridge, "ID9");
    loaded.SetModified(true);
    prompts.del = MessagePrompts::Answer::Cancel;
    EXPECT_FALSE(loaded.Delete(bridge, prompts));
    EXPECT_TRUE(loaded.Modified());
    prompts.del = MessagePrompts::Answer::Ok;
    EXPECT_TRUE(loaded.Delete(bridge, prompts));
    EXPECT_FALSE(loaded.Modified());
    EXPECT_EQ(bridge.calls.back(), "delete ID9");
}

TEST(OfflineMailBridge, EveryItemOperationFailsAndListsAreReplacedWhole) {
    OfflineMailBridge bridge(11);
    MessageRecord r;
    std::vector<MailFolder> folders;
    EXPECT_FALSE(bridge.ReadItem(HostClient::Outlook, "x", r));
    EXPECT_FALSE(bridge.CreateItem(HostClient::Outlook, r, FolderKind::Drafts, nullptr));
    EXPECT_FALSE(bridge.GetFolderTree(HostClient::Outlook, folders));
    EXPECT_EQ(bridge.ClientVersion(HostClient::Outlook), 11);
    EXPECT_EQ(bridge.ClientVersion(HostClient::OutlookExpress), 6);
    const auto before = bridge.Contacts(HostClient::Outlook);
    bridge.SetContacts(HostClient::Outlook, {Contact{"", "Anna", "", "", "+49", false, {}}});
    EXPECT_TRUE(before->empty());   // a reader keeps the list it holds
    EXPECT_EQ(bridge.Contacts(HostClient::Outlook)->size(), 1u);
    EXPECT_TRUE(bridge.Contacts(HostClient::OutlookExpress)->empty());
}

TEST(ItemCopyBlock, TextUpToTheFirstZeroWithinTheBlockAndTheBytesSent) {
    char block[120];
    std::fill(std::begin(block), std::end(block), 'E');
    EXPECT_EQ(ReadItemCopyBlock(block, sizeof block), std::string(80, 'E'));   // never past 80 bytes
    EXPECT_EQ(ReadItemCopyBlock(block, 7), std::string(7, 'E'));              // never past the data
    block[3] = '\0';
    EXPECT_EQ(ReadItemCopyBlock(block, sizeof block), "EEE");
    block[0] = '\0';
    EXPECT_EQ(ReadItemCopyBlock(block, sizeof block), std::nullopt);          // names no item
    EXPECT_EQ(ReadItemCopyBlock(nullptr, 80), std::nullopt);
    EXPECT_EQ(ReadItemCopyBlock(block, 0), std::nullopt);
}

TEST(ItemCopyBlock, LongerIdsTravelWholeInALongerBlockWithTheirZero) {
    // An Exchange entry id is 140 hexadecimal characters: the add-in sends it with its zero.
    const std::string exchangeId(140, 'A');
    std::vector<char> block(exchangeId.begin(), exchangeId.end());
    block.push_back('\0');
    EXPECT_EQ(ReadItemCopyBlock(block.data(), block.size()), exchangeId);
    // Zero padding after the text, as in the classic block, changes nothing.
    block.resize(300, '\0');
    EXPECT_EQ(ReadItemCopyBlock(block.data(), block.size()), exchangeId);
    // The longest id that fits, and one byte more: then the block is read as the classic one,
    // and the add-in never sends such an id (it leaves the item to Outlook).
    std::vector<char> longest(kItemCopyMaxBytes, 'B');
    longest.back() = '\0';
    EXPECT_EQ(ReadItemCopyBlock(longest.data(), longest.size()), std::string(kItemCopyMaxBytes - 1, 'B'));
    std::vector<char> tooLong(kItemCopyMaxBytes + 1, 'B');
    tooLong.back() = '\0';
    EXPECT_EQ(ReadItemCopyBlock(tooLong.data(), tooLong.size()), std::string(kItemCopyBlockBytes, 'B'));
    EXPECT_EQ(protocol::ItemCopyBlockSize(10), kItemCopyBlockBytes);
    EXPECT_EQ(protocol::ItemCopyBlockSize(79), kItemCopyBlockBytes);
    EXPECT_EQ(protocol::ItemCopyBlockSize(140), 141u);
    EXPECT_TRUE(protocol::ItemCopyFits(kItemCopyMaxBytes - 1));
    EXPECT_FALSE(protocol::ItemCopyFits(kItemCopyMaxBytes));
    EXPECT_FALSE(protocol::ItemCopyFits(0));
}

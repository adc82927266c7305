// The Outlook side of the mail-client bridge against the Outlook double, out of process as a real
// Outlook would be: items, the sent copy, the folder tree, failures, and every COM object released.
#include <windows.h>

#include <gtest/gtest.h>

#include <mapidefs.h>

#include <string>
#include <vector>

#include "mailclients/outlook_items_win.h"
#include "mailclients/outlook_session_win.h"
#include "outlook_double_client.h"
#include "resource_ids.h"

namespace pagelark {
namespace {

using testing::OutlookDouble;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class OutlookItemsTest : public ::testing::Test {
protected:
    // One bounded activation first: a double that does not answer (docs/wine-notes.md) fails every
    // case at once instead of leaving each in COM's own wait.
    static void SetUpTestSuite() {
        answers_ = OutlookDouble::Available() && OutlookDouble::Prepare(12) && OutlookDouble::Activates(30000);
        OutlookDouble::Unregister();
    }
    static void TearDownTestSuite() { OutlookDouble::Stop(); }
    void SetUp() override {
        if (!OutlookDouble::Available()) GTEST_SKIP() << "the Outlook double is not in the prefix";
        ASSERT_TRUE(answers_) << "the Outlook double did not answer its activation within 30 s";
        ASSERT_TRUE(OutlookDouble::Prepare(12));
        ASSERT_TRUE(PlaceFormTemplate());
        settings_.UserName = "Anna Meier";
        settings_.UserLandCode = "+49";
        settings_.UserMobile = "1701234567";
        settings_.IntegrateOutlook = 1;
        com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override {
        if (!OutlookDouble::Available()) return;
        EXPECT_TRUE(OutlookDouble::NoObjectsAlive()) << "COM objects left alive: " << OutlookDouble::Counter(L"LiveObjects");
        OutlookDouble::Run(L"fault clear");
        OutlookDouble::Unregister();
        if (com_) CoUninitialize();
    }

    // The form template where the program looks for it: Data\Pagelark.oft beside the executable.
    static bool PlaceFormTemplate() {
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring folder = exe;
        folder.resize(folder.find_last_of(L'\\'));
        CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
        std::wstring source = L"Z:" + OutlookDouble::Wide(PAGELARK_SOURCE_DIR) + L"/data/Data/Pagelark.oft";
        for (auto& c : source)
            if (c == L'/') c = L'\\';
        return CopyFileW(source.c_str(), (folder + L"\\Data\\Pagelark.oft").c_str(), FALSE) != FALSE;
    }

    OutlookItems Items() {
        return OutlookItems(settings_, [this](const std::string& line) { log_ += line; },
                            [this](unsigned id, const std::string& detail) { reports_.push_back({id, detail}); });
    }
    static MessageRecord Record(const std::string& to, const std::string& body) {
        MessageRecord record;
        record.To = to;
        record.CC = "copy@example.com";
        record.Subject = "SMS-Message";
        record.Body = body;
        return record;
    }
    static std::string IdOf(const std::string& listLine) { return listLine.substr(0, listLine.find('\t')); }

    static inline bool answers_ = false;
    Settings settings_;
    bool com_ = false;
    std::string log_;
    std::vector<std::pair<unsigned, std::string>> reports_;
};

TEST_F(OutlookItemsTest, SaveCreatesADraftThatStaysInDraftsAndPublishesTheForm) {
    std::string id;
    ASSERT_TRUE(Items().Create(Record("+491711111111", "first"), FolderKind::Drafts, &id));
    const auto drafts = OutlookDouble::Items("Personal Folders/Drafts");
    ASSERT_EQ(drafts.size(), 1u);
    EXPECT_EQ(IdOf(drafts[0]), id);
    const std::string shown = OutlookDouble::Show(id);
    EXPECT_TRUE(Contains(shown, "MessageClass: IPM.Note.Pagelark")) << shown;
    EXPECT_TRUE(Contains(shown, "Body: first")) << shown;
    EXPECT_TRUE(Contains(shown, "UnRead: 0")) << shown;
    // The form was published to the personal library under "Pagelark"; Move was not called.
    EXPECT_TRUE(Contains(OutlookDouble::Calls(), "FormDescription.PublishForm 2"));
    EXPECT_FALSE(Contains(OutlookDouble::Calls(), "Item.Move"));
    EXPECT_TRUE(log_.empty()) << log_;
}

TEST_F(OutlookItemsTest, OtherFolderKindsAreMovedAfterSaving) {
    const std::pair<FolderKind, const char*> kinds[] = {{FolderKind::DeletedItems, "Deleted Items"},
                                                        {FolderKind::Outbox, "Outbox"},
                                                        {FolderKind::Inbox, "Inbox"}};
    for (const auto& [kind, folder] : kinds) {
        ASSERT_TRUE(Items().Create(Record("+491711111111", folder), kind, nullptr)) << folder;
        EXPECT_EQ(OutlookDouble::Items(std::string("Personal Folders/") + folder).size(), 1u) << folder;
    }
    EXPECT_TRUE(Contains(OutlookDouble::Calls(), "Item.Move"));
}

TEST_F(OutlookItemsTest, SentCopyIsMadeInTwoStepsWithTheSenderText) {
    std::string id;
    ASSERT_TRUE(Items().Create(Record("+491711111111; +491722222222", "Hello\r\nthere"), FolderKind::SentItems, &id));
    const auto sent = OutlookDouble::Items("Personal Folders/Sent Items");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(IdOf(sent[0]), id);
    const std::string shown = OutlookDouble::Show(id);
    EXPECT_TRUE(Contains(shown, "MessageClass: IPM.Note.Pagelark")) << shown;
    EXPECT_TRUE(Contains(shown, "To: +491711111111; +491722222222")) << shown;
    EXPECT_TRUE(Contains(shown, "CC: copy@example.com")) << shown;
    EXPECT_TRUE(Contains(shown, "Subject: SMS-Message")) << shown;
    EXPECT_TRUE(Contains(shown, "Body: Hello\\r\\nthere")) << shown;
    EXPECT_TRUE(Contains(shown, "SenderName: Anna Meier (+491701234567)")) << shown;
    EXPECT_TRUE(Contains(shown, "IconIndex: 0")) << shown;
    // The first step adds a post; the second finds the item again by its id.
    const std::string calls = OutlookDouble::Calls();
    EXPECT_TRUE(Contains(calls, "Items.Add IPM.Post")) << calls;
    EXPECT_TRUE(Contains(calls, "NameSpace.GetItemFromID " + id)) << calls;
}

TEST_F(OutlookItemsTest, SentCopyOfAnOutlookWithoutPropertyAccessorLacksOnlyTheSenderText) {
    ASSERT_TRUE(OutlookDouble::Run(L"curver 11"));
    std::string id;
    ASSERT_TRUE(Items().Create(Record("+491711111111", "text"), FolderKind::SentItems, &id));
    const std::string shown = OutlookDouble::Show(id);
    EXPECT_TRUE(Contains(shown, "MessageClass: IPM.Note.Pagelark")) << shown;
    EXPECT_TRUE(Contains(shown, "Body: text")) << shown;
    EXPECT_TRUE(Contains(shown, "SenderName: \n")) << shown;
}

TEST_F(OutlookItemsTest, FailedFirstStepOfTheSentCopyIsLoggedAndTheSecondNotTried) {
    ASSERT_TRUE(OutlookDouble::Fault("Items.Add"));
    EXPECT_FALSE(Items().Create(Record("+491711111111", "text"), FolderKind::SentItems, nullptr));
    EXPECT_EQ(log_.rfind("Error on CreateSentMessage: ", 0), 0u) << log_;
    EXPECT_TRUE(Contains(log_, "Items.Add")) << log_;   // the double's failure text
    EXPECT_EQ(log_.back(), '\n');
    EXPECT_FALSE(Contains(OutlookDouble::Calls(), "GetItemFromID"));
    EXPECT_TRUE(reports_.empty());   // nothing shown
    EXPECT_TRUE(OutlookDouble::Items("Personal Folders/Sent Items").empty());
}

TEST_F(OutlookItemsTest, FailedCreateIsLoggedNotShown) {
    ASSERT_TRUE(OutlookDouble::Fault("Item.Save"));
    EXPECT_FALSE(Items().Create(Record("+491711111111", "text"), FolderKind::Drafts, nullptr));
    EXPECT_EQ(log_.rfind("Error on CreateMessage: ", 0), 0u) << log_;
    EXPECT_TRUE(reports_.empty());
}

TEST_F(OutlookItemsTest, NoOutlookIsAFailureLikeAnyOther) {
    OutlookDouble::Unregister();
    EXPECT_FALSE(Items().Create(Record("+491711111111", "text"), FolderKind::Drafts, nullptr));
    EXPECT_EQ(log_.rfind("Error on CreateMessage: ", 0), 0u) << log_;
    EXPECT_GT(log_.size(), std::string("Error on CreateMessage: \n").size());   // the system's text
    std::vector<MailFolder> tree;
    EXPECT_FALSE(Items().FolderTree(tree));
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].first, static_cast<unsigned>(IDS_OUTLOOK_FOLDERS_FAILED));
}

TEST_F(OutlookItemsTest, IntegrationOffCreatesNothingAndNeverTouchesOutlook) {
    settings_.IntegrateOutlook = 0;
    EXPECT_FALSE(Items().Create(Record("+491711111111", "text"), FolderKind::Drafts, nullptr));
    EXPECT_FALSE(Items().Create(Record("+491711111111", "text"), FolderKind::SentItems, nullptr));
    EXPECT_EQ(OutlookDouble::Calls(), "");
    EXPECT_TRUE(log_.empty());
}

TEST_F(OutlookItemsTest, UpdateWritesTheRecordAndReadCleansTheBody) {
    const std::string id = OutlookDouble::AddItem("Personal Folders/Drafts", "+491711111111", "one \\r\\ntwo\\r\\n\\r\\n", false);
    ASSERT_FALSE(id.empty());
    MessageRecord read;
    read.CC = "kept";
    ASSERT_TRUE(Items().Read(id, read));
    EXPECT_EQ(read.To, "+491711111111");
    EXPECT_EQ(read.CC, "");   // read through To/CC/Body: an empty CC is a value like any other
    EXPECT_EQ(read.Body, "one\r\ntwo");
    EXPECT_EQ(read.Sent, 0);

    MessageRecord update = Record("+491733333333", "changed");
    update.EntryID = id;
    ASSERT_TRUE(Items().Update(update));
    const std::string shown = OutlookDouble::Show(id);
    EXPECT_TRUE(Contains(shown, "To: +491733333333")) << shown;
    EXPECT_TRUE(Contains(shown, "Body: changed")) << shown;
    EXPECT_EQ(OutlookDouble::Items("Personal Folders/Drafts").size(), 1u);
}

TEST_F(OutlookItemsTest, ReadOfASentItemSaysSoAndFailuresReachTheUser) {
    const std::string id = OutlookDouble::AddItem("Personal Folders/Sent Items", "+491711111111", "sent text", true);
    MessageRecord read;
    ASSERT_TRUE(Items().Read(id, read));
    EXPECT_EQ(read.Sent, 1);
    EXPECT_FALSE(Items().Read("", read));   // nothing to read: no connection, no box
    EXPECT_TRUE(reports_.empty());

    ASSERT_TRUE(OutlookDouble::Fault("NameSpace.GetItemFromID"));
    MessageRecord kept;
    kept.Body = "window text";
    EXPECT_FALSE(Items().Read(id, kept));
    EXPECT_EQ(kept.Body, "window text");
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].first, static_cast<unsigned>(IDS_OUTLOOK_READ_FAILED));
    EXPECT_TRUE(Contains(reports_[0].second, "GetItemFromID")) << reports_[0].second;
    EXPECT_FALSE(Items().Delete(id));
    EXPECT_FALSE(Items().Update([&] { MessageRecord r = Record("x", "y"); r.EntryID = id; return r; }()));
    ASSERT_EQ(reports_.size(), 3u);
    EXPECT_EQ(reports_[1].first, static_cast<unsigned>(IDS_OUTLOOK_DELETE_FAILED));
    EXPECT_EQ(reports_[2].first, static_cast<unsigned>(IDS_OUTLOOK_UPDATE_FAILED));
}

TEST_F(OutlookItemsTest, DeleteMovesTheItemToDeletedItems) {
    const std::string id = OutlookDouble::AddItem("Personal Folders/Drafts", "+491711111111", "bye", false);
    ASSERT_TRUE(Items().Delete(id));
    EXPECT_TRUE(OutlookDouble::Items("Personal Folders/Drafts").empty());
    EXPECT_EQ(OutlookDouble::Items("Personal Folders/Deleted Items").size(), 1u);
}

TEST_F(OutlookItemsTest, MoveAndCopyTakeTheWindowsTextToANestedFolder) {
    std::vector<MailFolder> tree;
    ASSERT_TRUE(Items().FolderTree(tree));
    const MailFolder* personal = nullptr;
    for (const auto& node : tree)
        if (node.name == "Personal Folders") personal = &node;
    ASSERT_NE(personal, nullptr);
    std::string target;
    for (const auto& node : personal->children)
        if (node.name == "Projects")
            for (const auto& child : node.children)
                if (child.name == "SMS archive") target = child.children.at(0).id;
    ASSERT_FALSE(target.empty());
    const std::string archive = "Personal Folders/Projects/SMS archive/2026";

    const std::string copied = OutlookDouble::AddItem("Personal Folders/Drafts", "+491711111111", "stored", false);
    MessageRecord record = Record("+491744444444", "window text");
    record.EntryID = copied;
    ASSERT_TRUE(Items().Copy(record, target));
    EXPECT_TRUE(Contains(OutlookDouble::Show(copied), "Body: stored"));   // the original is unchanged
    auto filed = OutlookDouble::Items(archive);
    ASSERT_EQ(filed.size(), 1u);
    EXPECT_TRUE(Contains(OutlookDouble::Show(IdOf(filed[0])), "Body: window text"));

    ASSERT_TRUE(Items().Move(record, target));
    EXPECT_TRUE(OutlookDouble::Items("Personal Folders/Drafts").empty());
    filed = OutlookDouble::Items(archive);
    ASSERT_EQ(filed.size(), 2u);
    EXPECT_TRUE(Contains(OutlookDouble::Show(copied), "Body: window text"));

    MessageRecord unsaved = Record("+491755555555", "new one");
    ASSERT_TRUE(Items().Copy(unsaved, target));
    ASSERT_TRUE(Items().Move(unsaved, target));
    EXPECT_EQ(OutlookDouble::Items(archive).size(), 4u);
}

TEST_F(OutlookItemsTest, FolderTreeIsSortedPicturedAndLooksUpJunkEmailOnlyAboveVersion10) {
    std::vector<MailFolder> tree;
    ASSERT_TRUE(Items().FolderTree(tree));
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].name, "Archive");
    EXPECT_EQ(tree[1].name, "Personal Folders");
    std::vector<std::string> names;
    int inbox = -2, junk = -2, customers = -2, calendar = -2;
    for (const auto& node : tree[1].children) {
        names.push_back(node.name);
        if (node.name == "Inbox") inbox = node.image;
        if (node.name == "Junk E-mail") junk = node.image;
        if (node.name == "Calendar") calendar = node.image;
        if (node.name == "Projects") customers = node.children.at(0).image;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Calendar", "Contacts", "Deleted Items", "Drafts", "Inbox", "Journal",
                                               "Junk E-mail", "Notes", "Outbox", "Projects", "Sent Items", "Tasks"}));
    EXPECT_EQ(inbox, 5);
    EXPECT_EQ(junk, 7);
    EXPECT_EQ(calendar, 1);
    EXPECT_EQ(customers, 2);   // a contacts folder of the user's own
    EXPECT_TRUE(Contains(OutlookDouble::Calls(), "NameSpace.GetDefaultFolder 23"));
    EXPECT_FALSE(Contains(OutlookDouble::Calls(), "NameSpace.Logon"));   // the folder tree needs no logon

    ASSERT_TRUE(OutlookDouble::Prepare(9));
    ASSERT_TRUE(Items().FolderTree(tree));
    EXPECT_FALSE(Contains(OutlookDouble::Calls(), "NameSpace.GetDefaultFolder 23"));
    for (const auto& node : tree[1].children)
        if (node.name == "Junk E-mail") EXPECT_EQ(node.image, 8);   // only a mail folder now
}

TEST_F(OutlookItemsTest, AnOutOfProcessMapiObjectDoesNotAnswerIMapiProp) {
    // The finding the fallback rests on (docs/outlook-automation.md): across processes MAPIOBJECT
    // is a bare IUnknown.
    const std::string id = OutlookDouble::AddItem("Personal Folders/Drafts", "+491711111111", "x", false);
    OutlookSession outlook;
    Dispatch item = outlook.ItemFromId(id);
    Variant object = item.Get(L"MAPIOBJECT");
    ASSERT_EQ(object.value().vt, VT_UNKNOWN);
    ASSERT_NE(object.value().punkVal, nullptr);
    const IID iidMapiProp = {0x00020303, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    void* prop = nullptr;
    EXPECT_EQ(object.value().punkVal->QueryInterface(iidMapiProp, &prop), E_NOINTERFACE);
    EXPECT_EQ(prop, nullptr);
}

}  // namespace
}  // namespace pagelark

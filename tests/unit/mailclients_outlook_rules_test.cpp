// Outlook's rules that need no Outlook: default client, version, sender text, body clean-up,
// default folders and pictures of the folder tree, sibling order.
#include <gtest/gtest.h>

#include "mailclients/outlook_rules.h"

namespace pagelark {
namespace {

TEST(OutlookRules, DefaultClientIsASubstringTest) {
    EXPECT_EQ(DefaultMailClientAnswer(std::string("Microsoft Outlook")), 1);
    EXPECT_EQ(DefaultMailClientAnswer(std::string("My Microsoft Outlook 2003 build")), 1);
    EXPECT_EQ(DefaultMailClientAnswer(std::string("microsoft outlook")), 2);   // case counts
    EXPECT_EQ(DefaultMailClientAnswer(std::string("Outlook Express")), 2);
    EXPECT_EQ(DefaultMailClientAnswer(std::string("Native Mail Client")), 2);
    EXPECT_EQ(DefaultMailClientAnswer(std::string()), 2);
    EXPECT_EQ(DefaultMailClientAnswer(std::nullopt), 2);
}

TEST(OutlookRules, VersionIsTheNumberAfterTheLastDot) {
    EXPECT_EQ(OutlookVersionFromCurVer(std::string("Outlook.Application.9")), 9);
    EXPECT_EQ(OutlookVersionFromCurVer(std::string("Outlook.Application.11")), 11);
    EXPECT_EQ(OutlookVersionFromCurVer(std::string("Outlook.Application.16")), 16);
    EXPECT_EQ(OutlookVersionFromCurVer(std::string("Outlook.Application")), 0);   // "Application" is no number
    EXPECT_EQ(OutlookVersionFromCurVer(std::string("Outlook.Application.")), 0);
    EXPECT_EQ(OutlookVersionFromCurVer(std::string("Outlook")), 0);
    EXPECT_EQ(OutlookVersionFromCurVer(std::string("Outlook.Application.99999999999")), 0);   // no overflow
    EXPECT_EQ(OutlookVersionFromCurVer(std::nullopt), 0);
}

TEST(OutlookRules, MajorVersionPerKind) {
    const std::optional<std::string> curVer("Outlook.Application.12");
    EXPECT_EQ(MailClientMajorVersion(HostClient::Outlook, curVer), 12);
    EXPECT_EQ(MailClientMajorVersion(HostClient::OutlookExpress, curVer), 6);
    EXPECT_EQ(MailClientMajorVersion(HostClient::OutlookExpress, std::nullopt), 6);
    EXPECT_EQ(MailClientMajorVersion(static_cast<HostClient>(3), curVer), 0);
}

TEST(OutlookRules, SenderTextJoinsNameCodeAndMobile) {
    EXPECT_EQ(SenderDisplayText("Anna Meier", "+49", "1701234567"), "Anna Meier (+491701234567)");
    EXPECT_EQ(SenderDisplayText("", "", ""), " ()");
}

TEST(OutlookRules, ReadBodyLosesBlanksBeforeLineBreaksAndTrailingBreaks) {
    EXPECT_EQ(CleanReadBody("one \r\ntwo"), "one\r\ntwo");
    EXPECT_EQ(CleanReadBody("one  \r\ntwo"), "one \r\ntwo");   // only the blank right before the break
    EXPECT_EQ(CleanReadBody("text\r\n\r\n\n\r"), "text");
    EXPECT_EQ(CleanReadBody("text \r\n"), "text");
    EXPECT_EQ(CleanReadBody("\r\n"), "");
    EXPECT_EQ(CleanReadBody("a \nb"), "a \nb");   // a bare LF is no Outlook line break
    EXPECT_EQ(CleanReadBody(""), "");
}

TEST(OutlookRules, FolderKindsMapToOutlooksDefaultFolders) {
    EXPECT_EQ(DefaultFolderNumber(FolderKind::DeletedItems), 3);
    EXPECT_EQ(DefaultFolderNumber(FolderKind::Outbox), 4);
    EXPECT_EQ(DefaultFolderNumber(FolderKind::SentItems), 5);
    EXPECT_EQ(DefaultFolderNumber(FolderKind::Inbox), 6);
    EXPECT_EQ(DefaultFolderNumber(FolderKind::Drafts), 16);
}

TEST(OutlookRules, JunkEmailIsLookedUpOnlyAboveVersion10) {
    EXPECT_EQ(FolderTreeDefaultFolders(9), (std::vector<int>{6, 4, 5, 11, 13, 12, 16, 9, 10, 3}));
    EXPECT_EQ(FolderTreeDefaultFolders(10), (std::vector<int>{6, 4, 5, 11, 13, 12, 16, 9, 10, 3}));
    EXPECT_EQ(FolderTreeDefaultFolders(11), (std::vector<int>{6, 4, 23, 5, 11, 13, 12, 16, 9, 10, 3}));
}

TEST(OutlookRules, DefaultFoldersHaveTheirOwnPictures) {
    DefaultFolderIds defaults;
    const int numbers[] = {6, 4, 23, 5, 11, 13, 12, 16, 9, 10, 3};
    const int images[] = {5, 10, 7, 11, 6, 12, 9, 4, 1, 2, 3};
    for (int number : numbers) defaults.Set(number, "id" + std::to_string(number));
    for (size_t i = 0; i < std::size(numbers); ++i)
        EXPECT_EQ(FolderImageIndex("id" + std::to_string(numbers[i]), 6, defaults), images[i]) << numbers[i];
}

TEST(OutlookRules, OtherFoldersArePicturedByTheirItemType) {
    DefaultFolderIds defaults;
    defaults.Set(6, "inbox");
    EXPECT_EQ(FolderImageIndex("mine", 0, defaults), 8);    // mail
    EXPECT_EQ(FolderImageIndex("mine", 6, defaults), 8);    // posts
    EXPECT_EQ(FolderImageIndex("mine", 2, defaults), 2);    // contacts
    EXPECT_EQ(FolderImageIndex("mine", 3, defaults), 12);   // tasks
    EXPECT_EQ(FolderImageIndex("mine", 4, defaults), 6);    // journal
    EXPECT_EQ(FolderImageIndex("mine", 5, defaults), 9);    // notes
    EXPECT_EQ(FolderImageIndex("mine", 1, defaults), -1);   // appointments: none of its own
    EXPECT_EQ(FolderImageIndex("mine", 7, defaults), -1);
    // A default folder's picture wins over its item type; an empty id matches no default folder.
    EXPECT_EQ(FolderImageIndex("inbox", 2, defaults), 5);
    DefaultFolderIds missing;
    missing.Set(6, "");
    EXPECT_EQ(FolderImageIndex("", 0, missing), 8);
}

TEST(OutlookRules, SiblingsStandInAscendingCaseSensitiveOrder) {
    std::vector<MailFolder> siblings;
    for (const char* name : {"Sent Items", "archive", "Inbox", "Drafts", "Inbox", "Zeta", "\xC3\x84nderungen"}) {
        MailFolder node;
        node.name = name;
        InsertFolderSorted(siblings, node);
    }
    std::vector<std::string> names;
    for (const auto& node : siblings) names.push_back(node.name);
    // Upper case before lower case, bytes above 127 last.
    EXPECT_EQ(names, (std::vector<std::string>{"Drafts", "Inbox", "Inbox", "Sent Items", "Zeta", "archive", "\xC3\x84nderungen"}));
}

TEST(OutlookRules, EqualNamesKeepTheOrderOutlookListsThem) {
    std::vector<MailFolder> siblings;
    for (const char* id : {"first", "second"}) {
        MailFolder node;
        node.name = "Same";
        node.id = id;
        InsertFolderSorted(siblings, node);
    }
    ASSERT_EQ(siblings.size(), 2u);
    EXPECT_EQ(siblings[0].id, "first");
}

}  // namespace
}  // namespace pagelark

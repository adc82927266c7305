#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/options_rules.h"

namespace pagelark {
namespace {

TEST(SetupOptionsRules, EachPageSavesItsGroup) {
    EXPECT_EQ(GroupSavedBy(OptionsPage::User), SettingsGroup::UserData);
    EXPECT_EQ(GroupSavedBy(OptionsPage::Global), SettingsGroup::Global);
    EXPECT_EQ(GroupSavedBy(OptionsPage::Updates), SettingsGroup::Updates);
    EXPECT_EQ(GroupSavedBy(OptionsPage::EMail), SettingsGroup::MailIntegration);
    EXPECT_EQ(GroupSavedBy(OptionsPage::Proxy), SettingsGroup::Proxy);
    EXPECT_EQ(GroupSavedBy(OptionsPage::Log), std::nullopt);
}

TEST(SetupOptionsRules, OnlyShownPagesApply) {
    OptionsApplyTracker tracker;
    tracker.MarkShown(OptionsPage::User);
    tracker.MarkShown(OptionsPage::EMail);
    EXPECT_TRUE(tracker.ShouldApply(OptionsPage::User));
    EXPECT_TRUE(tracker.ShouldApply(OptionsPage::EMail));
    EXPECT_FALSE(tracker.ShouldApply(OptionsPage::Proxy));  // OK without opening Proxy keeps it
    EXPECT_FALSE(tracker.ShouldApply(OptionsPage::Global));
}

TEST(SetupOptionsRules, UserDataChanged) {
    UserDataChange stored;
    stored.OnInitialFill("anna", "");
    EXPECT_TRUE(stored.Changed());  // a stored user name: OK always updates the credits
    EXPECT_TRUE(ShouldRefreshCredits(true, stored));
    EXPECT_FALSE(ShouldRefreshCredits(false, stored));  // Cancel never does

    UserDataChange passwordOnly;
    passwordOnly.OnInitialFill("", "pw");
    EXPECT_TRUE(passwordOnly.Changed());

    UserDataChange empty;
    empty.OnInitialFill("", "");
    EXPECT_FALSE(empty.Changed());
    EXPECT_FALSE(ShouldRefreshCredits(true, empty));
    empty.OnEdit();
    EXPECT_TRUE(ShouldRefreshCredits(true, empty));
}

TEST(SetupOptionsRules, IntegerFields) {
    EXPECT_EQ(ParseIntegerField("8080"), 8080);
    EXPECT_EQ(ParseIntegerField("  10 "), 10);
    EXPECT_EQ(ParseIntegerField("-5"), -5);
    EXPECT_EQ(ParseIntegerField("+7"), 7);
    EXPECT_EQ(ParseIntegerField("2147483647"), 2147483647);
    EXPECT_EQ(ParseIntegerField("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "abc", "80a", "8 0", "+", "-", "1.5", "2147483648", "99999999999999999999",
                            "0x10"})
        EXPECT_EQ(ParseIntegerField(bad), std::nullopt) << bad;
}

TEST(SetupOptionsRules, LanguageEntries) {
    const auto& entries = LanguageEntries();
    const int keys[] = {9, 7, 19, 12, 16, 10};
    const int images[] = {1, 3, 0, 2, 4, 5};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(entries[i].key, keys[i]);
        EXPECT_EQ(entries[i].image, images[i]);
    }
    EXPECT_STREQ(entries[3].text, "Fran\xC3\xA7" "ais");
    EXPECT_EQ(LanguageEntryIndex(16), 4);
    EXPECT_EQ(LanguageEntryIndex(22), std::nullopt);  // an unknown stored value: no selection
}

TEST(SetupOptionsRules, StatusListNewestFirst) {
    EXPECT_EQ(NewestFirst(std::vector<std::string>{"a", "b", "c"}), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_TRUE(NewestFirst(std::vector<std::string>{}).empty());
}

}  // namespace
}  // namespace pagelark

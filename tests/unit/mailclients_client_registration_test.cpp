#include <gtest/gtest.h>

#include "mailclients/client_registration.h"

using namespace pagelark;

TEST(ClientRegistration, VersionsAndEditorPreference) {
    EXPECT_EQ(ClientVersionFromCurVer("Outlook.Application.11"), 11);
    EXPECT_EQ(ClientVersionFromCurVer("Outlook.Application.16"), 16);
    EXPECT_EQ(ClientVersionFromCurVer("Outlook.Application"), 0);
    EXPECT_EQ(ClientVersionFromCurVer(""), 0);
    EXPECT_EQ(ClientVersionFromCurVer("x.99999999999999"), 0);
    EXPECT_TRUE(WordEditorFromPreference(0x20001));
    EXPECT_FALSE(WordEditorFromPreference(0x20000));
    EXPECT_FALSE(WordEditorFromPreference(std::nullopt));
}

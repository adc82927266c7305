#include "ui/looks.h"

#include <gtest/gtest.h>

using namespace pagelark;

TEST(UiLooks, OutlookToolbarFollowsTheClientVersion) {
    EXPECT_EQ(ChooseToolbar(HostClient::Outlook, 0, 1).look, Look::Classic);
    EXPECT_EQ(ChooseToolbar(HostClient::Outlook, 9, 1).look, Look::Classic);
    EXPECT_EQ(ChooseToolbar(HostClient::Outlook, 10, 1).look, Look::Flat);
    const ToolbarChoice modern = ChooseToolbar(HostClient::Outlook, 16, 1);
    EXPECT_EQ(modern.look, Look::Office2003);
    EXPECT_EQ(modern.toolbarId, 130);
    EXPECT_EQ(modern.bitmapId, 130);
    EXPECT_EQ(ChooseToolbar(HostClient::Outlook, 9, 0).toolbarId, 128);
    EXPECT_EQ(ChooseMenu(HostClient::Outlook), 128);
}

TEST(UiLooks, ExpressToolbarIsLargeOnlyForIconSizeOne) {
    const ToolbarChoice large = ChooseToolbar(HostClient::OutlookExpress, 6, 1);
    EXPECT_EQ(large.look, Look::Express);
    EXPECT_EQ(large.toolbarId, 131);
    EXPECT_EQ(large.bitmapId, 188);
    EXPECT_EQ(large.imageSize, 24);
    EXPECT_EQ(large.buttonSize, 30);
    for (int size : {0, 2, -1, 12345}) {
        const ToolbarChoice small = ChooseToolbar(HostClient::OutlookExpress, 6, size);
        EXPECT_EQ(small.toolbarId, 129) << size;
        EXPECT_EQ(small.bitmapId, 187) << size;
        EXPECT_EQ(small.imageSize, 16) << size;
    }
    EXPECT_EQ(ChooseMenu(HostClient::OutlookExpress), 129);
}

TEST(UiLooks, IconsAndButtonsPerHost) {
    EXPECT_EQ(ChooseWindowIcon(HostClient::Outlook, 0), 165);
    EXPECT_EQ(ChooseWindowIcon(HostClient::Outlook, 10), 165);
    EXPECT_EQ(ChooseWindowIcon(HostClient::Outlook, 11), 174);
    EXPECT_EQ(ChooseWindowIcon(HostClient::OutlookExpress, 6), 166);
    EXPECT_EQ(ChooseRecipientButtonIcon(10), 170);
    EXPECT_EQ(ChooseRecipientButtonIcon(11), 178);
    EXPECT_TRUE(UsesToolkitButtons(HostClient::OutlookExpress, false));
    EXPECT_TRUE(UsesToolkitButtons(HostClient::Outlook, true));
    EXPECT_FALSE(UsesToolkitButtons(HostClient::Outlook, false));
    EXPECT_EQ(ChooseButtonLook(HostClient::OutlookExpress, 6), Look::Classic);
    EXPECT_EQ(ChooseButtonLook(HostClient::Outlook, 10), Look::Flat);
    EXPECT_EQ(ChooseButtonLook(HostClient::Outlook, 12), Look::Office2003);
}

TEST(UiLooks, GradientAndClassicThemeRules) {
    EXPECT_TRUE(UsesGradientDialogBar(HostClient::Outlook, 11, true));
    EXPECT_FALSE(UsesGradientDialogBar(HostClient::Outlook, 10, true));
    EXPECT_FALSE(UsesGradientDialogBar(HostClient::Outlook, 11, false));
    EXPECT_FALSE(UsesGradientDialogBar(HostClient::OutlookExpress, 11, true));
    EXPECT_TRUE(UsesClassicControlTheme(HostClient::Outlook, 10));
    EXPECT_FALSE(UsesClassicControlTheme(HostClient::Outlook, 11));
    EXPECT_TRUE(UsesClassicControlTheme(HostClient::OutlookExpress, 6));
    EXPECT_EQ(ExpressToolbarSizePlace(5), ExpressSettingsPlace::Identity);
    EXPECT_EQ(ExpressToolbarSizePlace(6), ExpressSettingsPlace::WindowsMail);
}

TEST(UiLooks, GradientRunsFromFirstToSecondColourAndSpansHalfTheScreenAtLeast) {
    EXPECT_EQ(GradientAt(kOffice2003First, kOffice2003Second, 0, 100), kOffice2003First);
    EXPECT_EQ(GradientAt(kOffice2003First, kOffice2003Second, 99, 100), kOffice2003Second);
    EXPECT_EQ(GradientAt(kOffice2003First, kOffice2003Second, 500, 100), kOffice2003Second);
    EXPECT_EQ(GradientAt(kOffice2003First, kOffice2003Second, -3, 100), kOffice2003First);
    EXPECT_EQ(GradientAt(kOffice2003First, kOffice2003Second, 0, 0), kOffice2003First);
    const Rgb middle = GradientAt(Rgb{0, 0, 0}, Rgb{200, 100, 50}, 50, 101);
    EXPECT_EQ(middle, (Rgb{100, 50, 25}));
    EXPECT_EQ(GradientSpan(300, 1280), 640);
    EXPECT_EQ(GradientSpan(900, 1280), 900);
}

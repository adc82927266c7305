#include <gtest/gtest.h>

#include "window/account_display.h"
#include "window/focus_navigation.h"
#include "window/frame_layout.h"
#include "window/host_look.h"

using namespace pagelark;

TEST(AccountDisplay, PurchaseCreditsAroundTheThreshold) {
    EXPECT_TRUE(ShowsPurchaseCredits(10, 10));
    EXPECT_FALSE(ShowsPurchaseCredits(11, 10));
    EXPECT_TRUE(ShowsPurchaseCredits(0, 10));
    EXPECT_FALSE(ShowsPurchaseCredits(-1, 10));   // unknown
    EXPECT_EQ(ComputeAccountDisplay({12, "12", 0, 10}, false).creditsPane, " 12");
}

TEST(AccountDisplay, OptionsByAccountType) {
    const AccountDisplay none = ComputeAccountDisplay({5, "5", 0, 10}, true);
    EXPECT_FALSE(none.showReplyToInbox || none.showReplyToMobile || none.showFlash);
    EXPECT_FALSE(none.enableSendOn || none.enablePickers || none.enableCc);

    const AccountDisplay all = ComputeAccountDisplay({5, "5", 31, 10}, false);
    EXPECT_TRUE(all.showReplyToInbox && all.showReplyToMobile && all.showFlash && all.enableSendOn && all.enableCc);
    EXPECT_FALSE(all.enablePickers);   // "Send on" not checked
    EXPECT_TRUE(ComputeAccountDisplay({5, "5", 31, 10}, true).enablePickers);
    EXPECT_EQ(all.flashSlot, OptionSlot::Own);
    EXPECT_EQ(all.replyToMobileSlot, OptionSlot::Own);
}

TEST(AccountDisplay, GapsCloseForFlashOnlyAndMobileWithoutInbox) {
    const AccountDisplay flash = ComputeAccountDisplay({5, "5", 4, 10}, false);
    EXPECT_TRUE(flash.showFlash);
    EXPECT_FALSE(flash.showReplyToInbox || flash.showReplyToMobile);
    EXPECT_EQ(flash.flashSlot, OptionSlot::ReplyToInboxSlot);
    EXPECT_EQ(ComputeAccountDisplay({5, "5", 4 | 8, 10}, false).flashSlot, OptionSlot::Own);
    EXPECT_EQ(ComputeAccountDisplay({5, "5", 2, 10}, false).replyToMobileSlot, OptionSlot::ReplyToInboxSlot);
    EXPECT_EQ(ComputeAccountDisplay({5, "5", 3, 10}, false).replyToMobileSlot, OptionSlot::Own);
}

TEST(FocusNavigation, TabAndShiftTab) {
    EXPECT_EQ(NextFieldOnTab(FocusField::To, false, 16), FocusField::CC);
    EXPECT_EQ(NextFieldOnTab(FocusField::To, false, 15), FocusField::Editor);
    EXPECT_EQ(NextFieldOnTab(FocusField::CC, false, 16), FocusField::Editor);
    EXPECT_EQ(NextFieldOnTab(FocusField::To, true, 16), FocusField::Editor);
    EXPECT_EQ(NextFieldOnTab(FocusField::Editor, true, 16), FocusField::CC);
    EXPECT_EQ(NextFieldOnTab(FocusField::Editor, true, 0), FocusField::To);
    EXPECT_FALSE(NextFieldOnTab(FocusField::Editor, false, 31));   // typed as a tab character
    EXPECT_FALSE(NextFieldOnTab(FocusField::CC, true, 31));
}

TEST(FrameLayout, FieldsButtonAndEditor) {
    const FrameLayout normal = ComputeFrameLayout({664, 672, 470, 110, false});
    EXPECT_EQ(normal.recipientFieldWidth, 555);
    EXPECT_EQ(normal.purchaseButtonX, 552);
    EXPECT_EQ(normal.editor, (PixelRect{5, 111, 662, 445}));
    const FrameLayout flush = ComputeFrameLayout({664, 672, 470, 110, true});
    EXPECT_EQ(flush.editor, (PixelRect{0, 111, 667, 445}));
}

TEST(HostLook, LooksOfEachHost) {
    const HostLook express = ComputeHostLook(HostClient::OutlookExpress, 6, false);
    EXPECT_EQ(express.classIcon, 166);
    EXPECT_TRUE(express.toolkitRecipientButtons && express.toolkitPurchaseButton && express.flushEditor);
    EXPECT_EQ(express.recipientButtonIcon, 170);
    EXPECT_TRUE(express.classicThemeControls);
    EXPECT_FALSE(express.gradientDialogBar);

    const HostLook plain = ComputeHostLook(HostClient::Outlook, 10, false);
    EXPECT_EQ(plain.classIcon, 165);
    EXPECT_FALSE(plain.toolkitRecipientButtons || plain.flushEditor);
    EXPECT_TRUE(plain.classicThemeControls);

    const HostLook word = ComputeHostLook(HostClient::Outlook, 11, true);
    EXPECT_EQ(word.classIcon, 174);
    EXPECT_TRUE(word.toolkitRecipientButtons && word.gradientDialogBar && word.flushEditor);
    EXPECT_FALSE(word.toolkitPurchaseButton || word.classicThemeControls);
    EXPECT_EQ(word.recipientButtonIcon, 178);

    EXPECT_EQ(ColonCaption("To..."), "To:");
    EXPECT_EQ(ColonCaption("CC to e-mail..."), "CC to e-mail:");
    EXPECT_EQ(ColonCaption("An"), "An");
}

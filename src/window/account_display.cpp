#include "window/account_display.h"

#include "model/message_record.h"

namespace pagelark {

std::string CreditsPaneText(std::string_view creditsText) {
    std::string text(1, ' ');
    text.append(creditsText);
    return text;
}

bool ShowsPurchaseCredits(int credits, int minSmsCredits) {
    return credits >= 0 && credits <= minSmsCredits;
}

AccountDisplay ComputeAccountDisplay(const AccountState& account, bool sendOnChecked) {
    using namespace account_feature;
    const int type = account.accountType;
    AccountDisplay display;
    display.creditsPane = CreditsPaneText(account.creditsText);
    display.showPurchaseCredits = ShowsPurchaseCredits(account.credits, account.minSmsCredits);
    display.showReplyToInbox = (type & kReplyToInbox) != 0;
    display.showReplyToMobile = (type & kReplyToMobile) != 0;
    display.showFlash = (type & kFlash) != 0;
    display.enableSendOn = (type & kScheduled) != 0;
    display.enablePickers = display.enableSendOn && sendOnChecked;
    display.enableCc = (type & kCarbonCopy) != 0;
    // Close the gap a hidden "Reply to my inbox" would leave.
    if (type == kFlash) display.flashSlot = OptionSlot::ReplyToInboxSlot;
    if ((type & kReplyToMobile) && !(type & kReplyToInbox)) display.replyToMobileSlot = OptionSlot::ReplyToInboxSlot;
    return display;
}

}  // namespace pagelark

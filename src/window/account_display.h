#pragma once
// What the status bar and the dialog bar show for the account's credits and send features.
#include <string>
#include <string_view>

namespace pagelark {

// The place a reply/flash check box takes in the dialog bar: its own, or the one of
// "Reply to my inbox" when the boxes before it are hidden.
enum class OptionSlot { Own, ReplyToInboxSlot };

// The credits pane's text: the service client's credits text after one blank.
std::string CreditsPaneText(std::string_view creditsText);

struct AccountDisplay {
    std::string creditsPane;        // " " + CreditsText
    bool showPurchaseCredits = false;
    bool showReplyToInbox = false;
    bool showReplyToMobile = false;
    bool showFlash = false;
    bool enableSendOn = false;
    bool enablePickers = false;     // "Send on" allowed and checked
    bool enableCc = false;          // the CC field and its button
    OptionSlot replyToMobileSlot = OptionSlot::Own;
    OptionSlot flashSlot = OptionSlot::Own;
};

struct AccountState {
    int credits = -1;   // -1: unknown
    std::string creditsText = "0";
    int accountType = 0;
    int minSmsCredits = 10;
};

AccountDisplay ComputeAccountDisplay(const AccountState& account, bool sendOnChecked);

// The "Purchase credits" button shows while 0 <= credits <= the threshold.
bool ShowsPurchaseCredits(int credits, int minSmsCredits);

}  // namespace pagelark

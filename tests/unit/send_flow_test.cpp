#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/send_flow.h"

using namespace pagelark;

namespace {

using Events = std::vector<std::string>;

// Records every step the flow takes, in order, and answers as each test sets it up.
class FakeSendHost : public SendFlowHost {
public:
    bool namesOk = true;
    MessageRecord gathered{"", "Team; +491711234567", "", "SMS-Message", "Hello", "", 0, 0};
    int recipients = 3;
    std::string expandedTo = "+491701111111; +491702222222; +491711234567";
    AskAnswer question{true, false};
    AskAnswer result{true, false};
    int credits = 12;
    int statusResult = 0;
    bool wizardExists = true;
    bool sendWorks = true;
    Settings settings;
    Events events;
    std::vector<std::string> boxes;
    MessageRecord sentRecord, copyRecord;

    bool CheckNames() override {
        events.push_back("check names");
        return namesOk;
    }
    MessageRecord GatherMessage() override { return gathered; }
    void RefreshAccountDisplay() override { events.push_back("refresh"); }
    void ShowSendResultIcon(bool success) override { events.push_back(success ? "icon 145" : "icon 146"); }
    void CloseAfterSend() override { events.push_back("close"); }
    void SelectInEditor(size_t start, size_t length) override {
        events.push_back("select " + std::to_string(start) + "+" + std::to_string(length));
    }
    int ExpandLists(MessageRecord& record) override {
        record.To = expandedTo;
        return recipients;
    }
    void ExpandListNamesForCopy(std::string& to, std::string& cc) override {
        if (to.starts_with("Team")) to.replace(0, 4, "Team (+491701111111, +491702222222)");
        cc += "";
    }
    std::string Text(int id) override {
        switch (id) {
        case IDS_COST_RECIPIENT_ONE: return "%d recipient";
        case IDS_COST_RECIPIENTS_MANY: return "%d recipients";
        case IDS_COST_LINE: return "%s x %d SMS = %d SMS";
        case IDS_UNSENDABLE_CHARACTERS: return "Cannot send: %s";
        default: return "#" + std::to_string(id);
        }
    }
    void ShowMessage(const std::string& text, BoxIcon icon) override {
        boxes.push_back(text);
        events.push_back("box " + std::to_string(static_cast<int>(icon)));
    }
    AskAnswer Ask(const std::string& text, BoxIcon icon, bool withCancel) override {
        boxes.push_back(text);
        events.push_back("ask " + std::to_string(static_cast<int>(icon)) + (withCancel ? " cancel" : ""));
        return withCancel ? question : result;
    }
    bool StartConnectionWizard() override {
        events.push_back("inetwiz");
        return wizardExists;
    }
    void Pause(int ms) override { events.push_back("pause " + std::to_string(ms)); }
    Settings& UserSettings() override { return settings; }
    void SaveGlobalSettings() override {
        events.push_back("save global SendConfirmation=" + std::to_string(settings.SendConfirmation));
    }
    int Credits() override { return credits; }
    int RequestStatus() override {
        events.push_back("status");
        return statusResult;
    }
    std::string LastError() override { return "Wrong Login/Password."; }
    bool SendSms(const MessageRecord& record) override {
        events.push_back("send");
        sentRecord = record;
        return sendWorks;
    }
    void CreateSentCopy(const MessageRecord& record) override {
        events.push_back("copy");
        copyRecord = record;
    }
};

}  // namespace

TEST(SendFlow, ConfirmedSendGoesThroughEveryStepAndCloses) {
    FakeSendHost host;
    host.gathered.EntryID = "draft-17";
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::Sent);
    EXPECT_EQ(host.events, (Events{"check names", "ask 32514 cancel", "send", "refresh", "copy", "icon 145",
                                   "ask 32516", "close"}));
    EXPECT_EQ(host.boxes[0], "#16778\n\n3 recipients x 1 SMS = 3 SMS");
    EXPECT_EQ(host.boxes[1], "#16780");
    EXPECT_EQ(host.sentRecord.To, host.expandedTo);
    EXPECT_EQ(host.sentRecord.Body, "Hello");
    // The copy carries the typed recipients with the list expanded, and never an entry id.
    EXPECT_EQ(host.copyRecord.To, "Team (+491701111111, +491702222222); +491711234567");
    EXPECT_EQ(host.copyRecord.EntryID, "");
    EXPECT_EQ(host.copyRecord.Body, "Hello");
}

TEST(SendFlow, CheckNamesRefusalStopsSilently) {
    FakeSendHost host;
    host.namesOk = false;
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::NamesNotChecked);
    EXPECT_EQ(host.events, (Events{"check names"}));
}

TEST(SendFlow, NoRecipientAfterExpansionAsksForRecipients) {
    FakeSendHost host;   // e.g. only a list whose members have no numbers
    host.recipients = 0;
    host.expandedTo = "";
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::NoRecipients);
    EXPECT_EQ(host.events, (Events{"check names", "box 32515"}));
    EXPECT_EQ(host.boxes, (std::vector<std::string>{"#16809"}));
}

TEST(SendFlow, EmptyTextAsksForText) {
    FakeSendHost host;
    host.gathered.Body.clear();
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::NoText);
    EXPECT_EQ(host.boxes, (std::vector<std::string>{"#16820"}));
    EXPECT_EQ(host.events.back(), "box 32515");
}

TEST(SendFlow, CharactersOutsideTheCodePageAreNamedAndNothingIsSent) {
    FakeSendHost host;
    host.gathered.Body = "Party \xF0\x9F\x8E\x89 \xD0\x9F\xD1\x80\xD0\xB8";
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::UnsendableText);
    EXPECT_EQ(host.events, (Events{"check names", "box 32515", "select 6+2"}));
    EXPECT_EQ(host.boxes[0], "Cannot send: \"\xF0\x9F\x8E\x89\" \"\xD0\x9F\" \"\xD1\x80\" \"\xD0\xB8\"");
}

TEST(SendFlow, CancelledQuestionSendsNothing) {
    FakeSendHost host;
    host.question = {false, true};   // the check box does not count without OK
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::Declined);
    EXPECT_EQ(host.events, (Events{"check names", "ask 32514 cancel"}));
    EXPECT_EQ(host.settings.SendConfirmation, 1);
}

TEST(SendFlow, DontShowAgainInTheQuestionSavesAndSkipsTheResultBox) {
    FakeSendHost host;
    host.question = {true, true};
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::Sent);
    EXPECT_EQ(host.events, (Events{"check names", "ask 32514 cancel", "save global SendConfirmation=0", "send",
                                   "refresh", "copy", "icon 145", "pause 1000", "close"}));
}

TEST(SendFlow, WithoutConfirmationNoBoxesAndAPauseBeforeClosing) {
    FakeSendHost host;
    host.settings.SendConfirmation = 0;
    host.settings.SaveSentMessages = 0;
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::Sent);
    EXPECT_EQ(host.events, (Events{"check names", "send", "refresh", "icon 145", "pause 1000", "close"}));
}

TEST(SendFlow, DontShowAgainInTheResultBoxSwitchesConfirmationOff) {
    FakeSendHost host;
    host.result = {true, true};
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::Sent);
    EXPECT_EQ(host.events, (Events{"check names", "ask 32514 cancel", "send", "refresh", "copy", "icon 145",
                                   "ask 32516", "save global SendConfirmation=0", "pause 1000", "close"}));
}

TEST(SendFlow, FailedSendKeepsTheWindowAndStoresNoCopy) {
    FakeSendHost host;
    host.sendWorks = false;
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::SendFailed);
    EXPECT_EQ(host.events,
              (Events{"check names", "ask 32514 cancel", "send", "refresh", "icon 146", "ask 32513"}));
    EXPECT_EQ(host.boxes.back(), "#16781");
}

TEST(SendFlow, FailedSendWithoutConfirmationShowsOnlyTheIcon) {
    FakeSendHost host;
    host.settings.SendConfirmation = 0;
    host.sendWorks = false;
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::SendFailed);
    EXPECT_EQ(host.events, (Events{"check names", "send", "refresh", "icon 146"}));
}

TEST(SendFlow, CreditsZeroFetchTheStatusFirstAndMinusOneDoesNot) {
    FakeSendHost zero;
    zero.credits = 0;
    zero.settings.SendConfirmation = 0;
    EXPECT_EQ(SendMessageNow(zero), SendFlowResult::Sent);
    EXPECT_EQ(zero.events, (Events{"check names", "status", "send", "refresh", "copy", "icon 145", "pause 1000",
                                   "close"}));

    FakeSendHost unknown;
    unknown.credits = -1;
    unknown.settings.SendConfirmation = 0;
    EXPECT_EQ(SendMessageNow(unknown), SendFlowResult::Sent);
    EXPECT_EQ(unknown.events[1], "send");
}

TEST(SendFlow, StatusWithoutInternetStartsTheWizardOrSaysSo) {
    FakeSendHost host;
    host.credits = 0;
    host.statusResult = 1;
    EXPECT_EQ(SendMessageNow(host), SendFlowResult::NoConnection);
    EXPECT_EQ(host.events, (Events{"check names", "ask 32514 cancel", "status", "inetwiz"}));

    FakeSendHost noWizard;
    noWizard.credits = 0;
    noWizard.statusResult = 1;
    noWizard.wizardExists = false;
    EXPECT_EQ(SendMessageNow(noWizard), SendFlowResult::NoConnection);
    EXPECT_EQ(noWizard.events.back(), "box 32513");
    EXPECT_EQ(noWizard.boxes.back(), "#16786");
}

TEST(SendFlow, OtherStatusFailuresShowLastError) {
    for (int result : {2, -1}) {
        FakeSendHost host;
        host.credits = 0;
        host.statusResult = result;
        EXPECT_EQ(SendMessageNow(host), SendFlowResult::StatusFailed);
        EXPECT_EQ(host.events.back(), "box 32513");
        EXPECT_EQ(host.boxes.back(), "Wrong Login/Password.");
    }
}

TEST(SendFlow, CostLineCountsPartsOfTheText) {
    FakeSendHost host;
    host.recipients = 1;
    host.gathered.Body = std::string(161, 'x');
    host.question = {false, false};
    SendMessageNow(host);
    EXPECT_EQ(host.boxes[0], "#16778\n\n1 recipient x 2 SMS = 2 SMS");
}

#include "window/send_flow.h"

#include "window/send_charset.h"
#include "window/send_cost.h"

namespace pagelark {
namespace {

std::string QuestionWithCost(SendFlowHost& host, int recipients, const std::string& body) {
    const SendCostTexts texts{host.Text(IDS_COST_RECIPIENT_ONE), host.Text(IDS_COST_RECIPIENTS_MANY),
                              host.Text(IDS_COST_LINE)};
    return host.Text(IDS_SEND_QUESTION) + "\n\n" + FormatSendCost(ComputeSendCost(recipients, body), texts);
}

void SwitchConfirmationOff(SendFlowHost& host) {
    host.UserSettings().SendConfirmation = 0;
    host.SaveGlobalSettings();
}

}  // namespace

SendFlowResult SendMessageNow(SendFlowHost& host) {
    if (!host.CheckNames()) return SendFlowResult::NamesNotChecked;

    MessageRecord record = host.GatherMessage();
    const std::string typedTo = record.To;
    const std::string typedCc = record.CC;

    const int recipients = host.ExpandLists(record);
    if (recipients <= 0) {
        host.ShowMessage(host.Text(IDS_ENTER_RECIPIENTS), BoxIcon::Exclamation);
        return SendFlowResult::NoRecipients;
    }
    if (record.Body.empty()) {
        host.ShowMessage(host.Text(IDS_ENTER_TEXT), BoxIcon::Exclamation);
        return SendFlowResult::NoText;
    }
    // The service would receive such characters as "?": say which ones, send nothing.
    const std::u32string unsendable = FindUnsendableCharacters(record.Body);
    if (!unsendable.empty()) {
        host.ShowMessage(FillPlaceholders(host.Text(IDS_UNSENDABLE_CHARACTERS), {ListCharactersForDisplay(unsendable)}),
                         BoxIcon::Exclamation);
        const TextRange first = FirstUnsendableRange(record.Body);
        host.SelectInEditor(first.start, first.length);   // back to where the change is due
        return SendFlowResult::UnsendableText;
    }

    Settings& settings = host.UserSettings();
    if (settings.SendConfirmation) {
        const AskAnswer answer = host.Ask(QuestionWithCost(host, recipients, record.Body), BoxIcon::Question, true);
        if (!answer.ok) return SendFlowResult::Declined;
        if (answer.dontShowAgain) SwitchConfirmationOff(host);
    }

    // Credits 0 also means "never fetched"; −1 (unknown) does not fetch again.
    if (host.Credits() == 0) {
        const int status = host.RequestStatus();
        if (status == 1) {
            if (!host.StartConnectionWizard())
                host.ShowMessage(host.Text(IDS_NO_CONNECTION), BoxIcon::Error);
            return SendFlowResult::NoConnection;
        }
        if (status != 0) {
            host.ShowMessage(host.LastError(), BoxIcon::Error);
            return SendFlowResult::StatusFailed;
        }
    }

    const bool sent = host.SendSms(record);
    host.RefreshAccountDisplay();

    if (sent && settings.SaveSentMessages) {
        MessageRecord copy = record;
        copy.To = typedTo;
        copy.CC = typedCc;
        copy.EntryID.clear();   // always a new item, also for a message opened from the drafts
        host.ExpandListNamesForCopy(copy.To, copy.CC);
        host.CreateSentCopy(copy);
    }

    host.ShowSendResultIcon(sent);

    if (settings.SendConfirmation) {
        const AskAnswer answer = sent ? host.Ask(host.Text(IDS_SEND_SUCCEEDED), BoxIcon::Information, false)
                                      : host.Ask(host.Text(IDS_SEND_FAILED), BoxIcon::Error, false);
        if (answer.ok && answer.dontShowAgain) SwitchConfirmationOff(host);
    }

    if (!sent) return SendFlowResult::SendFailed;
    if (!settings.SendConfirmation) host.Pause(1000);   // the success icon stays visible a moment
    host.CloseAfterSend();
    return SendFlowResult::Sent;
}

}  // namespace pagelark

#pragma once
// The Send command (32801): from the window's fields to the service and back, step by step.
// The flow is portable; the message window, the user, the service client and the mail-client
// bridge are reached through SendFlowHost.
#include <string>

#include "model/settings.h"
#include "model/message_record.h"

namespace pagelark {

// Texts of the flow, by string number in the language resources.
namespace send_text {
inline constexpr int kQuestion = 16778;            // "Send the message?"
inline constexpr int kSucceeded = 16780;           // "Message(s) successfully sent."
inline constexpr int kFailed = 16781;              // "Your message(s) could not be send! ..."
inline constexpr int kNoInternet = 16786;          // "No connection to the internet!"
inline constexpr int kEnterRecipients = 16809;     // "Please enter recipient(s)."
inline constexpr int kEnterText = 16820;           // "Please enter text."
inline constexpr int kLayoutToLabel = 16821;       // "To"
inline constexpr int kCostRecipientOne = 16850;    // "%d recipient"
inline constexpr int kCostRecipientsMany = 16851;  // "%d recipients"
inline constexpr int kCostLine = 16852;            // "%s × %d SMS = %d SMS"
inline constexpr int kUnsendable = 16853;          // the characters that cannot be sent
}  // namespace send_text

// The system icons of the message boxes (their identifiers in the platform).
enum class BoxIcon : int { Error = 32513, Question = 32514, Exclamation = 32515, Information = 32516 };

struct AskAnswer {
    bool ok = false;              // OK; Cancel or closing the box is false
    bool dontShowAgain = false;   // the check box, read on OK only
};

class SendFlowHost {
public:
    virtual ~SendFlowHost() = default;

    // The message window.
    virtual bool CheckNames() = 0;
    virtual MessageRecord GatherMessage() = 0;
    virtual void RefreshAccountDisplay() = 0;
    virtual void ShowSendResultIcon(bool success) = 0;   // icon 145 or 146, repainted at once
    virtual void CloseAfterSend() = 0;                   // clears the modified flag and closes
    // Focus in the editor with this range selected (UTF-16 code units).
    virtual void SelectInEditor(size_t start, size_t length) = 0;

    // Recipients: the record's To and CC as plain lists; returns the number of To recipients.
    virtual int ExpandLists(MessageRecord& record) = 0;
    // The typed fields with distribution-list names expanded for the sent-items copy.
    virtual void ExpandListNamesForCopy(std::string& to, std::string& cc) = 0;

    // The user.
    virtual std::string Text(int id) = 0;
    virtual void ShowMessage(const std::string& text, BoxIcon icon) = 0;
    virtual AskAnswer Ask(const std::string& text, BoxIcon icon, bool withCancel) = 0;   // CMessageBoxAsk
    virtual bool StartConnectionWizard() = 0;   // "inetwiz"; false where the system has none
    virtual void Pause(int milliseconds) = 0;

    // The settings record and its global group.
    virtual Settings& UserSettings() = 0;
    virtual void SaveGlobalSettings() = 0;

    // The service client.
    virtual int Credits() = 0;
    virtual int RequestStatus() = 0;   // 0 success, 1 no internet handle, other: LastError()
    virtual std::string LastError() = 0;
    virtual bool SendSms(const MessageRecord& record) = 0;   // under the wait cursor

    // The mail-client bridge: a new item in Sent Items; its result does not matter.
    virtual void CreateSentCopy(const MessageRecord& record) = 0;
};

enum class SendFlowResult {
    NamesNotChecked,     // CheckNames said no
    NoRecipients,
    NoText,
    UnsendableText,      // characters the service's code page lacks
    Declined,            // the confirmation was not answered with OK
    NoConnection,        // the status request found no internet connection
    StatusFailed,
    SendFailed,
    Sent,
};

SendFlowResult SendMessageNow(SendFlowHost& host);

}  // namespace pagelark

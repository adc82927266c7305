#pragma once
// The Send command (ID_SEND): from the window's fields to the service and back, step by step.
// The flow is portable; the message window, the user, the service client and the mail-client
// bridge are reached through SendFlowHost.
#include <string>

#include "model/settings.h"
#include "model/message_record.h"
#include "resource_ids.h"

namespace pagelark {

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
    virtual void ShowSendResultIcon(bool success) = 0;   // IDI_SEND_SUCCEEDED or IDI_SEND_FAILED, repainted at once
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

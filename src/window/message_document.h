#pragma once
// The life of a window's message: loaded from a mail-client item or new, modified, saved into
// the mail client, closed, deleted.
#include <functional>
#include <string>

#include "mailclients/mail_bridge.h"
#include "model/message_record.h"

namespace pagelark {

// The questions and warnings the message's life needs answered (all with the exclamation icon).
class MessagePrompts {
public:
    enum class Answer { Ok, Cancel, Yes, No };
    virtual ~MessagePrompts() = default;
    virtual void WarnNoData() = 0;                    // "You have not entered any data."
    virtual Answer AskSaveChanges() = 0;              // Yes / No / Cancel
    virtual Answer AskDeleteChanged() = 0;            // OK / Cancel
};

class MessageDocument {
public:
    explicit MessageDocument(HostClient host) : host_(host) {}

    HostClient Host() const { return host_; }
    const MessageRecord& Item() const { return item_; }
    const std::string& EntryId() const { return item_.EntryID; }
    bool IsSentItem() const { return item_.Sent != 0; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Reads the item; on failure the item fields stay empty apart from the entry id.
    bool Load(MailBridge& bridge, const std::string& entryId);

    // Save: updates the item the window shows, or stores a new draft. `gathered` comes from
    // GatherMessage. A new draft's id is kept, so that saving again updates that draft.
    bool SaveToMailClient(MessageRecord gathered, MailBridge& bridge, MessagePrompts& prompts);

    // Whether the window may be destroyed now (asks about unsaved changes of Outlook messages).
    bool ConfirmClose(bool exitingForUpdate, const std::function<MessageRecord()>& gather, MailBridge& bridge,
                      MessagePrompts& prompts);

    // Delete: true when the window is to close (asking nothing more).
    bool Delete(MailBridge& bridge, MessagePrompts& prompts);

private:
    HostClient host_;
    MessageRecord item_;
    bool modified_ = false;
};

}  // namespace pagelark

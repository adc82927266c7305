#include "window/message_document.h"

namespace pagelark {

bool MessageDocument::Load(MailBridge& bridge, const std::string& entryId) {
    item_ = MessageRecord{};
    item_.EntryID = entryId;
    MessageRecord read;
    const bool ok = bridge.ReadItem(host_, entryId, read);
    if (ok) {
        item_.To = read.To;
        item_.CC = read.CC;
        item_.Body = read.Body;
        item_.Sent = read.Sent;
    }
    modified_ = false;
    return ok;
}

bool MessageDocument::SaveToMailClient(MessageRecord gathered, MailBridge& bridge, MessagePrompts& prompts) {
    gathered.EntryID = item_.EntryID;
    if (HasNoData(gathered)) {
        prompts.WarnNoData();
        return false;
    }
    bool ok = false;
    if (!gathered.EntryID.empty()) {
        ok = bridge.UpdateItem(host_, gathered);
    } else {
        std::string newEntryId;
        ok = bridge.CreateItem(host_, gathered, FolderKind::Drafts, &newEntryId);
        if (ok && !newEntryId.empty()) item_.EntryID = newEntryId;
    }
    if (ok) modified_ = false;
    return ok;
}

bool MessageDocument::ConfirmClose(bool exitingForUpdate, const std::function<MessageRecord()>& gather,
                                   MailBridge& bridge, MessagePrompts& prompts) {
    if (!modified_ || host_ != HostClient::Outlook || exitingForUpdate) return true;
    switch (prompts.AskSaveChanges()) {
    case MessagePrompts::Answer::Yes:
        return SaveToMailClient(gather(), bridge, prompts);
    case MessagePrompts::Answer::No:
        return true;
    default:
        return false;
    }
}

bool MessageDocument::Delete(MailBridge& bridge, MessagePrompts& prompts) {
    if (modified_ && prompts.AskDeleteChanged() != MessagePrompts::Answer::Ok) return false;
    if (!item_.EntryID.empty()) bridge.DeleteItem(host_, item_.EntryID);
    modified_ = false;
    return true;
}

}  // namespace pagelark

#pragma once
// What a message window asks of the mail clients: items, folders, the client's version and the
// contact list of one host client. Every call reports success; the caller reacts to failure.
#include <memory>
#include <string>
#include <vector>

#include "model/contact.h"
#include "model/message_record.h"

namespace pagelark {

enum class FolderKind : int { DeletedItems = 1, Outbox = 2, SentItems = 3, Inbox = 4, Drafts = 5 };

struct MailFolder {
    std::string id;
    std::string name;
    int image = -1;   // picture in the folder chooser's strip; -1: none of its own
    std::vector<MailFolder> children;
};

class MailBridge {
public:
    virtual ~MailBridge() = default;

    // Fills To, CC, Body and Sent of `item` from the item `entryId`.
    virtual bool ReadItem(HostClient host, const std::string& entryId, MessageRecord& item) = 0;
    virtual bool UpdateItem(HostClient host, const MessageRecord& record) = 0;
    // `newEntryId`, when given, receives the new item's id (empty when the client has none).
    virtual bool CreateItem(HostClient host, const MessageRecord& record, FolderKind folder,
                            std::string* newEntryId) = 0;
    virtual bool DeleteItem(HostClient host, const std::string& entryId) = 0;
    virtual bool MoveItem(HostClient host, const MessageRecord& record, const std::string& folderId) = 0;
    virtual bool CopyItem(HostClient host, const MessageRecord& record, const std::string& folderId) = 0;
    virtual bool GetFolderTree(HostClient host, std::vector<MailFolder>& folders) = 0;

    // Major version of the host client: Outlook's from its registration (0 when unknown), 6 for
    // Outlook Express.
    virtual int ClientVersion(HostClient host) = 0;
    // The current contact list of the host's address book; replaced whole, never changed in place.
    virtual std::shared_ptr<const ContactList> Contacts(HostClient host) = 0;
};

}  // namespace pagelark

#pragma once
// The bridge while no mail client is driven: every item operation fails, the versions and the
// contact lists are the ones it was given.
#include <memory>
#include <mutex>

#include "mailclients/mail_bridge.h"

namespace pagelark {

class OfflineMailBridge : public MailBridge {
public:
    explicit OfflineMailBridge(int outlookVersion = 0);

    // Replaces a host's contact list (thread-safe: readers keep the list they already hold).
    void SetContacts(HostClient host, ContactList contacts);

    bool ReadItem(HostClient, const std::string&, MessageRecord&) override { return false; }
    bool UpdateItem(HostClient, const MessageRecord&) override { return false; }
    bool CreateItem(HostClient, const MessageRecord&, FolderKind, std::string*) override { return false; }
    bool DeleteItem(HostClient, const std::string&) override { return false; }
    bool MoveItem(HostClient, const MessageRecord&, const std::string&) override { return false; }
    bool CopyItem(HostClient, const MessageRecord&, const std::string&) override { return false; }
    bool GetFolderTree(HostClient, std::vector<MailFolder>&) override { return false; }
    int ClientVersion(HostClient host) override;
    std::shared_ptr<const ContactList> Contacts(HostClient host) override;

private:
    int outlookVersion_;
    std::mutex mutex_;   // guards the two list pointers
    std::shared_ptr<const ContactList> outlook_;
    std::shared_ptr<const ContactList> outlookExpress_;
};

}  // namespace pagelark

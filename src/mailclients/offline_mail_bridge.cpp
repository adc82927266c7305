#include "mailclients/offline_mail_bridge.h"

namespace pagelark {

OfflineMailBridge::OfflineMailBridge(int outlookVersion)
    : outlookVersion_(outlookVersion),
      outlook_(std::make_shared<const ContactList>()),
      outlookExpress_(std::make_shared<const ContactList>()) {}

void OfflineMailBridge::SetContacts(HostClient host, ContactList contacts) {
    auto list = std::make_shared<const ContactList>(std::move(contacts));
    std::lock_guard lock(mutex_);
    (host == HostClient::Outlook ? outlook_ : outlookExpress_) = std::move(list);
}

int OfflineMailBridge::ClientVersion(HostClient host) {
    return host == HostClient::Outlook ? outlookVersion_ : 6;
}

std::shared_ptr<const ContactList> OfflineMailBridge::Contacts(HostClient host) {
    std::lock_guard lock(mutex_);
    return host == HostClient::Outlook ? outlook_ : outlookExpress_;
}

}  // namespace pagelark

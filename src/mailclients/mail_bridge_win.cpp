#include "mailclients/mail_bridge_win.h"

#include "common/files.h"
#include "mailclients/contacts_file.h"
#include "mailclients/host_registry_win.h"

namespace pagelark {

std::unique_ptr<OfflineMailBridge> CreateMailBridge() {
    auto bridge = std::make_unique<OfflineMailBridge>(ReadOutlookVersion());
    const auto path = ReadRegistryText(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark\\TestSeams", L"ContactsFile");
    if (path && !path->empty()) {
        if (const auto bytes = ReadFileBytes(*path)) {
            const ContactList contacts = ParseContactsFile(*bytes);
            bridge->SetContacts(HostClient::Outlook, contacts);
            bridge->SetContacts(HostClient::OutlookExpress, contacts);
        }
    }
    return bridge;
}

}  // namespace pagelark

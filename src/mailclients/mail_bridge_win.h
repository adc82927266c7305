#pragma once
// The application's mail-client bridge on Windows.
#include <memory>

#include "mailclients/offline_mail_bridge.h"

namespace pagelark {

// Item operations fail until the mail clients are driven. Outlook's version comes from its
// registration. Test seam: when HKCU\Software\Orvane\Pagelark\TestSeams holds the string
// "ContactsFile", that file (see mailclients/contacts_file.h) is the contact list of both hosts.
std::unique_ptr<OfflineMailBridge> CreateMailBridge();

}  // namespace pagelark

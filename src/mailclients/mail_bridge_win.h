#pragma once
// The application's mail-client bridge on Windows.
#include <memory>

#include "mailclients/offline_mail_bridge.h"

namespace pagelark {

// Item operations fail until the mail clients are driven. Outlook's version comes from its
// registration. The contact lists are the address books' (mailclients/address_books_win.h).
std::unique_ptr<OfflineMailBridge> CreateMailBridge();

}  // namespace pagelark

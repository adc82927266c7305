#pragma once
// The application's mail-client bridge on Windows.
#include <functional>
#include <memory>
#include <string>

#include "mailclients/offline_mail_bridge.h"
#include "model/settings.h"

namespace pagelark {

// Files a sent copy in Outlook Express: the record, the folder and the sender text.
using OutlookExpressFiler = std::function<bool(const MessageRecord&, FolderKind, const std::string&)>;

// Outlook's items are driven by automation (OutlookItems); Outlook Express takes only created
// messages (through `fileOutlookExpress`, while IntegrateOE is set) and reads, updates and
// deletes nothing. Outlook's version comes from its registration. The contact lists are the
// address books' (mailclients/address_books_win.h). `settings` outlives the bridge; `log` writes
// one line to Mapi.log.
std::unique_ptr<OfflineMailBridge> CreateMailBridge(const Settings& settings, std::function<void(const std::string&)> log,
                                                    OutlookExpressFiler fileOutlookExpress = {});

}  // namespace pagelark

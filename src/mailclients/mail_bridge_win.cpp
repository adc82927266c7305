#include "mailclients/mail_bridge_win.h"

#include "mailclients/host_registry_win.h"

namespace pagelark {

std::unique_ptr<OfflineMailBridge> CreateMailBridge() {
    return std::make_unique<OfflineMailBridge>(ReadOutlookVersion());
}

}  // namespace pagelark

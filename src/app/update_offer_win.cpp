#include "app/update_offer_win.h"

#include "app/application_win.h"
#include "resource_ids.h"
#include "ui/resources_win.h"
#include "app/update_window_win.h"

namespace pagelark {

bool CheckForUpdate(Application& app, bool manual) {
    ServiceClient& service = app.service();
    // The automatic check runs once per run, whatever it finds.
    if (service.UpdateOffered() && !manual) return false;
    if (FindUpdateWindow()) return false;
    service.SetUpdateOffered();
    HWND main = app.mainWindow();
    if (service.UpdateUrl().empty()) {
        if (manual) ShowTextMessage(main, IDS_SETUP_NO_UPDATE, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    const bool autoDownload = app.settings().UpdateAutoDownload != 0;
    if (!autoDownload && ShowTextMessage(main, IDS_UPDATE_AVAILABLE, MB_YESNO | MB_ICONWARNING) != IDYES) return false;
    return CUpdateWindow::Open(app, main, !(autoDownload && !manual)) != nullptr;
}

void OfferUpdateAfterStatus(Application& app, HWND) {
    CheckForUpdate(app, false);
}

}  // namespace pagelark

#include "setup/setup_services_win.h"

#include "resource_ids.h"
#include "service/country_file_download_win.h"
#include "setup/setup_controls_win.h"

namespace pagelark {

bool ServiceSetupServices::DownloadCountryFile() {
    WinInetCountryFileSource source(installation_.primaryServer, installation_.secondaryServer, settings_);
    return pagelark::DownloadCountryFile(source, language_().countryFile, UpdateDownloadFolder(programDir_),
                                         programDir_);
}

bool ServiceSetupServices::CheckForUpdate(bool manual) {
    if (hooks_.checkForUpdate) return hooks_.checkForUpdate(manual);
    if (manual && client_.UpdateUrl().empty())
        ShowSetupMessage(messageOwner_, IDS_SETUP_NO_UPDATE, MB_OK | MB_ICONINFORMATION);
    return false;
}

}  // namespace pagelark

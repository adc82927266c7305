#pragma once
// Values the installer writes under HKEY_LOCAL_MACHINE\Software\Orvane\Pagelark (read only),
// plus the service host names, which deployments and tests may override there.
#include <string>

namespace pagelark {

struct InstallationValues {
    std::string scid;              // "SCID": decimal sales channel number, may be empty
    std::string productLanguage;   // "ProductLanguage": decimal language id of the installed product
    // "PrimaryServer", "SecondaryServer", "WebServer": host names, each may carry ":port".
    std::string primaryServer = "sms.telvoro.com";
    std::string secondaryServer = "sms2.telvoro.com";
    std::string webServer = "www.telvoro.com";
};

}  // namespace pagelark

#pragma once
// The settings record: every user setting in one place, owned by the application object,
// filled once at start-up and written back group by group.
#include <cstdint>
#include <string>

namespace pagelark {

enum class SettingsGroup : int { All = 0, UserData = 1, Global = 2, Updates = 3, MailIntegration = 4, Proxy = 5 };

struct Settings {
    // global
    std::int32_t Language = 9;
    std::int32_t ShowTaskbarIcon = 1;
    std::int32_t AutoRun = 1;
    std::int32_t SendConfirmation = 1;
    std::int32_t MinSMSCredits = 10;
    std::int32_t CheckNumbers = 1;
    std::int32_t SaveChangedNumbers = 0;
    std::string CopyToEMail;
    // user data (UTF-8 in memory)
    std::string UserMobile;
    std::string UserLandCode;   // with its leading plus sign, e.g. "+49"
    std::string UserEMail;
    std::string UserName;       // empty: no account set up yet
    std::string UserPassword;   // clear text in memory, scrambled in the registry
    // e-mail integration
    std::int32_t IntegrateOutlook = 1;   // stored as the add-in's LoadBehavior, not in Settings
    std::int32_t IntegrateOE = 1;
    std::int32_t SaveSentMessages = 1;
    // updates
    std::int32_t UpdateAutoDownload = 1;
    std::int32_t UpdateAutoInstall = 1;
    // proxy
    std::int32_t UseProxy = 0;
    std::int32_t ProxyPort = 80;
    std::string ProxyAddress;
};

}  // namespace pagelark

#pragma once
// The setup pages' services in the real program: the application's service client, the
// country-file download, the update check and the mail-client integration's entry points.
#include <windows.h>

#include <functional>
#include <string>

#include "model/installation.h"
#include "model/language.h"
#include "model/settings.h"
#include "service/service_client.h"
#include "setup/setup_services.h"

namespace pagelark {

struct SetupServiceHooks {
    // The manual update check; empty: the built-in answer ("No update available." when the
    // last status reply offered none).
    std::function<bool(bool manual)> checkForUpdate;
    std::function<void()> startMailIntegration;
    std::function<void()> stopMailIntegration;
};

class ServiceSetupServices : public SetupServices {
public:
    ServiceSetupServices(ServiceClient& client, const Settings& settings, const InstallationValues& installation,
                         std::function<const LanguageInfo&()> language, std::string programDir, HWND messageOwner,
                         SetupServiceHooks hooks)
        : client_(client), settings_(settings), installation_(installation), language_(std::move(language)),
          programDir_(std::move(programDir)), messageOwner_(messageOwner), hooks_(std::move(hooks)) {}

    int RegisterAccount(int mode, const std::string& user, const std::string& password, const std::string& countryCode,
                        const std::string& mobile, const std::string& email) override {
        return client_.RegisterAccount(mode, user, password, countryCode, mobile, email);
    }
    bool ActivateAccount(const std::string& user, const std::string& pin) override {
        return client_.ActivateAccount(user, pin);
    }
    int RequestStatus() override { return client_.RequestStatus(); }
    std::string LastError() const override { return client_.LastError(); }
    bool DownloadCountryFile() override;
    bool CheckForUpdate(bool manual) override;
    std::string MyTelvoroLink(bool payment) const override {
        return client_.WebSiteLink(payment ? WebLink::Payment : WebLink::AccountData);
    }
    std::vector<std::string> RequestLogLines() override { return client_.Log().ReadLines(); }
    bool ClearRequestLog() override { return client_.Log().Clear(); }
    void StartMailIntegration() override {
        if (hooks_.startMailIntegration) hooks_.startMailIntegration();
    }
    void StopMailIntegration() override {
        if (hooks_.stopMailIntegration) hooks_.stopMailIntegration();
    }

private:
    ServiceClient& client_;
    const Settings& settings_;
    const InstallationValues& installation_;
    std::function<const LanguageInfo&()> language_;
    std::string programDir_;
    HWND messageOwner_;
    SetupServiceHooks hooks_;
};

}  // namespace pagelark

#pragma once
// What the wizard and the options sheet ask of the rest of the program, in one narrow interface:
// the service requests, the request log, the update check and the mail-client integration.
// The Windows build plugs in the application's service client; tests plug in fakes.
#include <string>
#include <vector>

namespace pagelark {

class SetupServices {
public:
    virtual ~SetupServices() = default;

    // The service requests; each tells the user about its own failures (except RequestStatus).
    virtual int RegisterAccount(int mode, const std::string& user, const std::string& password,
                                const std::string& countryCode, const std::string& mobile,
                                const std::string& email) = 0;
    virtual bool ActivateAccount(const std::string& user, const std::string& pin) = 0;
    // 0 success; nonzero failure with LastError() holding the text.
    virtual int RequestStatus() = 0;
    virtual std::string LastError() const = 0;

    // The active language's country file into the Data folder; true when it could be stored.
    virtual bool DownloadCountryFile() = 0;
    // The manual update check; true when the update window was opened.
    virtual bool CheckForUpdate(bool manual) = 0;

    // "Change user data" (payment false) or "Change payment options" (true) with the user name
    // stored right now.
    virtual std::string MyTelvoroLink(bool payment) const = 0;

    // The request log, oldest line first; and emptying it (it stays open for new lines).
    virtual std::vector<std::string> RequestLogLines() = 0;
    virtual bool ClearRequestLog() = 0;

    // The mail-client integration after the E-Mail Integration page applied.
    virtual void StartMailIntegration() = 0;
    virtual void StopMailIntegration() = 0;
};

}  // namespace pagelark

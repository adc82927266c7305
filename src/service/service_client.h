#pragma once
// The application's one service client: the four requests, the members they fill and the
// request log.
//
// Threads: every member function runs on the user-interface thread, except StatusJob::Run,
// which a message window's status worker calls. That job works on copies taken by PrepareStatus
// and returns a complete result; ApplyStatus (UI thread) then updates the members and the
// settings. The members are guarded as well, and the request log has its own lock.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "model/installation.h"
#include "model/language.h"
#include "model/settings.h"
#include "model/send_options.h"
#include "service/request_log.h"
#include "service/service_addresses.h"
#include "service/service_ports.h"
#include "service/service_replies.h"

namespace pagelark {

// What the client reads from the application object (by reference: it lives as long).
struct ServiceContext {
    Settings& settings;
    const InstallationValues& installation;
    const LanguageInfo& language;   // the active language; changes in place
    const std::string& versionText;
    std::function<void(SettingsGroup)> saveSettings;
    // SplitAccountNumber with the active country list.
    std::function<bool(std::string_view fullNumber, Settings&)> splitAccountNumber;
};

// The platform's parts; shared so that a status job may outlive the window that started it.
struct ServicePlatform {
    std::shared_ptr<HttpTransport> transport;
    std::shared_ptr<const Clock> clock;
    std::shared_ptr<const TextSource> texts;
    std::shared_ptr<ServiceUserInterface> ui;   // user-interface thread only
    std::shared_ptr<RequestLog> log = std::make_shared<RequestLog>();
};

// The network part of the status request, with copies of everything it needs.
class StatusJob {
public:
    // Safe on any thread; writes nothing but the (locked) request log.
    StatusResult Run() const;

private:
    friend class ServiceClient;
    std::string pathAndQuery_;
    std::string primaryServer_;
    std::string secondaryServer_;
    ProxySetting proxy_;
    std::uint16_t languageId_ = 1033;
    std::shared_ptr<HttpTransport> transport_;
    std::shared_ptr<const Clock> clock_;
    std::shared_ptr<const TextSource> texts_;
    std::shared_ptr<RequestLog> log_;
};

class ServiceClient {
public:
    ServiceClient(ServiceContext context, ServicePlatform platform);
    ServiceClient(const ServiceClient&) = delete;
    ServiceClient& operator=(const ServiceClient&) = delete;

    // "<programDir>\Pagelark.log"; start-up goes on when it fails (lines are then skipped).
    bool OpenRequestLog(const std::string& programDir);
    RequestLog& Log() { return *platform_.log; }

    // Status on the calling (UI) thread: 0, 1 no internet handle, 2 no server answered,
    // -1 service error (LastError holds the text). Shows no message.
    int RequestStatus();
    // The same in two steps for a worker: PrepareStatus and ApplyStatus on the UI thread,
    // StatusJob::Run on the worker. ApplyStatus returns the result code.
    StatusJob PrepareStatus() const;
    int ApplyStatus(const StatusResult& result);

    // mode 0 new registration or new PIN, 1 login. Returns the service's status 0 or 1, or -1
    // after the user has been told.
    int RegisterAccount(int mode, const std::string& user, const std::string& password,
                        const std::string& countryCode, const std::string& mobile, const std::string& email);
    // True when the service accepted the PIN; otherwise the user has been told.
    bool ActivateAccount(const std::string& user, const std::string& pin);
    // Texts are UTF-8; the message travels as Windows-1252; `options` are send_option bits.
    // False: LastError holds the text.
    bool SendSms(const std::string& recipients, const std::string& ccToMail, const std::string& message,
                 const std::string& sendTime, int options);

    int GetSalesChannelId() const;
    std::string WebSiteLink(WebLink link) const;

    std::string LastError() const;
    std::int32_t Credits() const;
    std::string CreditsText() const;
    std::int32_t AccountType() const;
    std::string UpdateUrl() const;
    std::int32_t UpdateSize() const;
    // Set by the first update check of the run (automatic or manual).
    bool UpdateOffered() const;
    void SetUpdateOffered();

private:
    void SetLastError(std::string text);
    void SetCredits(const CreditsValue& credits);
    ServiceTexts Texts() const;
    ProxySetting Proxy() const;
    void StartWizardOrExplain();

    ServiceContext context_;
    ServicePlatform platform_;

    mutable std::mutex membersMutex_;
    std::string lastError_;
    std::int32_t credits_ = 0;
    std::string creditsText_ = "0";
    std::string updateUrl_;
    std::int32_t updateSize_ = 0;
    bool updateOffered_ = false;
    std::int32_t accountType_ = 0;
};

}  // namespace pagelark

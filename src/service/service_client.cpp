#include "service/service_client.h"

#include <algorithm>
#include <cstdio>

#include "common/files.h"
#include "common/text_encoding.h"
#include "service/reply_reader.h"
#include "service/time_text.h"
#include "service/url_encode.h"

namespace pagelark {
namespace {

using namespace service_text;

// WinInet's ERROR_INTERNET_INVALID_CA: the only failure with its own text.
constexpr std::uint32_t kInvalidCertificateAuthority = 12045;

struct Exchange {
    enum class Outcome { NoInternet, NoReply, Replied };
    Outcome outcome = Outcome::NoInternet;
    std::uint32_t errorCode = 0;
    std::string reply;   // the visible reply
};

// One request: an internet handle, the primary server, then once the secondary server.
// The handle closes when the session goes out of scope, whatever happened.
Exchange Perform(HttpTransport& transport, const ProxySetting& proxy, std::string_view primary,
                 std::string_view secondary, std::string_view pathAndQuery) {
    Exchange exchange;
    std::unique_ptr<HttpSession> session = transport.Open(proxy);
    if (!session) return exchange;
    FetchResult fetched = session->Fetch(ServiceAddress(primary, pathAndQuery));
    if (!fetched.ok) fetched = session->Fetch(ServiceAddress(secondary, pathAndQuery));
    if (!fetched.ok) {
        exchange.outcome = Exchange::Outcome::NoReply;
        exchange.errorCode = fetched.errorCode;
        return exchange;
    }
    exchange.outcome = Exchange::Outcome::Replied;
    exchange.reply = std::string(VisibleReply(fetched.body));
    return exchange;
}

// Query values the service's escaping applies to (user name, password, message).
std::string Encoded(std::string_view utf8) { return UrlEncode(Utf8ToCp1252(utf8)); }
// Values sent as given.
std::string AsGiven(std::string_view utf8) { return EscapeUnsafeQueryBytes(Utf8ToCp1252(utf8)); }

std::string CommasForSemicolons(std::string text) {
    std::replace(text.begin(), text.end(), ';', ',');
    return text;
}

// The user interface shows its wait cursor while a request blocks the calling window.
class WaitDuringRequest {
public:
    explicit WaitDuringRequest(ServiceUserInterface* ui) : ui_(ui) {
        if (ui_) ui_->BeginWait();
    }
    ~WaitDuringRequest() { End(); }
    WaitDuringRequest(const WaitDuringRequest&) = delete;
    WaitDuringRequest& operator=(const WaitDuringRequest&) = delete;
    void End() {
        if (ui_) ui_->EndWait();
        ui_ = nullptr;
    }

private:
    ServiceUserInterface* ui_;
};

}  // namespace

StatusResult StatusJob::Run() const {
    const LocalTime start = clock_->Now();
    const ServiceTexts texts(*texts_, languageId_);
    const Exchange exchange = Perform(*transport_, proxy_, primaryServer_, secondaryServer_, pathAndQuery_);
    if (exchange.outcome != Exchange::Outcome::Replied) {
        StatusResult result;
        if (exchange.outcome == Exchange::Outcome::NoInternet) {
            result.code = 1;
            result.lastError = texts(IDS_NO_CONNECTION);
        } else {
            result.code = 2;
            result.lastError = exchange.errorCode == kInvalidCertificateAuthority ? texts(IDS_CERTIFICATE_NOT_FOUND) + "."
                                                                                  : texts(IDS_SERVER_DOES_NOT_REPLY);
        }
        result.logText = FormatLogTime(start) + " " + result.lastError + "\n";
        log_->Append(result.logText);
        return result;
    }
    StatusResult result = InterpretStatusReply(exchange.reply, start, texts);
    if (!result.logText.empty()) log_->Append(result.logText);
    return result;
}

ServiceClient::ServiceClient(ServiceContext context, ServicePlatform platform)
    : context_(std::move(context)), platform_(std::move(platform)) {
    if (!platform_.log) platform_.log = std::make_shared<RequestLog>();
}

bool ServiceClient::OpenRequestLog(const std::string& programDir) {
    return platform_.log->Open(JoinPath(programDir, "Pagelark.log"));
}

ServiceTexts ServiceClient::Texts() const { return ServiceTexts(*platform_.texts, context_.language.langId); }

ProxySetting ServiceClient::Proxy() const {
    const Settings& settings = context_.settings;
    ProxySetting proxy;
    proxy.useProxy = settings.UseProxy == 1;
    proxy.proxyText = ProxyText(settings.ProxyAddress, settings.ProxyPort);
    return proxy;
}

StatusJob ServiceClient::PrepareStatus() const {
    const Settings& settings = context_.settings;
    StatusJob job;
    job.pathAndQuery_ = "/plugin/status.php?user=" + Encoded(settings.UserName) +
                        "&password=" + Encoded(settings.UserPassword) +
                        "&version=" + AsGiven(context_.versionText) +
                        "&lang=" + StatusLanguageCode(context_.installation.productLanguage);
    job.primaryServer_ = context_.installation.primaryServer;
    job.secondaryServer_ = context_.installation.secondaryServer;
    job.proxy_ = Proxy();
    job.languageId_ = context_.language.langId;
    job.transport_ = platform_.transport;
    job.clock_ = platform_.clock;
    job.texts_ = platform_.texts;
    job.log_ = platform_.log;
    return job;
}

int ServiceClient::ApplyStatus(const StatusResult& result) {
    bool saveUserData = false;
    {
        std::lock_guard lock(membersMutex_);
        lastError_ = result.lastError;
        if (result.replied) {
            if (result.credits) {
                creditsText_ = result.credits->text;
                credits_ = result.credits->value;
            }
            updateUrl_ = result.updateUrl;
            updateSize_ = result.updateSize;
            accountType_ = result.accountType;
        }
    }
    if (result.email) {
        context_.settings.UserEMail = *result.email;
        saveUserData = true;
    }
    if (result.mobile) {
        if (context_.splitAccountNumber) context_.splitAccountNumber(*result.mobile, context_.settings);
        saveUserData = true;
    }
    if (saveUserData && context_.saveSettings) context_.saveSettings(SettingsGroup::UserData);
    return result.code;
}

int ServiceClient::RequestStatus() {
    WaitDuringRequest wait(platform_.ui.get());
    const StatusResult result = PrepareStatus().Run();
    wait.End();
    return ApplyStatus(result);
}

void ServiceClient::StartWizardOrExplain() {
    if (!platform_.ui) return;
    if (!platform_.ui->StartConnectionWizard()) platform_.ui->ShowError(Texts()(IDS_NO_CONNECTION));
}

int ServiceClient::RegisterAccount(int mode, const std::string& user, const std::string& password,
                                   const std::string& countryCode, const std::string& mobile,
                                   const std::string& email) {
    const ServiceTexts texts = Texts();
    WaitDuringRequest wait(platform_.ui.get());
    const int gmt = GmtFromStandardBias(platform_.clock->StandardBiasMinutes());
    const std::string path = "/plugin/register.php?mode=" + std::to_string(mode) +
                             "&sales_channel_id=" + SalesChannelText(GetSalesChannelId()) +
                             "&user=" + Encoded(user) + "&password=" + Encoded(password) +
                             "&country_code=" + AsGiven(countryCode) + "&mobile_no=" + AsGiven(mobile) +
                             "&email=" + AsGiven(email) + "&language=" + AsGiven(context_.language.webCode) +
                             "&gmt=" + std::to_string(gmt);
    const Exchange exchange = Perform(*platform_.transport, Proxy(), context_.installation.primaryServer,
                                      context_.installation.secondaryServer, path);
    wait.End();
    switch (exchange.outcome) {
        case Exchange::Outcome::NoInternet:
            SetLastError(texts(IDS_NO_CONNECTION));
            StartWizardOrExplain();
            return -1;
        case Exchange::Outcome::NoReply:
            if (exchange.errorCode == kInvalidCertificateAuthority) {
                SetLastError(texts(IDS_CERTIFICATE_NOT_FOUND));
                if (platform_.ui) platform_.ui->ShowError(LastError());
            } else {
                SetLastError(texts(IDS_SERVER_DOES_NOT_REPLY));
                StartWizardOrExplain();
            }
            return -1;
        case Exchange::Outcome::Replied: break;
    }
    const RegisterOutcome outcome = InterpretRegisterReply(exchange.reply, texts);
    SetLastError(outcome.lastError);
    if (outcome.result < 0 && platform_.ui) platform_.ui->ShowError(outcome.lastError);
    return outcome.result;
}

bool ServiceClient::ActivateAccount(const std::string& user, const std::string& pin) {
    const ServiceTexts texts = Texts();
    WaitDuringRequest wait(platform_.ui.get());
    const std::string path = "/plugin/activate.php?user=" + AsGiven(user) + "&pin=" + AsGiven(pin);
    const Exchange exchange = Perform(*platform_.transport, Proxy(), context_.installation.primaryServer,
                                      context_.installation.secondaryServer, path);
    wait.End();
    if (exchange.outcome != Exchange::Outcome::Replied) {
        if (exchange.outcome == Exchange::Outcome::NoInternet) SetLastError(texts(IDS_NO_CONNECTION));
        else if (exchange.errorCode == kInvalidCertificateAuthority) SetLastError(texts(IDS_CERTIFICATE_NOT_FOUND));
        else SetLastError(texts(IDS_SERVER_DOES_NOT_REPLY));
        if (platform_.ui) platform_.ui->ShowError(LastError());
        return false;
    }
    const ActivateOutcome outcome = InterpretActivateReply(exchange.reply, texts);
    SetLastError(outcome.lastError);
    if (!outcome.accepted && platform_.ui) platform_.ui->ShowError(outcome.lastError);
    return outcome.accepted;
}

bool ServiceClient::SendSms(const std::string& recipients, const std::string& ccToMail, const std::string& message,
                            const std::string& sendTime, int options) {
    const ServiceTexts texts = Texts();
    const LocalTime start = platform_.clock->Now();
    const Settings& settings = context_.settings;
    WaitDuringRequest wait(platform_.ui.get());
    const int gmt = GmtFromStandardBias(platform_.clock->StandardBiasMinutes());
    const std::string path = "/plugin/sms.php?user=" + Encoded(settings.UserName) +
                             "&password=" + Encoded(settings.UserPassword) + "&send_time=" + AsGiven(sendTime) +
                             "&recipients=" + AsGiven(CommasForSemicolons(recipients)) +
                             "&cc_to_mail=" + AsGiven(CommasForSemicolons(ccToMail)) +
                             "&perm_mail_copy=" + AsGiven(settings.CopyToEMail) + "&message=" + Encoded(message) +
                             "&gmt=" + std::to_string(gmt) + "&rply=" + ((options & send_option::kReplyToInbox) ? "1" : "0") +
                             "&senderid=" + ((options & send_option::kReplyToMobile) ? "1" : "0") +
                             "&flash=" + ((options & send_option::kFlash) ? "1" : "0");
    const Exchange exchange = Perform(*platform_.transport, Proxy(), context_.installation.primaryServer,
                                      context_.installation.secondaryServer, path);
    wait.End();
    if (exchange.outcome != Exchange::Outcome::Replied) {
        std::string text;
        if (exchange.outcome == Exchange::Outcome::NoInternet) text = texts(IDS_NO_CONNECTION);
        else if (exchange.errorCode == kInvalidCertificateAuthority) text = texts(IDS_CERTIFICATE_NOT_FOUND);
        else text = texts(IDS_SERVER_DOES_NOT_REPLY);
        const std::string line = FormatLogTime(start) + " " + text + "\n";
        platform_.log->Append(line);
        SetLastError(line);
        return false;
    }
    const SendOutcome outcome = InterpretSendReply(exchange.reply, start, texts);
    if (outcome.credits) SetCredits(*outcome.credits);
    SetLastError(outcome.lastError);
    if (outcome.sent) return true;
    if (outcome.insufficientCredits && platform_.ui) platform_.ui->ShowWarning(texts(IDS_INSUFFICIENT_CREDITS));
    platform_.log->Append(outcome.lastError);
    return false;
}

int ServiceClient::GetSalesChannelId() const { return pagelark::GetSalesChannelId(context_.installation); }

std::string ServiceClient::WebSiteLink(WebLink link) const {
    return pagelark::WebSiteLink(link, context_.installation.webServer, context_.settings.UserName,
                                 context_.language.webCode, GetSalesChannelId());
}

void ServiceClient::SetLastError(std::string text) {
    std::lock_guard lock(membersMutex_);
    lastError_ = std::move(text);
}

void ServiceClient::SetCredits(const CreditsValue& credits) {
    std::lock_guard lock(membersMutex_);
    creditsText_ = credits.text;
    credits_ = credits.value;
}

std::string ServiceClient::LastError() const {
    std::lock_guard lock(membersMutex_);
    return lastError_;
}
std::int32_t ServiceClient::Credits() const {
    std::lock_guard lock(membersMutex_);
    return credits_;
}
std::string ServiceClient::CreditsText() const {
    std::lock_guard lock(membersMutex_);
    return creditsText_;
}
std::int32_t ServiceClient::AccountType() const {
    std::lock_guard lock(membersMutex_);
    return accountType_;
}
std::string ServiceClient::UpdateUrl() const {
    std::lock_guard lock(membersMutex_);
    return updateUrl_;
}
bool ServiceClient::UpdateOffered() const {
    std::lock_guard lock(membersMutex_);
    return updateOffered_;
}
void ServiceClient::SetUpdateOffered() {
    std::lock_guard lock(membersMutex_);
    updateOffered_ = true;
}
std::int32_t ServiceClient::UpdateSize() const {
    std::lock_guard lock(membersMutex_);
    return updateSize_;
}

}  // namespace pagelark

#include "cli/cli_service.h"

#include "app/version_text.h"
#include "cli/cli_options.h"
#include "cli/english_texts.h"

namespace pagelark::cli {

class AnswerWatch::Session final : public HttpSession {
public:
    Session(std::unique_ptr<HttpSession> inner, std::atomic<bool>& answered)
        : inner_(std::move(inner)), answered_(answered) {}
    FetchResult Fetch(const std::string& address) override {
        FetchResult result = inner_->Fetch(address);
        if (result.ok) answered_ = true;
        return result;
    }

private:
    std::unique_ptr<HttpSession> inner_;
    std::atomic<bool>& answered_;
};

std::unique_ptr<HttpSession> AnswerWatch::Open(const ProxySetting& proxy) {
    std::unique_ptr<HttpSession> inner = inner_->Open(proxy);
    if (!inner) return nullptr;
    return std::make_unique<Session>(std::move(inner), answered_);
}

ServiceRun::ServiceRun(Platform& platform, Configuration& configuration)
    : versionText_(VersionTextFromFileVersion(PAGELARK_FILE_VERSION)),
      watch_(std::make_shared<AnswerWatch>(platform.Transport(configuration))) {
    ServicePlatform parts;
    parts.transport = watch_;
    parts.clock = platform.SystemClock();
    parts.texts = std::make_shared<EnglishTexts>();
    parts.ui = nullptr;   // nothing to show: the caller prints LastError
    parts.log = platform.OpenRequestLog();
    // The account data a status reply carries stays in memory: the command line never saves.
    ServiceContext context{configuration.settings, configuration.installation, language_, versionText_, {}, {}};
    client_ = std::make_unique<ServiceClient>(std::move(context), std::move(parts));
}

int ExitCodeOfStatus(int status) {
    if (status == 0) return kExitOk;
    return status == 1 || status == 2 ? kExitNoConnection : kExitRefused;
}

std::string AccountTypeBits(int accountType) {
    std::string bits;
    for (int bit = 4; bit >= 0; --bit) bits.push_back((accountType >> bit) & 1 ? '1' : '0');
    return bits;
}

std::vector<std::string> AccountFeatures(int accountType) {
    static constexpr const char* kNames[] = {"reply_inbox", "reply_mobile", "flash", "scheduled", "cc_email"};
    std::vector<std::string> features;
    for (int bit = 0; bit < 5; ++bit)
        if (accountType & (1 << bit)) features.emplace_back(kNames[bit]);
    return features;
}

}  // namespace pagelark::cli

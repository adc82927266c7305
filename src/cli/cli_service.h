#pragma once
// The service client as the command-line sender uses it: the message window's own
// ServiceClient over the platform's transport, with English texts, no message boxes, and a watch
// on whether any server answered (no answer at all is exit code 3, a refusal exit code 2).
#include <atomic>
#include <memory>
#include <string>

#include "cli/cli_platform.h"
#include "model/language.h"
#include "service/service_client.h"

namespace pagelark::cli {

// Passes every request to the real transport and notes whether an answer came.
class AnswerWatch final : public HttpTransport {
public:
    explicit AnswerWatch(std::shared_ptr<HttpTransport> inner) : inner_(std::move(inner)) {}
    std::unique_ptr<HttpSession> Open(const ProxySetting& proxy) override;
    bool Answered() const { return answered_; }
    void Reset() { answered_ = false; }

private:
    class Session;
    std::shared_ptr<HttpTransport> inner_;
    std::atomic<bool> answered_{false};
};

class ServiceRun {
public:
    ServiceRun(Platform& platform, Configuration& configuration);
    ServiceRun(const ServiceRun&) = delete;
    ServiceRun& operator=(const ServiceRun&) = delete;

    ServiceClient& client() { return *client_; }
    AnswerWatch& watch() { return *watch_; }

private:
    LanguageInfo language_;
    std::string versionText_;
    std::shared_ptr<AnswerWatch> watch_;
    std::unique_ptr<ServiceClient> client_;
};

// The exit code of a failed status request: 1 and 2 (no handle, no server) are no connection.
int ExitCodeOfStatus(int status);

// The account type's five bits as the service writes them ("10011"), and their names.
std::string AccountTypeBits(int accountType);
std::vector<std::string> AccountFeatures(int accountType);

}  // namespace pagelark::cli

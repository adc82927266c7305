#pragma once
// A platform for pagelark-cli's logic in tests: captured output, scripted standard input and
// files, settings in memory and the scripted service transport.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_platform.h"
#include "service_fakes.h"

namespace pagelark::testing {

class FakeCliPlatform : public cli::Platform {
public:
    std::string out, err, input;
    bool inputFails = false;
    std::map<std::string, std::string> files;
    cli::Configuration configuration;
    std::optional<std::string> configPathSeen;
    std::shared_ptr<FakeTransport> transport = std::make_shared<FakeTransport>();
    std::shared_ptr<RequestLog> log = std::make_shared<RequestLog>();

    FakeCliPlatform() {
        configuration.settings.UserName = "anna";
        configuration.settings.UserPassword = "secret";
        configuration.settings.UserLandCode = "+49";
        configuration.checkList = BuiltInCheckList();
    }

    void Out(std::string_view utf8) override { out += utf8; }
    void Err(std::string_view utf8) override { err += utf8; }
    std::optional<std::string> ReadStandardInput() override {
        if (inputFails) return std::nullopt;
        return input;
    }
    std::optional<std::string> ReadSecretFile(const std::string& path, std::string& error) override {
        const auto found = files.find(path);
        if (found == files.end()) {
            error = path + ": cannot be opened";
            return std::nullopt;
        }
        return found->second;
    }
    bool LoadConfiguration(const std::optional<std::string>& configPath, cli::Configuration& result,
                           std::string&) override {
        configPathSeen = configPath;
        result = configuration;
        return true;
    }
    std::shared_ptr<HttpTransport> Transport(const cli::Configuration&) override { return transport; }
    std::shared_ptr<const Clock> SystemClock() override { return std::make_shared<FakeClock>(); }
    std::shared_ptr<RequestLog> OpenRequestLog() override { return log; }

    int Run(std::vector<std::string> args) {
        out.clear();
        err.clear();
        return cli::Run(args, *this);
    }
};

}  // namespace pagelark::testing

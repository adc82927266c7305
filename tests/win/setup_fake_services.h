#pragma once
// A stand-in for the service, the log and the mail integration that records what the setup
// pages asked of it, and an environment around it.
#include <string>
#include <vector>

#include "model/language.h"
#include "model/settings.h"
#include "numbers/dialling_codes.h"
#include "setup/setup_environment_win.h"
#include "setup/setup_services.h"

namespace pagelark::test {

struct FakeSetupServices : SetupServices {
    struct Registration {
        int mode;
        std::string user, password, countryCode, mobile, email;
    };
    std::vector<Registration> registrations;
    std::vector<std::string> pins;
    std::vector<int> registerResults{0};   // answers in turn; the last one repeats
    std::vector<bool> activateResults{true};
    int statusResult = 0;
    int statusCalls = 0;
    int downloadCalls = 0;
    bool downloadResult = true;
    int updateChecks = 0;
    bool updateWindowOpens = false;
    std::vector<std::string> log{"01.12.26 10:00 first", "02.12.26 11:00 second", "03.12.26 12:00 third"};
    int logClears = 0;
    int mailStarts = 0, mailStops = 0;

    int RegisterAccount(int mode, const std::string& user, const std::string& password, const std::string& countryCode,
                        const std::string& mobile, const std::string& email) override {
        registrations.push_back({mode, user, password, countryCode, mobile, email});
        const size_t i = std::min(registrations.size(), registerResults.size()) - 1;
        return registerResults[i];
    }
    bool ActivateAccount(const std::string&, const std::string& pin) override {
        pins.push_back(pin);
        const size_t i = std::min(pins.size(), activateResults.size()) - 1;
        return activateResults[i];
    }
    int RequestStatus() override {
        ++statusCalls;
        return statusResult;
    }
    std::string LastError() const override { return "Wrong Login/Password."; }
    bool DownloadCountryFile() override {
        ++downloadCalls;
        return downloadResult;
    }
    bool CheckForUpdate(bool) override {
        ++updateChecks;
        return updateWindowOpens;
    }
    std::string MyTelvoroLink(bool payment) const override { return payment ? "http://pay" : "http://user"; }
    std::vector<std::string> RequestLogLines() override { return log; }
    bool ClearRequestLog() override {
        ++logClears;
        log.clear();
        return true;
    }
    void StartMailIntegration() override { ++mailStarts; }
    void StopMailIntegration() override { ++mailStops; }
};

// The program folder of the source tree ("data"), as Windows sees it under Wine.
inline std::string SourceProgramDir() {
    std::string dir = "Z:" PAGELARK_SOURCE_DIR "/data";
    for (char& c : dir)
        if (c == '/') c = '\\';
    return dir;
}

struct FakeEnvironment {
    Settings settings;
    FakeSetupServices services;
    std::vector<SettingsGroup> saved;
    std::vector<int> languageSwitches;
    std::vector<bool> trayStates;
    LanguageInfo language;
    SetupEnvironment env{settings,
                         services,
                         [this](SettingsGroup group) { saved.push_back(group); },
                         [] () -> const CountryList& { return BuiltInCountryList(); },
                         [this]() -> const LanguageInfo& { return language; },
                         [this](int key) {
                             languageSwitches.push_back(key);
                             language = LanguageForKey(key);
                         },
                         [this](bool shown) { trayStates.push_back(shown); },
                         SourceProgramDir(),
                         "www.telvoro.com",
                         nullptr};
};

}  // namespace pagelark::test

#pragma once
// Test doubles of the service client's platform: a scripted transport, a fixed clock, the
// English texts read from resources/texts/service.txt, and a recording user interface.
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "service/service_ports.h"

namespace pagelark::testing {

class FakeTransport : public HttpTransport {
public:
    struct Call {
        std::string address;
        ProxySetting proxy;
    };
    bool openFails = false;
    std::deque<FetchResult> answers;   // one per Fetch; an empty queue answers 12029
    std::function<FetchResult(const std::string& address)> handler;   // answers instead, when set

    std::unique_ptr<HttpSession> Open(const ProxySetting& proxy) override;

    std::vector<Call> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    int OpenSessions() const {
        std::lock_guard lock(mutex_);
        return openSessions_;
    }
    void Reply(std::string body) { answers.push_back({true, 0, std::move(body)}); }
    void Fail(std::uint32_t code) { answers.push_back({false, code, {}}); }

private:
    class Session;
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
    int openSessions_ = 0;
};

class FakeTransport::Session : public HttpSession {
public:
    Session(FakeTransport& owner, ProxySetting proxy) : owner_(owner), proxy_(std::move(proxy)) {}
    ~Session() override {
        std::lock_guard lock(owner_.mutex_);
        --owner_.openSessions_;
    }
    FetchResult Fetch(const std::string& address) override {
        std::lock_guard lock(owner_.mutex_);
        owner_.calls_.push_back({address, proxy_});
        if (owner_.handler) return owner_.handler(address);
        if (owner_.answers.empty()) return {false, 12029, {}};
        FetchResult result = owner_.answers.front();
        owner_.answers.pop_front();
        return result;
    }

private:
    FakeTransport& owner_;
    ProxySetting proxy_;
};

inline std::unique_ptr<HttpSession> FakeTransport::Open(const ProxySetting& proxy) {
    if (openFails) return nullptr;
    std::lock_guard lock(mutex_);
    ++openSessions_;
    return std::make_unique<Session>(*this, proxy);
}

class FakeClock : public Clock {
public:
    LocalTime now{2026, 12, 6, 19, 20};
    int bias = -60;
    LocalTime Now() const override { return now; }
    int StandardBiasMinutes() const override { return bias; }
};

// The texts as the resources hold them; English whatever language is asked for.
class FileTexts : public TextSource {
public:
    FileTexts() {
        std::ifstream in(std::string(PAGELARK_SOURCE_DIR) + "/resources/texts/service.txt");
        std::string line;
        int key = 0;
        while (std::getline(in, line)) {
            if (line.size() > 2 && line[0] == '[') {
                key = std::atoi(line.c_str() + 1);
            } else if (line.rfind("en:", 0) == 0 && key != 0) {
                std::string text = line.substr(line.size() > 3 && line[3] == ' ' ? 4 : 3);
                std::string unescaped;
                for (size_t i = 0; i < text.size(); ++i) {
                    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
                        unescaped += '\n';
                        ++i;
                    } else {
                        unescaped += text[i];
                    }
                }
                texts_[key] = unescaped;
            }
        }
    }
    std::string Text(std::uint16_t, int id) const override {
        auto it = texts_.find(id);
        return it == texts_.end() ? "<" + std::to_string(id) + ">" : it->second;
    }

private:
    std::map<int, std::string> texts_;
};

class FakeUserInterface : public ServiceUserInterface {
public:
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    int wizardStarts = 0;
    bool hasWizard = true;
    int waitDepth = 0;
    int waitBegun = 0;
    bool boxShownWhileWaiting = false;

    void ShowError(const std::string& text) override {
        if (waitDepth) boxShownWhileWaiting = true;
        errors.push_back(text);
    }
    void ShowWarning(const std::string& text) override {
        if (waitDepth) boxShownWhileWaiting = true;
        warnings.push_back(text);
    }
    bool StartConnectionWizard() override {
        if (!hasWizard) return false;
        ++wizardStarts;
        return true;
    }
    void BeginWait() override {
        ++waitDepth;
        ++waitBegun;
    }
    void EndWait() override { --waitDepth; }
};

}  // namespace pagelark::testing

#include "faults.h"

#include <random>

namespace pagelark::standin {

std::optional<FaultMode> ParseFaultMode(const std::string& name) {
    if (name == "none") return FaultMode::kNone;
    if (name == "error") return FaultMode::kError;
    if (name == "long") return FaultMode::kLong;
    if (name == "garbage") return FaultMode::kGarbage;
    if (name == "http500") return FaultMode::kHttp500;
    if (name == "drop") return FaultMode::kDrop;
    if (name == "delay") return FaultMode::kDelay;
    return std::nullopt;
}

const char* FaultModeName(FaultMode mode) {
    switch (mode) {
    case FaultMode::kNone: return "none";
    case FaultMode::kError: return "error";
    case FaultMode::kLong: return "long";
    case FaultMode::kGarbage: return "garbage";
    case FaultMode::kHttp500: return "http500";
    case FaultMode::kDrop: return "drop";
    case FaultMode::kDelay: return "delay";
    }
    return "none";
}

void FaultSwitch::Set(ServerRole role, const Fault& fault) {
    std::lock_guard lock(mutex_);
    faults_[static_cast<int>(role)] = fault;
}

void FaultSwitch::Clear() {
    std::lock_guard lock(mutex_);
    faults_[0] = faults_[1] = Fault{};
}

std::optional<Fault> FaultSwitch::Take(ServerRole role) {
    std::lock_guard lock(mutex_);
    Fault& fault = faults_[static_cast<int>(role)];
    if (fault.mode == FaultMode::kNone) return std::nullopt;
    const Fault taken = fault;
    if (fault.remaining > 0 && --fault.remaining == 0) fault = Fault{};
    return taken;
}

std::string ErrorReply(bool registration, int code) {
    return std::string("status: ") + (registration ? "2" : "1") + "\r\nerror: " + std::to_string(code) + "\r\n";
}

std::string PaddedReply(const std::string& reply, size_t total) {
    std::string out = reply;
    const std::string key = "padding: ";
    if (out.size() + key.size() + 2 >= total) return out + key + "x\r\n";
    out += key;
    out.append(total - out.size() - 2, 'x');
    out += "\r\n";
    return out;
}

std::string GarbageReply() {
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<int> byte(0, 255);
    std::string out(200, '\0');
    for (size_t i = 0; i < out.size(); ++i) {
        int b = byte(engine);
        if (b == '\r' || b == '\n') b = 0;
        out[i] = static_cast<char>(b);
    }
    if (out[0] == '\0') out[0] = '\x7f';
    out[120] = '\0';   // always one NUL inside, so a reader that stops there sees only a part
    return out;
}

std::optional<DownloadMode> ParseDownloadMode(const std::string& name) {
    if (name == "normal" || name == "none") return DownloadMode::kNormal;
    if (name == "nolength") return DownloadMode::kNoLength;
    if (name == "short") return DownloadMode::kShort;
    if (name == "delay") return DownloadMode::kDelay;
    return std::nullopt;
}

const char* DownloadModeName(DownloadMode mode) {
    switch (mode) {
    case DownloadMode::kNoLength: return "nolength";
    case DownloadMode::kShort: return "short";
    case DownloadMode::kDelay: return "delay";
    default: return "normal";
    }
}

void DownloadSwitch::Set(const DownloadFault& fault) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
}

DownloadFault DownloadSwitch::Get() {
    std::lock_guard lock(mutex_);
    return fault_;
}

}  // namespace pagelark::standin

#pragma once
// The stand-in's admin interface (plain HTTP on 127.0.0.1) and its addresses, for the service
// client's tests under Wine. Addresses come from the environment that scripts/test.sh sets.
#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace pagelark::testing {

inline std::string EnvOr(const char* name, const std::string& fallback = {}) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

struct StandinAddresses {
    std::string primary = EnvOr("STANDIN_PRIMARY");
    std::string secondary = EnvOr("STANDIN_SECONDARY");
    std::string admin = EnvOr("STANDIN_ADMIN");   // http://127.0.0.1:port
    std::string selfSigned = EnvOr("STANDIN_SELFSIGNED");
    StandinAddresses() {
        if (selfSigned.empty() && !primary.empty()) {
            const auto colon = primary.rfind(':');
            selfSigned = primary.substr(0, colon + 1) + std::to_string(std::atoi(primary.c_str() + colon + 1) + 4);
        }
    }
    bool Available() const { return !primary.empty() && !admin.empty(); }
};

// One admin call; the answer's body, or "" when the call failed.
inline std::string AdminCall(const StandinAddresses& standin, const char* verb, const std::string& path,
                             const std::string& body = {}) {
    const std::string hostPort = standin.admin.substr(standin.admin.find("//") + 2);
    const std::string host = hostPort.substr(0, hostPort.find(':'));
    const int port = std::atoi(hostPort.c_str() + hostPort.find(':') + 1);
    std::string answer;
    HINTERNET root = InternetOpenA("PagelarkTests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = root ? InternetConnectA(root, host.c_str(), static_cast<INTERNET_PORT>(port), nullptr,
                                                   nullptr, INTERNET_SERVICE_HTTP, 0, 0)
                                : nullptr;
    HINTERNET request = connection ? HttpOpenRequestA(connection, verb, path.c_str(), nullptr, nullptr, nullptr,
                                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                                   : nullptr;
    const char* headers = "Content-Type: application/json\r\n";
    if (request && HttpSendRequestA(request, headers, static_cast<DWORD>(-1), const_cast<char*>(body.data()),
                                    static_cast<DWORD>(body.size()))) {
        char buffer[4096];
        DWORD read = 0;
        while (InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0) answer.append(buffer, read);
    }
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (root) InternetCloseHandle(root);
    return answer;
}

// Every JSON string value of `key` in `json`, in order (the admin answers are flat enough).
inline std::vector<std::string> JsonStrings(const std::string& json, const std::string& key) {
    std::vector<std::string> values;
    const std::string marker = "\"" + key + "\":\"";
    for (size_t at = json.find(marker); at != std::string::npos; at = json.find(marker, at + 1)) {
        std::string value;
        for (size_t i = at + marker.size(); i < json.size() && json[i] != '"'; ++i) {
            if (json[i] == '\\' && i + 1 < json.size()) ++i;
            value += json[i];
        }
        values.push_back(value);
    }
    return values;
}

}  // namespace pagelark::testing

namespace pagelark::testing {

// The strings of a JSON array `key` (e.g. "pins").
inline std::vector<std::string> JsonStringArray(const std::string& json, const std::string& key) {
    std::vector<std::string> values;
    const std::string marker = "\"" + key + "\":[";
    size_t at = json.find(marker);
    if (at == std::string::npos) return values;
    const size_t end = json.find(']', at);
    for (at = json.find('"', at + marker.size()); at < end; at = json.find('"', at + 1)) {
        const size_t close = json.find('"', at + 1);
        if (close > end) break;
        values.push_back(json.substr(at + 1, close - at - 1));
        at = close;
    }
    return values;
}

}  // namespace pagelark::testing

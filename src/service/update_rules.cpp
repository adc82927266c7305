#include "service/update_rules.h"

#include <cstdio>

namespace pagelark {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && StartsWithNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

std::optional<UpdateAddress> SplitUpdateAddress(std::string_view url) {
    UpdateAddress address;
    if (StartsWithNoCase(url, "https://")) {
        address.secure = true;
        address.port = 443;
        url.remove_prefix(8);
    } else if (StartsWithNoCase(url, "http://")) {
        url.remove_prefix(7);
    }
    const size_t slash = url.find('/');
    std::string_view host = url.substr(0, slash);
    address.path = slash == std::string_view::npos ? "/" : std::string(url.substr(slash));
    const size_t colon = host.rfind(':');
    if (colon != std::string_view::npos) {
        const std::string_view digits = host.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return std::nullopt;
        unsigned port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            port = port * 10 + static_cast<unsigned>(c - '0');
        }
        if (port == 0 || port > 65535) return std::nullopt;
        address.port = static_cast<std::uint16_t>(port);
        host = host.substr(0, colon);
    }
    if (host.empty() || host.find_first_of(" \t\r\n@\\") != std::string_view::npos) return std::nullopt;
    address.host = std::string(host);
    return address;
}

std::string UpdateFileName(std::string_view requestPath) {
    const size_t backslash = requestPath.rfind('\\');
    if (backslash == std::string_view::npos || !EndsWithNoCase(requestPath, ".msi")) return "Pagelark.msi";
    const std::string_view name = requestPath.substr(backslash + 1);
    if (name.size() <= 4 || name.find_first_of("/:?*\"<>|") != std::string_view::npos || name.find("..") == 0)
        return "Pagelark.msi";
    return std::string(name);
}

std::string UpdateDayFolder(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", ((year % 100) + 100) % 100, month % 100, day % 100);
    return text;
}

std::string MsiexecParameters(std::string_view packagePath, std::string_view logPath) {
    std::string parameters = "/i \"";
    parameters.append(packagePath);
    parameters += "\" REINSTALL=ALL REINSTALLMODE=vamus /qb /l*+ \"";
    parameters.append(logPath);
    parameters += '"';
    return parameters;
}

std::string UpdateLogFirstLine(std::string_view parameters) {
    std::string line = "msiexec ";
    line.append(parameters);
    line += '\n';
    return line;
}

}  // namespace pagelark

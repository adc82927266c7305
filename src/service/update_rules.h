#pragma once
// The rules of a program update that need no Windows: where the package comes from, what it is
// called on disk, how it is read in blocks, and how Windows Installer is asked to install it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

struct UpdateAddress {
    bool secure = false;       // "https://"
    std::string host;          // without a port
    std::uint16_t port = 80;   // 80, 443, or the one the address names after the host
    std::string path;          // starts with "/"
};

// "http://host/path", "https://host/path", "host/path" (taken as HTTP); the host may carry ":port".
// nullopt when no host remains or the port is no number from 1 to 65535.
std::optional<UpdateAddress> SplitUpdateAddress(std::string_view url);

// The package's file name: the part after the last backslash when the path ends in ".msi" and
// holds one, otherwise "Pagelark.msi". A name that would leave the download folder (a slash, a
// colon, "..") is not taken either.
std::string UpdateFileName(std::string_view requestPath);

// The day's sub-folder of the download folder: "%y%m%d" ("261208" for 8 December 2026).
std::string UpdateDayFolder(int year, int month, int day);

// The parameters for msiexec. Windows Installer under Wine knows no "/f" repair of a package
// path; the documented equivalent with REINSTALL and REINSTALLMODE does the same minor upgrade
// (all files, machine and user registry, shortcuts, re-caching the package) on Windows and Wine.
std::string MsiexecParameters(std::string_view packagePath, std::string_view logPath);
// The first line of Update.log: "msiexec <parameters>\n".
std::string UpdateLogFirstLine(std::string_view parameters);

}  // namespace pagelark

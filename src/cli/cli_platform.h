#pragma once
// What pagelark-cli needs from the system it runs on: the console, files, the stored
// settings, the HTTPS transport, the clock and the request log. main_win.cpp gives the Windows
// parts (registry, WinInet), main_posix.cpp the Linux parts (INI file, libcurl); tests fake them.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/installation.h"
#include "model/settings.h"
#include "numbers/dialling_codes.h"
#include "service/request_log.h"
#include "service/service_ports.h"

namespace pagelark::cli {

struct Configuration {
    Settings settings;
    InstallationValues installation;
    CountryList checkList;   // number normalisation, as the message window uses it
    std::string caFile;      // certificates the transport trusts besides the system's (Linux)
};

class Platform {
public:
    virtual ~Platform() = default;

    // Standard output and standard error, UTF-8 text.
    virtual void Out(std::string_view utf8) = 0;
    virtual void Err(std::string_view utf8) = 0;
    // All of standard input as UTF-8; nothing when it cannot be read.
    virtual std::optional<std::string> ReadStandardInput() = 0;
    // A file that holds a password, whole; nothing, with `error` set, when it cannot or must not be
    // used (on Linux: readable by others).
    virtual std::optional<std::string> ReadSecretFile(const std::string& path, std::string& error) = 0;

    // The settings, installation values and check list; `configPath` is --config. False, with
    // `error` set, when the stored configuration cannot be used.
    virtual bool LoadConfiguration(const std::optional<std::string>& configPath, Configuration& out,
                                   std::string& error) = 0;

    virtual std::shared_ptr<HttpTransport> Transport(const Configuration& configuration) = 0;
    virtual std::shared_ptr<const Clock> SystemClock() = 0;
    // The request log the message window writes too, opened (or not, then lines are skipped).
    virtual std::shared_ptr<RequestLog> OpenRequestLog() = 0;
};

// Runs one command line (without the program name) and returns its exit code.
int Run(const std::vector<std::string>& args, Platform& platform);

}  // namespace pagelark::cli

#pragma once
// One run of pagelark-cli: its options, its platform and the one way results leave the
// program (text lines, or one JSON object with --json; errors always on standard error too).
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/cli_platform.h"
#include "cli/json_writer.h"

namespace pagelark::cli {

class Session {
public:
    Session(const Options& options, Platform& platform) : options_(options), platform_(platform) {}

    const Options& options() const { return options_; }
    Platform& platform() { return platform_; }

    // A line of the text output (nothing is printed with --json).
    void Print(std::string_view line);
    // Ends the command with `code`: with --json its one object ("command", "exit", then `json`).
    int Finish(int code, const JsonObject& json = {});
    // Ends the command with an error: "pagelark-cli: <text>" on standard error, and with --json
    // the object with "error" as well.
    int Fail(int code, std::string_view text, JsonObject json = {});

    // The text operand: the argument, or standard input for "-" (one final line end dropped).
    // Line ends become CR LF, as the message window holds them.
    std::optional<std::string> ReadText(std::string& error);

    // The stored configuration with --user, --password-file, --server and --country-code applied.
    bool LoadConfiguration(Configuration& config, std::string& error);

private:
    const Options& options_;
    Platform& platform_;
};

// The commands.
int RunSend(Session& session);
int RunCredits(Session& session);
int RunCount(Session& session);
int RunNormalize(Session& session);
int RunEncodePassword(Session& session);

// Why the account cannot be used for a request ("no account: ..."); empty when it can.
std::string MissingAccountText(const Settings& settings);

// The first line of a password file's contents, without its line end.
std::string FirstLine(std::string_view text);

}  // namespace pagelark::cli

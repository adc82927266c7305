#pragma once
// The command line of pagelark-cli: one command, GNU-style long options anywhere before "--",
// and the exit codes scripts rely on.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark::cli {

enum class Command { None, Send, Credits, Count, Normalize, EncodePassword };

// Exit codes, documented in every --help and in the README.
enum ExitCode : int {
    kExitOk = 0,            // sent (or the command did what it was asked)
    kExitUsage = 1,         // usage or configuration error
    kExitRefused = 2,       // the service refused (its text on standard error)
    kExitNoConnection = 3,  // no connection to the service
    kExitUnsendable = 4,    // the text cannot be sent (characters, length)
};

struct Options {
    Command command = Command::None;
    bool help = false;
    bool version = false;
    bool json = false;
    bool dryRun = false;
    bool flash = false;
    bool replyInbox = false;
    bool replyMobile = false;
    std::optional<std::string> config;
    std::optional<std::string> user;
    std::optional<std::string> passwordFile;   // "-" is standard input
    std::optional<std::string> server;
    std::optional<std::string> countryCode;
    std::optional<std::string> to;
    std::optional<std::string> cc;
    std::optional<std::string> at;             // as given; see SendTimeFromAt
    std::vector<std::string> operands;         // the text (or "-"), or the numbers
};

struct ParseResult {
    Options options;
    std::string error;   // empty when the line is good
};

// `args` without the program name, UTF-8.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

// "YYYY-MM-DD HH:MM" (a "T" may stand for the blank) as the service's send time
// "%d-%.2d-%.2d %.2d:%.2d"; nothing when it is no valid date and time.
std::optional<std::string> SendTimeFromAt(std::string_view at);

std::string_view CommandName(Command command);
// The help of one command, or the overview for Command::None.
std::string HelpText(Command command);

}  // namespace pagelark::cli

#include "cli/cli_options.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace pagelark::cli {
namespace {

enum CommandBit : unsigned {
    kSend = 1u << 0,
    kCredits = 1u << 1,
    kCount = 1u << 2,
    kNormalize = 1u << 3,
    kEncode = 1u << 4,
    kAny = 0xFFu,
    kAccount = kSend | kCredits,   // commands that talk to the service
};

unsigned BitOf(Command command) {
    switch (command) {
        case Command::Send: return kSend;
        case Command::Credits: return kCredits;
        case Command::Count: return kCount;
        case Command::Normalize: return kNormalize;
        case Command::EncodePassword: return kEncode;
        case Command::None: break;
    }
    return 0;
}

struct OptionSpec {
    std::string_view name;
    bool takesValue;
    unsigned commands;
    bool Options::*flag;
    std::optional<std::string> Options::*value;
};

constexpr std::array kOptionSpecs = {
    OptionSpec{"help", false, kAny, &Options::help, nullptr},
    OptionSpec{"version", false, kAny, &Options::version, nullptr},
    OptionSpec{"json", false, kSend | kCredits | kCount | kNormalize, &Options::json, nullptr},
    OptionSpec{"config", true, kAccount | kNormalize, nullptr, &Options::config},
    OptionSpec{"user", true, kAccount, nullptr, &Options::user},
    OptionSpec{"password-file", true, kAccount | kEncode, nullptr, &Options::passwordFile},
    OptionSpec{"server", true, kAccount, nullptr, &Options::server},
    OptionSpec{"country-code", true, kSend | kNormalize, nullptr, &Options::countryCode},
    OptionSpec{"to", true, kSend, nullptr, &Options::to},
    OptionSpec{"cc", true, kSend, nullptr, &Options::cc},
    OptionSpec{"at", true, kSend, nullptr, &Options::at},
    OptionSpec{"flash", false, kSend, &Options::flash, nullptr},
    OptionSpec{"reply-inbox", false, kSend, &Options::replyInbox, nullptr},
    OptionSpec{"reply-mobile", false, kSend, &Options::replyMobile, nullptr},
    OptionSpec{"dry-run", false, kSend, &Options::dryRun, nullptr},
};

const OptionSpec* FindOption(std::string_view name) {
    for (const OptionSpec& spec : kOptionSpecs)
        if (spec.name == name) return &spec;
    return nullptr;
}

std::optional<Command> CommandOf(std::string_view word) {
    if (word == "send") return Command::Send;
    if (word == "credits") return Command::Credits;
    if (word == "count") return Command::Count;
    if (word == "normalize") return Command::Normalize;
    if (word == "encode-password") return Command::EncodePassword;
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

// Operands each command takes; the error text when they do not fit.
std::string CheckOperands(const Options& options) {
    const size_t n = options.operands.size();
    switch (options.command) {
        case Command::Send:
            if (!options.to) return "send needs --to NUMBERS";
            if (n != 1) return n == 0 ? "send needs the text, or - to read it from standard input"
                                      : "send takes one text; quote it when it has blanks";
            break;
        case Command::Count:
            if (n != 1) return n == 0 ? "count needs the text, or - to read it from standard input"
                                      : "count takes one text; quote it when it has blanks";
            break;
        case Command::Normalize:
            if (n == 0) return "normalize needs at least one number";
            break;
        case Command::Credits:
        case Command::EncodePassword:
            if (n != 0) return std::string(CommandName(options.command)) + " takes no operands, not " +
                               Quoted(options.operands.front());
            break;
        case Command::None: break;
    }
    if (options.at && !SendTimeFromAt(*options.at))
        return "--at wants a date and time as \"YYYY-MM-DD HH:MM\", not " + Quoted(*options.at);
    if (options.passwordFile && *options.passwordFile == "-" && n == 1 && options.operands.front() == "-")
        return "standard input can hold the password or the text, not both";
    return {};
}

bool ReadNumber(std::string_view text, int& value) {
    // Digits only: from_chars would take "-8" as an hour.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    Options& options = result.options;
    std::vector<std::pair<const OptionSpec*, std::string>> seen;   // checked once the command is known
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (options.command == Command::None && !optionsEnded) {
                const std::optional<Command> command = CommandOf(arg);
                if (!command) {
                    result.error = "unknown command " + Quoted(arg) + " (send, credits, count, normalize)";
                    return result;
                }
                options.command = *command;
            } else if (options.command == Command::None) {
                result.error = "a command comes before \"--\"";
                return result;
            } else {
                options.operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h") {
            options.help = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            result.error = "unknown option " + Quoted(arg) + "; options are long, like --help";
            return result;
        }
        std::string_view body = std::string_view(arg).substr(2);
        std::optional<std::string> inlineValue;
        if (const size_t eq = body.find('='); eq != std::string_view::npos) {
            inlineValue = std::string(body.substr(eq + 1));
            body = body.substr(0, eq);
        }
        if (body == "password") {
            result.error = "a password is never taken from the command line (others can read it there): "
                           "use --password-file FILE, or --password-file - for standard input";
            return result;
        }
        const OptionSpec* spec = FindOption(body);
        if (!spec) {
            result.error = "unknown option " + Quoted("--" + std::string(body));
            return result;
        }
        std::string value;
        if (spec->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                result.error = "--" + std::string(spec->name) + " needs a value";
                return result;
            }
            options.*(spec->value) = value;
        } else {
            if (inlineValue) {
                result.error = "--" + std::string(spec->name) + " takes no value";
                return result;
            }
            options.*(spec->flag) = true;
        }
        seen.emplace_back(spec, value);
    }
    if (options.help || options.version) return result;
    if (options.command == Command::None) {
        result.error = "no command given (send, credits, count, normalize)";
        return result;
    }
    for (const auto& [spec, value] : seen) {
        if ((spec->commands & BitOf(options.command)) == 0) {
            result.error = "--" + std::string(spec->name) + " does not apply to " +
                           std::string(CommandName(options.command));
            return result;
        }
    }
    result.error = CheckOperands(options);
    return result;
}

std::optional<std::string> SendTimeFromAt(std::string_view at) {
    // YYYY-MM-DD HH:MM, exactly.
    if (at.size() != 16 || at[4] != '-' || at[7] != '-' || (at[10] != ' ' && at[10] != 'T') || at[13] != ':')
        return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!ReadNumber(at.substr(0, 4), year) || !ReadNumber(at.substr(5, 2), month) ||
        !ReadNumber(at.substr(8, 2), day) || !ReadNumber(at.substr(11, 2), hour) ||
        !ReadNumber(at.substr(14, 2), minute))
        return std::nullopt;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1970 || month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59) return std::nullopt;
    if (day > kDays[month - 1] || (month == 2 && day == 29 && !leap)) return std::nullopt;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d-%.2d-%.2d %.2d:%.2d", year, month, day, hour, minute);
    return std::string(buffer);
}

std::string_view CommandName(Command command) {
    switch (command) {
        case Command::Send: return "send";
        case Command::Credits: return "credits";
        case Command::Count: return "count";
        case Command::Normalize: return "normalize";
        case Command::EncodePassword: return "encode-password";
        case Command::None: break;
    }
    return "";
}

}  // namespace pagelark::cli

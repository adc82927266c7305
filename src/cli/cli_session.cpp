#include "cli/cli_session.h"

#include "app/version_text.h"

namespace pagelark::cli {
namespace {

// "\n" and "\r\n" both become "\r\n"; a lone "\r" stays.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace

std::string FirstLine(std::string_view text) {
    const size_t end = text.find_first_of("\r\n");
    return std::string(text.substr(0, end));
}

void Session::Print(std::string_view line) {
    if (options_.json) return;
    std::string text(line);
    text += '\n';
    platform_.Out(text);
}

int Session::Finish(int code, const JsonObject& json) {
    if (options_.json) {
        JsonObject object;
        object.Add("command", CommandName(options_.command)).Add("exit", code).Merge(json);
        platform_.Out(object.Text() + "\n");
    }
    return code;
}

int Session::Fail(int code, std::string_view text, JsonObject json) {
    std::string line = "pagelark-cli: ";
    line += text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    platform_.Err(line + "\n");
    json.Add("error", line.substr(14));
    return Finish(code, json);
}

std::optional<std::string> Session::ReadText(std::string& error) {
    const std::string& operand = options_.operands.front();
    if (operand != "-") return WithCrLf(operand);
    std::optional<std::string> text = platform_.ReadStandardInput();
    if (!text) {
        error = "standard input cannot be read";
        return std::nullopt;
    }
    if (text->ends_with("\r\n")) text->resize(text->size() - 2);
    else if (text->ends_with('\n')) text->pop_back();
    return WithCrLf(*text);
}

bool Session::LoadConfiguration(Configuration& config, std::string& error) {
    if (!platform_.LoadConfiguration(options_.config, config, error)) return false;
    Settings& settings = config.settings;
    if (options_.user) settings.UserName = *options_.user;
    if (options_.passwordFile) {
        std::optional<std::string> contents;
        if (*options_.passwordFile == "-") {
            contents = platform_.ReadStandardInput();
            if (!contents) error = "standard input cannot be read";
        } else {
            contents = platform_.ReadSecretFile(*options_.passwordFile, error);
        }
        if (!contents) return false;
        settings.UserPassword = FirstLine(*contents);
    }
    if (options_.server) {
        // One named server: no fallback to another host.
        config.installation.primaryServer = *options_.server;
        config.installation.secondaryServer = *options_.server;
    }
    if (options_.countryCode) {
        std::string code = *options_.countryCode;
        if (!code.starts_with('+')) code.insert(code.begin(), '+');
        if (code.size() < 2 || code.find_first_not_of("0123456789", 1) != std::string::npos) {
            error = "--country-code wants digits, like 49 or +49";
            return false;
        }
        settings.UserLandCode = code;
    }
    return true;
}

int Run(const std::vector<std::string>& args, Platform& platform) {
    const ParseResult parsed = ParseCommandLine(args);
    Session session(parsed.options, platform);
    if (!parsed.error.empty()) {
        const int code = session.Fail(kExitUsage, parsed.error);
        platform.Err("Try 'pagelark-cli " +
                     std::string(parsed.options.command == Command::None ? "" : std::string(CommandName(parsed.options.command)) + " ") +
                     "--help'.\n");
        return code;
    }
    if (parsed.options.version) {
        platform.Out("pagelark-cli " + VersionTextFromFileVersion(PAGELARK_FILE_VERSION) + "\n");
        return kExitOk;
    }
    if (parsed.options.help) {
        platform.Out(HelpText(parsed.options.command));
        return kExitOk;
    }
    switch (parsed.options.command) {
        case Command::Send: return RunSend(session);
        case Command::Credits: return RunCredits(session);
        case Command::Count: return RunCount(session);
        case Command::Normalize: return RunNormalize(session);
        case Command::EncodePassword: return RunEncodePassword(session);
        case Command::None: break;
    }
    return kExitUsage;
}

}  // namespace pagelark::cli

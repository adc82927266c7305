// The --help texts. Kept in English: scripts and their logs read them, as they read the
// service's texts on standard error.
#include "cli/cli_options.h"

namespace pagelark::cli {
namespace {

constexpr std::string_view kExitCodes = R"(
Exit codes:
  0  sent (or done)
  1  usage or configuration error
  2  the service refused (its text on standard error)
  3  no connection to the service
  4  the text cannot be sent (characters outside the SMS character set, or too long)
)";

constexpr std::string_view kAccountOptions = R"(
Account (override the stored settings):
  --user NAME            the account's user name
  --password-file FILE   read the password from the first line of FILE (- : standard input);
                         a password is never taken from the command line
  --server HOST[:PORT]   the message server (no fallback to the secondary server then)
  --config FILE          settings file (Linux; default $XDG_CONFIG_HOME/pagelark/pagelark.ini,
                         readable by its owner only: mode 0600)
)";

constexpr std::string_view kOverview = R"(Usage: pagelark-cli COMMAND [OPTIONS] [--] OPERANDS

Sends SMS through the Telvoro service with the account of Pagelark.

Commands:
  send --to NUMBERS TEXT|-   send a message (see pagelark-cli send --help)
  credits                    the account's credits and send features
  count TEXT|-               characters and SMS parts of a text
  normalize NUMBER...        the international form of each number
  encode-password            the UserPassword line of the settings file (Linux)

Common options:
  --json      one JSON object on standard output
  --help, -h  help of the command
  --version   the program's version
  --          ends the options; - reads the text from standard input (UTF-8)

Settings: on Windows the user's Pagelark settings (the account, servers and proxy);
on Linux the INI file $XDG_CONFIG_HOME/pagelark/pagelark.ini with the same names:
  [Settings]      UserName, UserPassword (scrambled, see encode-password), UserLandCode,
                  CopyToEMail, UseProxy, ProxyAddress, ProxyPort
  [Installation]  PrimaryServer, SecondaryServer, SCID, ProductLanguage, CaFile
Failed requests are written to the request log Pagelark.log (Windows: the program folder;
Linux: $XDG_STATE_HOME/pagelark).
)";

constexpr std::string_view kSend = R"(Usage: pagelark-cli send --to NUMBERS [OPTIONS] [--] TEXT|-

Normalises the numbers as Pagelark's To field does (national numbers get the account's
country code), checks that every character can be sent, shows the cost
(recipients x parts) and sends. TEXT - reads the text from standard input (UTF-8; a final
line end is dropped).

Options:
  --to NUMBERS        recipients, separated by ; or ,
  --cc ADDRESSES      e-mail addresses that get a copy, separated by ; or ,
  --at "YYYY-MM-DD HH:MM"   send at this local time
  --flash             flash SMS
  --reply-inbox       replies go to the account's e-mail inbox
  --reply-mobile      replies go to the account's mobile phone
  --country-code CODE the country code for national numbers (default: the account's)
  --dry-run           check and show the cost, send nothing (no request is made)
  --json              one JSON object on standard output
)";

constexpr std::string_view kCredits = R"(Usage: pagelark-cli credits [OPTIONS]

Asks the service for the account's status: its credits and the send features of its
account type (reply to inbox, reply to mobile, flash SMS, scheduled sending, CC by e-mail).

Options:
  --json      one JSON object on standard output
)";

constexpr std::string_view kCount = R"(Usage: pagelark-cli count [--json] [--] TEXT|-

Counts the text as Pagelark's counter does: characters, with one more for each of
€ [ \ ] ^ { | } ~ and form feed, and the SMS parts (160 characters in one part, 152 per part
beyond; at most 1520). Line ends count as two characters (CR LF), as in the message window.
Exit code 4 when the text cannot be sent (unsendable characters, or longer than 1520).
)";

constexpr std::string_view kNormalize = R"(Usage: pagelark-cli normalize [--country-code CODE] [--json] [--] NUMBER...

Writes the international form (+, country code, national number) of each number, one a line,
as Pagelark's To field writes it. National numbers get the country code of --country-code, or
else of the account's settings.
)";

constexpr std::string_view kEncode = R"(Usage: pagelark-cli encode-password [--password-file FILE|-]

Reads a password (standard input by default) and writes the line
  UserPassword=<scrambled bytes in hexadecimal>
for the [Settings] section of the Linux settings file: stored scrambled, as Pagelark stores it.
)";

}  // namespace

std::string HelpText(Command command) {
    std::string text;
    switch (command) {
        case Command::Send: text = std::string(kSend) + std::string(kAccountOptions); break;
        case Command::Credits: text = std::string(kCredits) + std::string(kAccountOptions); break;
        case Command::Count: text = kCount; break;
        case Command::Normalize: text = kNormalize; break;
        case Command::EncodePassword: text = kEncode; break;
        case Command::None: text = std::string(kOverview) + std::string(kAccountOptions); break;
    }
    return text + std::string(kExitCodes);
}

}  // namespace pagelark::cli

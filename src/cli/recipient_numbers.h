#pragma once
// Recipients given on the command line, read as the message window's fields read them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_platform.h"

namespace pagelark::cli {

// A number, or "name (number)", in the international form the To field gives it (the check
// list and the account's country code of `config`); nothing when the entry holds no number.
std::optional<std::string> InternationalNumber(std::string_view entry, const Configuration& config);

struct RecipientList {
    std::vector<std::string> addresses;
    std::string bad;   // the first entry that is not accepted; empty when all are
};

// --to: entries separated by ";" or ",", blanks trimmed, empty ones dropped, each normalised.
RecipientList RecipientNumbers(std::string_view to, const Configuration& config);
// --cc: e-mail addresses (an "@" and no blank), or "name (address)".
RecipientList CcAddresses(std::string_view cc);

}  // namespace pagelark::cli

#include "cli/recipient_numbers.h"

#include <algorithm>

#include "numbers/number_normalizer.h"
#include "numbers/recipient_field.h"
#include "common/text_encoding.h"

namespace pagelark::cli {
namespace {

std::vector<std::string> Entries(std::string_view field) {
    std::string text(field);
    std::replace(text.begin(), text.end(), ',', ';');   // commas are the usual separator in scripts
    return SplitRecipients(text);
}

bool IsEMailAddress(std::string_view text) {
    return text.find('@') != std::string_view::npos && text.find(' ') == std::string_view::npos;
}

}  // namespace

std::optional<std::string> InternationalNumber(std::string_view entry, const Configuration& config) {
    std::string number(TrimBlanks(entry));
    if (IsNameWithAddress(number)) number = AddressOf(number);
    // The window would turn a text without digits into the bare country code; here it is refused.
    if (!IsNumberText(number) || number.find_first_of("0123456789") == std::string::npos) return std::nullopt;
    return NormalizedNumber(number, config.checkList, config.settings.UserLandCode);
}

RecipientList RecipientNumbers(std::string_view to, const Configuration& config) {
    RecipientList list;
    for (const std::string& entry : Entries(to)) {
        const std::optional<std::string> number = InternationalNumber(entry, config);
        if (!number) {
            list.bad = entry;
            break;
        }
        list.addresses.push_back(*number);
    }
    return list;
}

RecipientList CcAddresses(std::string_view cc) {
    RecipientList list;
    for (const std::string& entry : Entries(cc)) {
        const std::string address = IsNameWithAddress(entry) ? AddressOf(entry) : entry;
        if (!IsEMailAddress(address)) {
            list.bad = entry;
            break;
        }
        list.addresses.push_back(address);
    }
    return list;
}

}  // namespace pagelark::cli

#include "setup/account_form.h"

namespace pagelark {

bool IsAccountComplete(const AccountForm& form) {
    return !form.userName.empty() && !form.password.empty() && !form.mobile.empty() && !form.email.empty() &&
           !form.countryEntry.empty();
}

int AccountPageButtons(const AccountForm& form) {
    return IsAccountComplete(form) ? (kWizardBack | kWizardNext) : kWizardBack;
}

std::string CountryCodeFromEntry(std::string_view entry) {
    // The last bracket pair: a country name may carry brackets of its own.
    const size_t open = entry.rfind('(');
    if (open == std::string_view::npos) return {};
    const size_t close = entry.find(')', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(entry.substr(open + 1, close - open - 1));
}

std::string ReplaceAll(std::string_view text, std::string_view placeholder, std::string_view value) {
    if (placeholder.empty()) return std::string(text);
    std::string out;
    size_t start = 0;
    for (size_t found; (found = text.find(placeholder, start)) != std::string_view::npos;
         start = found + placeholder.size()) {
        out.append(text.substr(start, found - start));
        out.append(value);
    }
    out.append(text.substr(start));
    return out;
}

std::string VerificationCountryLine(std::string_view templateText, std::string_view countryEntry) {
    return ReplaceAll(templateText, "<Countryname>", countryEntry);
}

std::string VerificationNumberLine(std::string_view templateText, std::string_view countryCode,
                                   std::string_view nationalNumber) {
    std::string number(countryCode);
    number.append(nationalNumber);
    return ReplaceAll(templateText, "<Number>", number);
}

}  // namespace pagelark

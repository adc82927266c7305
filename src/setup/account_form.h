#pragma once
// The account page's data and the rules the wizard applies to it, apart from the controls.
#include <string>
#include <string_view>

#include "setup/wizard_flow.h"

namespace pagelark {

struct AccountForm {
    std::string userName;
    std::string password;
    std::string confirmation;
    std::string email;
    std::string mobile;            // as typed, or normalised once the field lost the focus
    std::string countryEntry;      // the selected combo entry, e.g. "Germany (+49)"; empty: none
    RegistrationMode mode = RegistrationMode::NewRegistration;
};

// User name, password, mobile number and e-mail present and a country chosen. The confirmation
// does not take part.
bool IsAccountComplete(const AccountForm& form);

// Buttons of the account page: Back and Next when complete, Back alone otherwise.
int AccountPageButtons(const AccountForm& form);

// The confirmation field is only for a new registration.
inline bool ConfirmationEnabled(RegistrationMode mode) { return mode == RegistrationMode::NewRegistration; }

// The text between "(" and ")" of a combo entry, e.g. "+49" from "Germany (+49)"; empty when
// the entry has no such part.
std::string CountryCodeFromEntry(std::string_view entry);

// Replaces every `placeholder` in `text` by `value`.
std::string ReplaceAll(std::string_view text, std::string_view placeholder, std::string_view value);

// The verification page's two lines from their templates.
std::string VerificationCountryLine(std::string_view templateText, std::string_view countryEntry);
std::string VerificationNumberLine(std::string_view templateText, std::string_view countryCode,
                                   std::string_view nationalNumber);

}  // namespace pagelark

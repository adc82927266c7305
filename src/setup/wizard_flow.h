#pragma once
// The setup wizard's page flow: which page follows which, given what the user did and what the
// service answered. The pages only gather those facts; the decisions live here.
namespace pagelark {

// Sheet order; the index is what a page jumps to.
enum class WizardPage : int { Terms = 0, Account = 1, Verification = 2, Pin = 3, Finish = 4, Proxy = 5, Closed = -1 };

enum class WizardEvent { Next, Back, Proxy, Finish, Cancel };

// Registration choice of the account page (its radio group).
enum class RegistrationMode : int { NewRegistration = 0, AlreadyRegistered = 1 };

// Wizard buttons as the sheet takes them.
inline constexpr int kWizardBack = 1;
inline constexpr int kWizardNext = 2;
inline constexpr int kWizardFinish = 4;

// What the current page knows when the event happens. Only the fields of that page matter.
struct WizardFacts {
    bool termsAccepted = false;                 // terms: "Yes" ticked
    bool accountComplete = false;               // account: the four fields and a country
    bool passwordsMatch = true;                 // account: password equals confirmation
    bool passwordStorable = true;               // account: the settings store can keep it whole
    RegistrationMode mode = RegistrationMode::NewRegistration;
    int registerResult = -1;                    // verification: RegisterAccount's answer (0, 1, -1)
    bool pinAccepted = false;                   // PIN: ActivateAccount's answer
    bool proxyPortValid = true;                 // proxy: the port is an integer
};

// The page shown after `event` on `from`; `from` itself when the wizard stays.
WizardPage NextWizardPage(WizardPage from, WizardEvent event, const WizardFacts& facts);

// Buttons a page shows when it becomes active; -1: the page leaves them as they are (proxy).
int WizardButtonsOnActivation(WizardPage page, const WizardFacts& facts);

}  // namespace pagelark

#include "setup/wizard_flow.h"

namespace pagelark {

WizardPage NextWizardPage(WizardPage from, WizardEvent event, const WizardFacts& facts) {
    if (event == WizardEvent::Cancel) return WizardPage::Closed;
    switch (from) {
    case WizardPage::Terms:
        if (event == WizardEvent::Next && facts.termsAccepted) return WizardPage::Account;
        return from;
    case WizardPage::Account:
        if (event == WizardEvent::Back) return WizardPage::Terms;
        if (event == WizardEvent::Proxy) return WizardPage::Proxy;
        if (event != WizardEvent::Next || !facts.accountComplete) return from;
        if (facts.mode == RegistrationMode::NewRegistration && !facts.passwordsMatch) return from;
        if (!facts.passwordStorable) return from;
        return WizardPage::Verification;
    case WizardPage::Proxy:
        if (event == WizardEvent::Back) return WizardPage::Account;
        if (event == WizardEvent::Next) return facts.proxyPortValid ? WizardPage::Account : from;
        return from;
    case WizardPage::Verification:
        if (event == WizardEvent::Back) return WizardPage::Account;
        if (event != WizardEvent::Next) return from;
        if (facts.registerResult < 0) return WizardPage::Account;
        if (facts.mode == RegistrationMode::AlreadyRegistered || facts.registerResult == 1) return WizardPage::Finish;
        return WizardPage::Pin;
    case WizardPage::Pin:
        // The PIN page offers no Back: the account exists at the service from here on.
        if (event == WizardEvent::Next && facts.pinAccepted) return WizardPage::Finish;
        return from;
    case WizardPage::Finish:
        return event == WizardEvent::Finish ? WizardPage::Closed : from;
    case WizardPage::Closed:
        break;
    }
    return from;
}

int WizardButtonsOnActivation(WizardPage page, const WizardFacts& facts) {
    switch (page) {
    case WizardPage::Terms: return facts.termsAccepted ? kWizardNext : 0;
    case WizardPage::Account:
    case WizardPage::Verification: return facts.accountComplete ? (kWizardBack | kWizardNext) : kWizardBack;
    case WizardPage::Pin: return kWizardNext;
    case WizardPage::Finish: return kWizardFinish;
    case WizardPage::Proxy:
    case WizardPage::Closed: break;
    }
    return -1;
}

}  // namespace pagelark

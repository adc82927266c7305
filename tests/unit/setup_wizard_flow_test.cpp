#include <gtest/gtest.h>

#include "setup/account_form.h"
#include "setup/wizard_flow.h"

namespace pagelark {
namespace {

using P = WizardPage;
using E = WizardEvent;

WizardFacts Facts() { return {}; }

struct FlowRow {
    const char* name;
    P from;
    E event;
    WizardFacts facts;
    P expected;
};

WizardFacts With(void (*set)(WizardFacts&)) {
    WizardFacts f;
    set(f);
    return f;
}

// Every path of the wizard's table, plus the refusals that keep a page.
const FlowRow kRows[] = {
    {"terms next with yes", P::Terms, E::Next, With([](WizardFacts& f) { f.termsAccepted = true; }), P::Account},
    {"terms next without yes stays", P::Terms, E::Next, Facts(), P::Terms},
    {"account next complete", P::Account, E::Next, With([](WizardFacts& f) { f.accountComplete = true; }),
     P::Verification},
    {"account next passwords differ stays", P::Account, E::Next,
     With([](WizardFacts& f) { f.accountComplete = true, f.passwordsMatch = false; }), P::Account},
    {"account next existing account ignores confirmation", P::Account, E::Next,
     With([](WizardFacts& f) {
         f.accountComplete = true, f.passwordsMatch = false, f.mode = RegistrationMode::AlreadyRegistered;
     }),
     P::Verification},
    {"account next incomplete stays", P::Account, E::Next, Facts(), P::Account},
    {"account next unstorable password stays", P::Account, E::Next,
     With([](WizardFacts& f) { f.accountComplete = true, f.passwordStorable = false; }), P::Account},
    {"account back", P::Account, E::Back, Facts(), P::Terms},
    {"account proxy", P::Account, E::Proxy, Facts(), P::Proxy},
    {"proxy next saved", P::Proxy, E::Next, Facts(), P::Account},
    {"proxy next bad port stays", P::Proxy, E::Next, With([](WizardFacts& f) { f.proxyPortValid = false; }),
     P::Proxy},
    {"proxy back", P::Proxy, E::Back, Facts(), P::Account},
    {"verification back", P::Verification, E::Back, Facts(), P::Account},
    {"verification registration failed", P::Verification, E::Next,
     With([](WizardFacts& f) { f.registerResult = -1; }), P::Account},
    {"verification existing account failed", P::Verification, E::Next,
     With([](WizardFacts& f) { f.registerResult = -1, f.mode = RegistrationMode::AlreadyRegistered; }), P::Account},
    {"verification already registered", P::Verification, E::Next,
     With([](WizardFacts& f) { f.registerResult = 1, f.mode = RegistrationMode::AlreadyRegistered; }), P::Finish},
    {"verification already registered status 0", P::Verification, E::Next,
     With([](WizardFacts& f) { f.registerResult = 0, f.mode = RegistrationMode::AlreadyRegistered; }), P::Finish},
    {"verification new registration status 1", P::Verification, E::Next,
     With([](WizardFacts& f) { f.registerResult = 1; }), P::Finish},
    {"verification new registration accepted", P::Verification, E::Next,
     With([](WizardFacts& f) { f.registerResult = 0; }), P::Pin},
    {"pin accepted", P::Pin, E::Next, With([](WizardFacts& f) { f.pinAccepted = true; }), P::Finish},
    {"pin refused", P::Pin, E::Next, Facts(), P::Pin},
    {"pin has no back", P::Pin, E::Back, Facts(), P::Pin},
    {"finish", P::Finish, E::Finish, Facts(), P::Closed},
};

TEST(SetupWizardFlow, EveryPathOfTheTable) {
    for (const FlowRow& row : kRows)
        EXPECT_EQ(NextWizardPage(row.from, row.event, row.facts), row.expected) << row.name;
}

TEST(SetupWizardFlow, CancelClosesFromAnyPage) {
    for (P page : {P::Terms, P::Account, P::Verification, P::Pin, P::Finish, P::Proxy})
        EXPECT_EQ(NextWizardPage(page, E::Cancel, Facts()), P::Closed);
}

TEST(SetupWizardFlow, ButtonsOnActivation) {
    WizardFacts f;
    EXPECT_EQ(WizardButtonsOnActivation(P::Terms, f), 0);
    f.termsAccepted = true;
    EXPECT_EQ(WizardButtonsOnActivation(P::Terms, f), kWizardNext);
    EXPECT_EQ(WizardButtonsOnActivation(P::Account, f), kWizardBack);
    f.accountComplete = true;
    EXPECT_EQ(WizardButtonsOnActivation(P::Account, f), kWizardBack | kWizardNext);
    EXPECT_EQ(WizardButtonsOnActivation(P::Pin, f), kWizardNext);
    EXPECT_EQ(WizardButtonsOnActivation(P::Finish, f), kWizardFinish);
    EXPECT_EQ(WizardButtonsOnActivation(P::Proxy, f), -1);  // left as they are
}

AccountForm CompleteForm() {
    AccountForm form;
    form.userName = "anna";
    form.password = "secret";
    form.email = "anna@example.org";
    form.mobile = "1701234567";
    form.countryEntry = "Germany (+49)";
    return form;
}

TEST(SetupAccountForm, ButtonRuleNeedsFourFieldsAndACountry) {
    AccountForm form = CompleteForm();
    EXPECT_EQ(AccountPageButtons(form), kWizardBack | kWizardNext);
    for (std::string AccountForm::*field : {&AccountForm::userName, &AccountForm::password, &AccountForm::email,
                                            &AccountForm::mobile, &AccountForm::countryEntry}) {
        AccountForm missing = CompleteForm();
        missing.*field = "";
        EXPECT_EQ(AccountPageButtons(missing), kWizardBack);
    }
    form.confirmation = "";  // the confirmation does not take part
    EXPECT_TRUE(IsAccountComplete(form));
}

TEST(SetupAccountForm, ConfirmationOnlyForNewRegistration) {
    EXPECT_TRUE(ConfirmationEnabled(RegistrationMode::NewRegistration));
    EXPECT_FALSE(ConfirmationEnabled(RegistrationMode::AlreadyRegistered));
}

TEST(SetupAccountForm, CountryCodeFromEntry) {
    EXPECT_EQ(CountryCodeFromEntry("Germany (+49)"), "+49");
    EXPECT_EQ(CountryCodeFromEntry("Cayman Islands (+1345)"), "+1345");
    // A name with brackets of its own: the code is in the last pair.
    EXPECT_EQ(CountryCodeFromEntry("French West Indies (Martinique) (+596)"), "+596");
    EXPECT_EQ(CountryCodeFromEntry("Germany"), "");
    EXPECT_EQ(CountryCodeFromEntry("Germany (+49"), "");
    EXPECT_EQ(CountryCodeFromEntry(""), "");
}

TEST(SetupVerification, TemplatesReplaced) {
    EXPECT_EQ(VerificationCountryLine("Your mobile phone is registered in <Countryname>.", "Germany (+49)"),
              "Your mobile phone is registered in Germany (+49).");
    EXPECT_EQ(VerificationNumberLine("Your mobile phone number (international format) is: <Number>.", "+49",
                                     "1701234567"),
              "Your mobile phone number (international format) is: +491701234567.");
    // Each time from the template: a second fill does not see the first value.
    const std::string tmpl = "<Number> / <Number>";
    EXPECT_EQ(VerificationNumberLine(tmpl, "+41", "791234567"), "+41791234567 / +41791234567");
    EXPECT_EQ(VerificationNumberLine("no placeholder", "+49", "1"), "no placeholder");
    // A value holding the placeholder is not expanded again.
    EXPECT_EQ(ReplaceAll("a<X>b", "<X>", "<X><X>"), "a<X><X>b");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
}

}  // namespace
}  // namespace pagelark

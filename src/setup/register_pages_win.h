#pragma once
// The setup wizard's six pages (sheet order: terms, account, verification, PIN, finish, proxy).
#include <string>

#include "setup/account_form.h"
#include "setup/setup_controls_win.h"
#include "setup/setup_environment_win.h"
#include "setup/wizard_flow.h"
#include "ui/property_sheet_win.h"

namespace pagelark {

// State the pages share for one run of the wizard.
struct WizardRun {
    explicit WizardRun(SetupEnvironment& environment) : env(environment) {}
    SetupEnvironment& env;
    AccountForm account;        // the account page's values; the later pages read them
    std::string countryCode;    // "+49", taken from the selected entry when leaving the account page
};

// A wizard page that moves by the page flow.
class CRegisterPage : public CPropertyPage {
public:
    CRegisterPage(int templateId, WizardRun& run) : CPropertyPage(templateId), run_(run) {}

protected:
    // What a wizard-move handler returns for the flow's answer: -1 to stay, else the target's template.
    int MoveTo(WizardPage from, WizardPage to) const;
    void JumpTo(WizardPage page) const;
    WizardRun& run_;
};

class CRegisterPage1 : public CRegisterPage {   // terms of use
public:
    explicit CRegisterPage1(WizardRun& run);
    bool countryFileFetched() const { return countryFileFetched_; }

protected:
    bool OnSetActive() override;
    bool OnCommand(int id, int code, HWND control) override;
    int OnWizardNext() override;

private:
    void LoadTerms();
    bool countryFileFetched_ = false;
};

class CRegisterPage2 : public CRegisterPage {   // account data
public:
    explicit CRegisterPage2(WizardRun& run);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    bool OnCommand(int id, int code, HWND control) override;
    int OnWizardNext() override;
    int OnWizardBack() override;

private:
    void ReadFields();
    void UpdateButtons();
    std::string NormalizedMobile(const std::string& text) const;
    DerivedFont bold_;
};

class CRegisterPage6 : public CRegisterPage {   // verification of the international number
public:
    explicit CRegisterPage6(WizardRun& run);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardNext() override;
    int OnWizardBack() override;

private:
    DerivedFont bold_;
    std::string countryTemplate_;
    std::string numberTemplate_;
};

class CRegisterPage3 : public CRegisterPage {   // PIN
public:
    explicit CRegisterPage3(WizardRun& run);

protected:
    bool OnSetActive() override;
    bool OnCommand(int id, int code, HWND control) override;
    int OnWizardNext() override;
    int OnWizardBack() override;
};

class CRegisterPage4 : public CRegisterPage {   // finish
public:
    explicit CRegisterPage4(WizardRun& run);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardBack() override;
    bool OnWizardFinish() override;
};

class CRegisterPage5 : public CRegisterPage {   // proxy
public:
    explicit CRegisterPage5(WizardRun& run);

protected:
    bool OnSetActive() override;
    bool OnCommand(int id, int code, HWND control) override;
    int OnWizardNext() override;
    int OnWizardBack() override;

private:
    void EnableAddressAndPort();
};

// Builds the sheet with its six pages and runs it modally over `owner`. True when finished.
bool RunRegisterWizard(SetupEnvironment& environment, HWND owner);

}  // namespace pagelark

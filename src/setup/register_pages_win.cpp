#include "setup/register_pages_win.h"

#include <array>

#include "common/ansi_code_page_win.h"
#include "common/files.h"
#include "common/text_encoding.h"
#include "common/wide_string_win.h"
#include "model/password.h"
#include "numbers/number_normalizer.h"
#include "resource_ids.h"
#include "setup/options_rules.h"
#include "ui/resources_win.h"
#include "ui/wait_cursor_win.h"

namespace pagelark {
namespace {

constexpr std::array<int, 6> kPageTemplates = {IDD_REGISTER_TERMS,  IDD_REGISTER_ACCOUNT, IDD_REGISTER_VERIFY,
                                               IDD_REGISTER_PIN,    IDD_REGISTER_FINISH,  IDD_REGISTER_PROXY};

int TemplateOf(WizardPage page) { return kPageTemplates[static_cast<size_t>(page)]; }

// Edit controls want CR LF; a terms file written with bare LF still shows its lines.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

std::string SelectedComboText(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return {};
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

}  // namespace

int CRegisterPage::MoveTo(WizardPage from, WizardPage to) const {
    if (to == from || to == WizardPage::Closed) return -1;
    return TemplateOf(to);
}

void CRegisterPage::JumpTo(WizardPage page) const {
    if (HWND sheet = SheetWindow())
        PostMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(static_cast<int>(page)), 0);
}

// ---- terms of use

CRegisterPage1::CRegisterPage1(WizardRun& run) : CRegisterPage(IDD_REGISTER_TERMS, run) {}

bool CRegisterPage1::OnSetActive() {
    SetTopmost(run_.env.mainWindow, true);
    WizardFacts facts;
    facts.termsAccepted = IsChecked(hwnd(), IDC_TERMS_YES);
    SetWizardButtons(static_cast<DWORD>(WizardButtonsOnActivation(WizardPage::Terms, facts)));
    LoadTerms();
    return true;
}

void CRegisterPage1::LoadTerms() {
    SetControlText(hwnd(), IDC_TERMS_TEXT, "");
    const std::string path = JoinPath(JoinPath(run_.env.programDir, "Data"), run_.env.language().termsFile);
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        ShowSetupMessage(hwnd(), LoadTextUtf8(IDS_SETUP_FILE_NOT_FOUND) + path, MB_OK | MB_ICONERROR);
        return;
    }
    SetControlText(hwnd(), IDC_TERMS_TEXT, WithCrLf(Cp1252ToUtf8(*bytes)));
}

bool CRegisterPage1::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED || (id != IDC_TERMS_YES && id != IDC_TERMS_NO)) return false;
    SetWizardButtons(IsChecked(hwnd(), IDC_TERMS_YES) ? PSWIZB_NEXT : 0);
    return true;
}

int CRegisterPage1::OnWizardNext() {
    WizardFacts facts;
    facts.termsAccepted = IsChecked(hwnd(), IDC_TERMS_YES);
    const WizardPage next = NextWizardPage(WizardPage::Terms, WizardEvent::Next, facts);
    if (next == WizardPage::Terms) return -1;
    SetTopmost(run_.env.mainWindow, false);
    if (!countryFileFetched_) {
        WaitCursor wait;
        countryFileFetched_ = run_.env.services.DownloadCountryFile();
        // The language switch reloads the country list from the fresh file.
        if (countryFileFetched_) run_.env.setLanguage(run_.env.language().key);
    }
    return MoveTo(WizardPage::Terms, next);
}

// ---- account data

CRegisterPage2::CRegisterPage2(WizardRun& run) : CRegisterPage(IDD_REGISTER_ACCOUNT, run) {}

BOOL CRegisterPage2::OnInitDialog() {
    bold_.CreateFrom(hwnd(), 800);
    for (int id : {IDC_ACCOUNT_CAPTION, IDC_ACCOUNT_EXISTING, IDC_ACCOUNT_NEW}) bold_.ApplyTo(hwnd(), id);
    SetControlText(hwnd(), IDC_ACCOUNT_EXISTING,
                   ControlText(hwnd(), IDC_ACCOUNT_EXISTING) + " " +
                       FormatText(IDS_SETUP_SITE_IN_BRACKETS, run_.env.webServer));

    HWND combo = Item(IDC_ACCOUNT_COUNTRY);
    for (const CountryCode& row : run_.env.countries())
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(CountryDisplayName(row)).c_str()));

    const AccountForm& form = run_.account;
    SetChecked(hwnd(), IDC_ACCOUNT_NEW, form.mode == RegistrationMode::NewRegistration);
    SetChecked(hwnd(), IDC_ACCOUNT_EXISTING, form.mode == RegistrationMode::AlreadyRegistered);
    EnableControl(hwnd(), IDC_ACCOUNT_CONFIRM, ConfirmationEnabled(form.mode));
    return TRUE;
}

void CRegisterPage2::ReadFields() {
    AccountForm& form = run_.account;
    form.userName = ControlText(hwnd(), IDC_ACCOUNT_USER);
    form.password = ControlText(hwnd(), IDC_ACCOUNT_PASSWORD);
    form.confirmation = ControlText(hwnd(), IDC_ACCOUNT_CONFIRM);
    form.email = ControlText(hwnd(), IDC_ACCOUNT_EMAIL);
    form.mobile = ControlText(hwnd(), IDC_ACCOUNT_MOBILE);
    form.countryEntry = SelectedComboText(hwnd(), IDC_ACCOUNT_COUNTRY);
    form.mode = IsChecked(hwnd(), IDC_ACCOUNT_EXISTING) ? RegistrationMode::AlreadyRegistered
                                                        : RegistrationMode::NewRegistration;
}

void CRegisterPage2::UpdateButtons() { SetWizardButtons(static_cast<DWORD>(AccountPageButtons(run_.account))); }

std::string CRegisterPage2::NormalizedMobile(const std::string& text) const {
    return NormalizeAccountNumber(text, run_.env.countries(), run_.account.countryEntry);
}

bool CRegisterPage2::OnSetActive() {
    ReadFields();
    UpdateButtons();
    return true;
}

bool CRegisterPage2::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_ACCOUNT_USER:
    case IDC_ACCOUNT_PASSWORD:
    case IDC_ACCOUNT_EMAIL:
    case IDC_ACCOUNT_MOBILE:
        if (code == EN_CHANGE) {
            ReadFields();
            UpdateButtons();
            return true;
        }
        if (id == IDC_ACCOUNT_MOBILE && code == EN_KILLFOCUS) {
            ReadFields();
            const std::string normalized = NormalizedMobile(run_.account.mobile);
            if (normalized != run_.account.mobile) SetControlText(hwnd(), IDC_ACCOUNT_MOBILE, normalized);
            return true;
        }
        return false;
    case IDC_ACCOUNT_COUNTRY:
        if (code != CBN_SELCHANGE) return false;
        ReadFields();
        UpdateButtons();
        return true;
    case IDC_ACCOUNT_NEW:
    case IDC_ACCOUNT_EXISTING:
        if (code != BN_CLICKED) return false;
        ReadFields();
        EnableControl(hwnd(), IDC_ACCOUNT_CONFIRM, ConfirmationEnabled(run_.account.mode));
        return true;
    case IDC_ACCOUNT_PROXY:
        if (code != BN_CLICKED) return false;
        JumpTo(NextWizardPage(WizardPage::Account, WizardEvent::Proxy, {}));
        return true;
    default:
        return false;
    }
}

int CRegisterPage2::OnWizardNext() {
    ReadFields();
    AccountForm& form = run_.account;
    form.mobile = NormalizedMobile(form.mobile);
    SetControlText(hwnd(), IDC_ACCOUNT_MOBILE, form.mobile);
    ReadFields();  // the text change above re-read the form; keep it whole

    WizardFacts facts;
    facts.mode = form.mode;
    facts.accountComplete = IsAccountComplete(form);
    facts.passwordsMatch = form.password == form.confirmation;
    facts.passwordStorable = IsStorablePassword(form.password, ThroughAnsiCodePage);
    if (facts.accountComplete && form.mode == RegistrationMode::NewRegistration && !facts.passwordsMatch) {
        ShowSetupMessage(hwnd(), IDS_SETUP_PASSWORDS_DIFFER, MB_OK);
        return -1;
    }
    if (facts.accountComplete && !facts.passwordStorable) {
        ShowSetupMessage(hwnd(), IDS_PASSWORD_NOT_STORABLE, MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    run_.countryCode = CountryCodeFromEntry(form.countryEntry);
    return MoveTo(WizardPage::Account, NextWizardPage(WizardPage::Account, WizardEvent::Next, facts));
}

int CRegisterPage2::OnWizardBack() {
    return MoveTo(WizardPage::Account, NextWizardPage(WizardPage::Account, WizardEvent::Back, {}));
}

// ---- verification

CRegisterPage6::CRegisterPage6(WizardRun& run) : CRegisterPage(IDD_REGISTER_VERIFY, run) {}

BOOL CRegisterPage6::OnInitDialog() {
    bold_.CreateFrom(hwnd(), 800);
    bold_.ApplyTo(hwnd(), IDC_VERIFY_CAPTION);
    countryTemplate_ = ControlText(hwnd(), IDC_VERIFY_COUNTRY);
    numberTemplate_ = ControlText(hwnd(), IDC_VERIFY_NUMBER);
    return TRUE;
}

bool CRegisterPage6::OnSetActive() {
    SetControlText(hwnd(), IDC_VERIFY_COUNTRY, VerificationCountryLine(countryTemplate_, run_.account.countryEntry));
    SetControlText(hwnd(), IDC_VERIFY_NUMBER,
                   VerificationNumberLine(numberTemplate_, run_.countryCode, run_.account.mobile));
    return true;
}

int CRegisterPage6::OnWizardNext() {
    const AccountForm& form = run_.account;
    WizardFacts facts;
    facts.mode = form.mode;
    facts.registerResult = run_.env.services.RegisterAccount(static_cast<int>(form.mode), form.userName, form.password,
                                                             run_.countryCode, form.mobile, form.email);
    return MoveTo(WizardPage::Verification, NextWizardPage(WizardPage::Verification, WizardEvent::Next, facts));
}

int CRegisterPage6::OnWizardBack() {
    return MoveTo(WizardPage::Verification, NextWizardPage(WizardPage::Verification, WizardEvent::Back, {}));
}

// ---- PIN

CRegisterPage3::CRegisterPage3(WizardRun& run) : CRegisterPage(IDD_REGISTER_PIN, run) {}

bool CRegisterPage3::OnSetActive() {
    SetWizardButtons(static_cast<DWORD>(WizardButtonsOnActivation(WizardPage::Pin, {})));
    return true;
}

bool CRegisterPage3::OnCommand(int id, int code, HWND) {
    if (id != IDC_PIN_REQUEST || code != BN_CLICKED) return false;
    const AccountForm& form = run_.account;
    // A new PIN is a new registration request for the same data; errors have been shown.
    run_.env.services.RegisterAccount(0, form.userName, form.password, run_.countryCode, form.mobile, form.email);
    return true;
}

int CRegisterPage3::OnWizardNext() {
    WizardFacts facts;
    facts.pinAccepted = run_.env.services.ActivateAccount(run_.account.userName, ControlText(hwnd(), IDC_PIN_EDIT));
    return MoveTo(WizardPage::Pin, NextWizardPage(WizardPage::Pin, WizardEvent::Next, facts));
}

int CRegisterPage3::OnWizardBack() { return -1; }

// ---- finish

CRegisterPage4::CRegisterPage4(WizardRun& run) : CRegisterPage(IDD_REGISTER_FINISH, run) {}

BOOL CRegisterPage4::OnInitDialog() {
    SetControlText(hwnd(), IDC_FINISH_PROFILE, FormatText(IDS_SETUP_FINISH_PROFILE, run_.env.webServer));
    return TRUE;
}

bool CRegisterPage4::OnSetActive() {
    SetWizardButtons(static_cast<DWORD>(WizardButtonsOnActivation(WizardPage::Finish, {})));
    return true;
}

int CRegisterPage4::OnWizardBack() { return -1; }

bool CRegisterPage4::OnWizardFinish() {
    Settings& settings = run_.env.settings;
    const AccountForm& form = run_.account;
    settings.UserName = form.userName;
    settings.UserLandCode = run_.countryCode;
    settings.UserPassword = form.password;
    settings.UserMobile = form.mobile;
    settings.UserEMail = form.email;
    run_.env.saveSettings(SettingsGroup::UserData);
    return true;
}

// ---- proxy

CRegisterPage5::CRegisterPage5(WizardRun& run) : CRegisterPage(IDD_REGISTER_PROXY, run) {}

bool CRegisterPage5::OnSetActive() {
    const Settings& settings = run_.env.settings;
    SetChecked(hwnd(), IDC_PROXY_USE, settings.UseProxy != 0);
    SetControlText(hwnd(), IDC_PROXY_ADDRESS, settings.ProxyAddress);
    SetControlText(hwnd(), IDC_PROXY_PORT, std::to_string(settings.ProxyPort));
    EnableAddressAndPort();
    // Next saves the proxy settings, so it must be there even while the account data is
    // incomplete (the account page may have left Back alone).
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    return true;
}

void CRegisterPage5::EnableAddressAndPort() {
    const bool use = IsChecked(hwnd(), IDC_PROXY_USE);
    EnableControl(hwnd(), IDC_PROXY_ADDRESS, use);
    EnableControl(hwnd(), IDC_PROXY_PORT, use);
}

bool CRegisterPage5::OnCommand(int id, int code, HWND) {
    if (id != IDC_PROXY_USE || code != BN_CLICKED) return false;
    EnableAddressAndPort();
    return true;
}

int CRegisterPage5::OnWizardNext() {
    const std::optional<std::int32_t> port = ParseIntegerField(ControlText(hwnd(), IDC_PROXY_PORT));
    WizardFacts facts;
    facts.proxyPortValid = port.has_value();
    if (!port) {
        ShowSetupMessage(hwnd(), IDS_SETUP_ENTER_INTEGER, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(IDC_PROXY_PORT));
        SendMessageW(Item(IDC_PROXY_PORT), EM_SETSEL, 0, -1);
        return -1;
    }
    Settings& settings = run_.env.settings;
    settings.UseProxy = IsChecked(hwnd(), IDC_PROXY_USE) ? 1 : 0;
    settings.ProxyAddress = ControlText(hwnd(), IDC_PROXY_ADDRESS);
    settings.ProxyPort = *port;
    run_.env.saveSettings(SettingsGroup::Proxy);
    return MoveTo(WizardPage::Proxy, NextWizardPage(WizardPage::Proxy, WizardEvent::Next, facts));
}

int CRegisterPage5::OnWizardBack() {
    return MoveTo(WizardPage::Proxy, NextWizardPage(WizardPage::Proxy, WizardEvent::Back, {}));
}

// ---- the sheet

bool RunRegisterWizard(SetupEnvironment& environment, HWND owner) {
    WizardRun run(environment);
    CRegisterPage1 terms(run);
    CRegisterPage2 account(run);
    CRegisterPage6 verification(run);
    CRegisterPage3 pin(run);
    CRegisterPage4 finish(run);
    CRegisterPage5 proxy(run);
    CPropertySheet sheet(LoadText(IDS_SETUP_WIZARD_TITLE), GetModuleHandleW(nullptr), ResourceLanguage());
    sheet.SetWizardMode(true);
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&terms, &account, &verification, &pin, &finish,
                                                                     &proxy})
        sheet.AddPage(*page);
    const INT_PTR result = sheet.DoModal(owner);
    // However the wizard ended, the main window leaves the topmost band again.
    SetTopmost(environment.mainWindow, false);
    return result == 1;
}

}  // namespace pagelark

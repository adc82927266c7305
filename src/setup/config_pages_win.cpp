#include "setup/config_pages_win.h"

#include <commctrl.h>

#include "common/ansi_code_page_win.h"
#include "common/wide_string_win.h"
#include "model/password.h"
#include "resource_ids.h"
#include "ui/resources_win.h"
#include "ui/wait_cursor_win.h"

namespace pagelark {
namespace {

// Posted by a page to itself after its first fill: the sheet only knows the page once its
// creation has returned, so marking it changed during WM_INITDIALOG would be lost.
constexpr UINT kMarkModifiedMessage = WM_APP + 61;

bool IsCheckBox(HWND control) {
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_CHECKBOX;
}

std::string SheetTitle() {
    const std::string text = LoadTextUtf8(ID_OPTIONS);
    return text.substr(0, text.find('\n'));
}

}  // namespace

// ---- common page behaviour

BOOL COptionsPage::OnInitDialog() {
    run_.shown.MarkShown(which_);
    bold_.CreateFrom(hwnd(), FW_BOLD);
    bold_.ApplyTo(hwnd(), IDC_SECTION_CAPTION);
    filling_ = true;
    const bool filledText = Fill();
    filling_ = false;
    if (filledText) PostMessageW(hwnd(), kMarkModifiedMessage, 0, 0);
    return TRUE;
}

bool COptionsPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == kMarkModifiedMessage) {
        SetModified(true);
        result = TRUE;
        return true;
    }
    return OnPageMessage(message, wParam, lParam, result);
}

bool COptionsPage::OnCommand(int id, int code, HWND control) {
    if (!filling_) {
        const bool change = code == EN_CHANGE || code == CBN_SELCHANGE || (code == BN_CLICKED && IsCheckBox(control));
        if (change) SetModified(true);
    }
    return OnControl(id, code);
}

bool COptionsPage::OnApply() {
    if (!run_.shown.ShouldApply(which_)) return true;
    if (!Apply()) return false;
    if (const std::optional<SettingsGroup> group = GroupSavedBy(which_)) run_.env.saveSettings(*group);
    AfterSave();
    return true;
}

std::optional<std::int32_t> COptionsPage::IntegerField(int id) {
    const std::optional<std::int32_t> value = ParseIntegerField(ControlText(hwnd(), id));
    if (!value) {
        ShowSetupMessage(hwnd(), IDS_SETUP_ENTER_INTEGER, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(id));
        SendMessageW(Item(id), EM_SETSEL, 0, -1);
    }
    return value;
}

// ---- My Telvoro

CPageConfigUser::CPageConfigUser(OptionsRun& run) : COptionsPage(IDD_CONFIG_USER, OptionsPage::User, run) {}

bool CPageConfigUser::Fill() {
    const Settings& settings = run_.env.settings;
    SetControlText(hwnd(), IDC_USER_SITE_LABEL, FormatText(IDS_SETUP_MY_TELVORO_AT, run_.env.webServer));
    linkFont_.CreateFrom(hwnd(), FW_NORMAL, true);
    linkFont_.ApplyTo(hwnd(), IDC_USER_LINK_DATA);
    linkFont_.ApplyTo(hwnd(), IDC_USER_LINK_PAYMENT);
    // Built once: they keep the user name stored now, also after the field is edited.
    userDataLink_ = run_.env.services.MyTelvoroLink(false);
    paymentLink_ = run_.env.services.MyTelvoroLink(true);

    SetControlText(hwnd(), IDC_USER_MOBILE, settings.UserLandCode + settings.UserMobile);
    SetControlText(hwnd(), IDC_USER_EMAIL, settings.UserEMail);
    SetControlText(hwnd(), IDC_USER_NAME, settings.UserName);
    SetControlText(hwnd(), IDC_USER_PASSWORD, settings.UserPassword);
    run_.userData.OnInitialFill(settings.UserName, settings.UserPassword);
    return !settings.UserLandCode.empty() || !settings.UserMobile.empty() || !settings.UserEMail.empty() ||
           !settings.UserName.empty() || !settings.UserPassword.empty();
}

bool CPageConfigUser::Apply() {
    const std::string password = ControlText(hwnd(), IDC_USER_PASSWORD);
    if (!IsStorablePassword(password, ThroughAnsiCodePage)) {
        ShowSetupMessage(hwnd(), IDS_PASSWORD_NOT_STORABLE, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    run_.env.settings.UserName = ControlText(hwnd(), IDC_USER_NAME);
    run_.env.settings.UserPassword = password;
    return true;
}

bool CPageConfigUser::IsLink(HWND control) const {
    return control && (control == Item(IDC_USER_LINK_DATA) || control == Item(IDC_USER_LINK_PAYMENT));
}

bool CPageConfigUser::OnControl(int id, int code) {
    if ((id == IDC_USER_NAME || id == IDC_USER_PASSWORD) && code == EN_CHANGE) {
        if (!filling_) run_.userData.OnEdit();
        return true;
    }
    if ((id == IDC_USER_LINK_DATA || id == IDC_USER_LINK_PAYMENT) && code == STN_CLICKED) {
        OpenInBrowser(hwnd(), id == IDC_USER_LINK_DATA ? userDataLink_ : paymentLink_);
        return true;
    }
    return false;
}

bool CPageConfigUser::OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_CTLCOLORSTATIC && IsLink(reinterpret_cast<HWND>(lParam))) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, TRANSPARENT);
        // The page's own background shows through (themed pages are not button-face coloured).
        result = reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        return true;
    }
    if (message == WM_SETCURSOR && IsLink(reinterpret_cast<HWND>(wParam))) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    return false;
}

// ---- Global

CPageConfigGlobal::CPageConfigGlobal(OptionsRun& run) : COptionsPage(IDD_CONFIG_GLOBAL, OptionsPage::Global, run) {}

bool CPageConfigGlobal::Fill() {
    const Settings& settings = run_.env.settings;
    HWND combo = Item(IDC_GLOBAL_LANGUAGE);
    flags_.reset(ImageList_LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_LANGUAGE_FLAGS), 16, 0,
                                      RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (flags_) SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(flags_.get()));
    const auto& entries = LanguageEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        std::wstring text = Widen(entries[i].text);
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
        item.iItem = static_cast<INT_PTR>(i);
        item.pszText = text.data();
        item.iImage = entries[i].image;
        item.iSelectedImage = entries[i].image;
        item.lParam = entries[i].key;
        SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    const std::optional<int> selected = LanguageEntryIndex(settings.Language);
    SendMessageW(combo, CB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);

    SetControlText(hwnd(), IDC_GLOBAL_COPY_TO, settings.CopyToEMail);
    SetChecked(hwnd(), IDC_GLOBAL_AUTORUN, settings.AutoRun != 0);
    SetChecked(hwnd(), IDC_GLOBAL_CONFIRM, settings.SendConfirmation != 0);
    SetChecked(hwnd(), IDC_GLOBAL_TRAY_ICON, settings.ShowTaskbarIcon != 0);
    SetControlText(hwnd(), IDC_GLOBAL_MIN_CREDITS, std::to_string(settings.MinSMSCredits));
    SetChecked(hwnd(), IDC_GLOBAL_CHECK_NUMBERS, settings.CheckNumbers != 0);
    SetChecked(hwnd(), IDC_GLOBAL_SAVE_CHANGED, settings.SaveChangedNumbers != 0);
    return true;  // the credits field is never empty
}

bool CPageConfigGlobal::Validate() { return IntegerField(IDC_GLOBAL_MIN_CREDITS).has_value(); }

bool CPageConfigGlobal::Apply() {
    const std::optional<std::int32_t> minCredits = IntegerField(IDC_GLOBAL_MIN_CREDITS);
    if (!minCredits) return false;
    Settings& settings = run_.env.settings;
    HWND combo = Item(IDC_GLOBAL_LANGUAGE);
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_LPARAM;
        item.iItem = selected;
        if (SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
            settings.Language = static_cast<std::int32_t>(item.lParam);
    }
    settings.AutoRun = IsChecked(hwnd(), IDC_GLOBAL_AUTORUN) ? 1 : 0;
    settings.SendConfirmation = IsChecked(hwnd(), IDC_GLOBAL_CONFIRM) ? 1 : 0;
    settings.MinSMSCredits = *minCredits;
    settings.CheckNumbers = IsChecked(hwnd(), IDC_GLOBAL_CHECK_NUMBERS) ? 1 : 0;
    settings.SaveChangedNumbers = IsChecked(hwnd(), IDC_GLOBAL_SAVE_CHANGED) ? 1 : 0;
    settings.CopyToEMail = ControlText(hwnd(), IDC_GLOBAL_COPY_TO);
    settings.ShowTaskbarIcon = IsChecked(hwnd(), IDC_GLOBAL_TRAY_ICON) ? 1 : 0;
    return true;
}

void CPageConfigGlobal::AfterSave() {
    const Settings& settings = run_.env.settings;
    run_.env.showTrayIcon(settings.ShowTaskbarIcon != 0);
    run_.env.setLanguage(settings.Language);
    InvalidateRect(hwnd(), nullptr, TRUE);
    UpdateWindow(hwnd());
}

// ---- Updates

CPageConfigUpdate::CPageConfigUpdate(OptionsRun& run) : COptionsPage(IDD_CONFIG_UPDATE, OptionsPage::Updates, run) {}

bool CPageConfigUpdate::Fill() {
    SetChecked(hwnd(), IDC_UPDATE_DOWNLOAD, run_.env.settings.UpdateAutoDownload != 0);
    SetChecked(hwnd(), IDC_UPDATE_INSTALL, run_.env.settings.UpdateAutoInstall != 0);
    return false;
}

bool CPageConfigUpdate::Apply() {
    run_.env.settings.UpdateAutoDownload = IsChecked(hwnd(), IDC_UPDATE_DOWNLOAD) ? 1 : 0;
    run_.env.settings.UpdateAutoInstall = IsChecked(hwnd(), IDC_UPDATE_INSTALL) ? 1 : 0;
    return true;
}

bool CPageConfigUpdate::OnControl(int id, int code) {
    if (id != IDC_UPDATE_CHECK_NOW || code != BN_CLICKED) return false;
    // Out of the topmost band, so that message boxes and the update window come to the front.
    SetTopmost(run_.env.mainWindow, false);
    {
        WaitCursor wait;
        run_.env.services.RequestStatus();
    }
    if (run_.env.services.CheckForUpdate(true)) {
        if (HWND sheet = SheetWindow()) PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
    return true;
}

// ---- E-Mail Integration

CPageConfigEMail::CPageConfigEMail(OptionsRun& run) : COptionsPage(IDD_CONFIG_EMAIL, OptionsPage::EMail, run) {}

bool CPageConfigEMail::Fill() {
    SetChecked(hwnd(), IDC_EMAIL_OUTLOOK, run_.env.settings.IntegrateOutlook != 0);
    SetChecked(hwnd(), IDC_EMAIL_OE, run_.env.settings.IntegrateOE != 0);
    SetChecked(hwnd(), IDC_EMAIL_SAVE_SENT, run_.env.settings.SaveSentMessages != 0);
    return false;
}

bool CPageConfigEMail::Apply() {
    run_.env.settings.IntegrateOutlook = IsChecked(hwnd(), IDC_EMAIL_OUTLOOK) ? 1 : 0;
    run_.env.settings.IntegrateOE = IsChecked(hwnd(), IDC_EMAIL_OE) ? 1 : 0;
    run_.env.settings.SaveSentMessages = IsChecked(hwnd(), IDC_EMAIL_SAVE_SENT) ? 1 : 0;
    return true;
}

void CPageConfigEMail::AfterSave() {
    // Every apply, also when nothing changed: a fresh start re-reads the address books.
    if (run_.env.settings.IntegrateOE)
        run_.env.services.StartMailIntegration();
    else
        run_.env.services.StopMailIntegration();
}

// ---- Status

CPageConfigLog::CPageConfigLog(OptionsRun& run) : COptionsPage(IDD_CONFIG_LOG, OptionsPage::Log, run) {}

bool CPageConfigLog::Fill() {
    HWND list = Item(IDC_LOG_LIST);
    for (const std::string& line : run_.env.services.RequestLogLines())
        SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 500, 0);
    return false;
}

bool CPageConfigLog::OnControl(int id, int code) {
    if (id != IDC_LOG_CLEAR || code != BN_CLICKED) return false;
    if (ShowSetupMessage(hwnd(), IDS_SETUP_CLEAR_STATUS_ASK, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return true;
    run_.env.services.ClearRequestLog();
    SendMessageW(Item(IDC_LOG_LIST), LB_RESETCONTENT, 0, 0);
    return true;
}

// ---- Proxy

CPageConfigProxy::CPageConfigProxy(OptionsRun& run) : COptionsPage(IDD_CONFIG_PROXY, OptionsPage::Proxy, run) {}

bool CPageConfigProxy::Fill() {
    const Settings& settings = run_.env.settings;
    SetChecked(hwnd(), IDC_PROXY_USE, settings.UseProxy != 0);
    SetControlText(hwnd(), IDC_PROXY_ADDRESS, settings.ProxyAddress);
    SetControlText(hwnd(), IDC_PROXY_PORT, std::to_string(settings.ProxyPort));
    EnableAddressAndPort();
    return true;  // the port field is never empty
}

void CPageConfigProxy::EnableAddressAndPort() {
    const bool use = IsChecked(hwnd(), IDC_PROXY_USE);
    EnableControl(hwnd(), IDC_PROXY_ADDRESS, use);
    EnableControl(hwnd(), IDC_PROXY_PORT, use);
}

bool CPageConfigProxy::OnControl(int id, int code) {
    if (id != IDC_PROXY_USE || code != BN_CLICKED) return false;
    EnableAddressAndPort();
    return true;
}

bool CPageConfigProxy::Validate() { return IntegerField(IDC_PROXY_PORT).has_value(); }

bool CPageConfigProxy::Apply() {
    const std::optional<std::int32_t> port = IntegerField(IDC_PROXY_PORT);
    if (!port) return false;
    Settings& settings = run_.env.settings;
    settings.UseProxy = IsChecked(hwnd(), IDC_PROXY_USE) ? 1 : 0;
    settings.ProxyAddress = ControlText(hwnd(), IDC_PROXY_ADDRESS);
    settings.ProxyPort = *port;
    return true;
}

// ---- the sheet

void RunConfigSheet(SetupEnvironment& environment, HWND owner, const CreditsDisplay& display) {
    OptionsRun run(environment);
    CPageConfigUser user(run);
    CPageConfigGlobal global(run);
    CPageConfigUpdate updates(run);
    CPageConfigEMail email(run);
    CPageConfigLog log(run);
    CPageConfigProxy proxy(run);
    CPropertySheet sheet(Widen(SheetTitle()), GetModuleHandleW(nullptr), ResourceLanguage());
    sheet.SetApplyButton(true);
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&user, &global, &updates, &email, &log, &proxy})
        sheet.AddPage(*page);
    const bool ok = sheet.DoModal(owner) == 1;
    if (!ShouldRefreshCredits(ok, run.userData)) return;

    if (display.showUpdating) display.showUpdating();
    int result;
    {
        WaitCursor wait;
        result = environment.services.RequestStatus();
    }
    if (display.refresh) display.refresh();
    if (result != 0) ShowSetupMessage(owner, environment.services.LastError(), MB_OK | MB_ICONERROR);
}

}  // namespace pagelark

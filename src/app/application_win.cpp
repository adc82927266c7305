#include "app/application_win.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <objbase.h>
#include <ole2.h>

#include <clocale>

#include "app/about_dialog_win.h"
#include "app/command_line.h"
#include "app/installation_store.h"
#include "app/message_window_context_win.h"
#include "app/old_addin_cleanup.h"
#include "app/registry_store_win.h"
#include "app/settings_store.h"
#include "app/setup_entry_win.h"
#include "app/version_resource_win.h"
#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "service/service_client_factory_win.h"
#include "ui/command_ids.h"
#include "ui/resources_win.h"
#include "mailclients/address_books_win.h"
#include "mailclients/mail_bridge_win.h"
#include "mailclients/offline_mail_bridge.h"
#include "window/main_frame_win.h"

namespace pagelark {
namespace {

constexpr UINT kAutoStartDelayMs = 10000;
constexpr UINT kSecondStartTimeoutMs = 60000;
constexpr std::string_view kMailClientsKey = "Software\\Clients\\Mail";

std::string ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, length < MAX_PATH ? length : 0);
    const size_t slash = full.find_last_of(L'\\');
    return Narrow(slash == std::wstring::npos ? full : full.substr(0, slash));
}

}  // namespace

Application::Application()
    : registry_(std::make_unique<WindowsRegistryStore>()),
      windowContext_(std::make_unique<ApplicationWindowContext>(*this)) {
    // Exists for the whole run, so no caller ever finds it missing; it reads the members it is
    // given only when a request is made.
    service_ = CreateWindowsServiceClient(ServiceContext{
        settings_, installation_, language_, versionText_, [this](SettingsGroup group) { SaveSettings(group); },
        [this](std::string_view number, Settings& settings) { return SplitAccountNumber(countryList_, number, settings); }});
}

Application::~Application() {
    mainWindow_.reset();   // its end hides the icon
    trayIcon_.Hide();
    // After the windows: MAPI ends, the contact lists are freed and Mapi.log closes.
    if (addressBooks_) addressBooks_->Shutdown();
    if (oleInitialized_) OleUninitialize();
    if (comInitialized_) CoUninitialize();
}

bool Application::Startup(std::string_view commandLine) {
    // The order below is what other programs and the user see; keep it. COM and OLE come first:
    // the mail-client bridge and the address books need them on this thread, and without OLE the
    // program cannot work at all, so it says so and ends before anything else happens. (The
    // common controls are registered by the first window that holds one: EnsureCommonControls.)
    comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
    if (FAILED(OleInitialize(nullptr))) {
        ShowTextMessage(nullptr, IDS_OLE_INIT_FAILED, MB_OK | MB_ICONERROR);
        return false;
    }
    oleInitialized_ = true;
    // Settings first: every step after this one reads them.
    LoadSettings(*registry_, settings_, GetUserDefaultLangID());

    // One copy per desktop: the running one opens the window the user asked for; this one ends.
    if (HWND running = FindWindowW(nullptr, kMainWindowTitle)) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(running, WM_COMMAND, MAKEWPARAM(command::kNew, 0), 0, SMTO_NORMAL,
                            kSecondStartTimeoutMs, &ignored);
        return false;
    }

    // An older add-in registration under our name would load the wrong add-in into Outlook.
    RemoveOldAddinRegistration(*registry_);

    // Started at logon: honour the user's choice, and let the shell and the mail client start first.
    if (HasSwitch(commandLine, kAutoSwitch)) {
        if (settings_.AutoRun == 0) return false;
        Sleep(kAutoStartDelayMs);
    }

    // Everything below reads files beside the program and texts in the user's language.
    programDir_ = ExecutableFolder();
    SetLanguage(settings_.Language);
    checkList_ = LoadCheckList(programDir_);

    // The service hosts come from the installation values; the bridge and the request log must
    // exist before any window can send or read an item.
    installation_ = ReadInstallationValues(*registry_);
    addressBooks_ = std::make_unique<AddressBooks>();
    // The Outlook Express button asks for a window like any other program: by the open request.
    addressBooks_->SetOutlookExpressOpener([this] {
        if (mainWindow_ && mainWindow_->hwnd())
            PostMessageW(mainWindow_->hwnd(), kOpenRequestMessage, static_cast<WPARAM>(HostClient::OutlookExpress), 0);
    });
    // Start-up goes on either way; a missing Outlook Express connector is only logged.
    addressBooks_->Init(AddressBookOptionsOf(settings_), Widen(programDir_));
    mailBridge_ = CreateMailBridge(
        settings_, [this](const std::string& line) { addressBooks_->LogLine(line); },
        [this](const MessageRecord& record, FolderKind kind, const std::string& sender) {
            return addressBooks_->FileOutlookExpressMessage(record, kind, sender);
        });
    service_->OpenRequestLog(programDir_);   // start-up goes on without it

    // Read once: the about box and the service requests both show it.
    versionText_ = ReadVersionText();

    // The hidden main window owns the tray icon, the timers and the messages other programs send.
    mainWindow_ = std::make_unique<CHiddenMainWindow>(*this);
    if (!mainWindow_->Create()) return false;
    HWND main = mainWindow_->hwnd();

    // The tray icon talks to the hidden window, so it comes right after it.
    if (!trayIcon_.Create(main, kTrayCallbackMessage, IDR_MAINFRAME, LoadText(IDS_APP_TITLE), IDR_TRAY_MENU,
                          command::kNew, settings_.ShowTaskbarIcon != 0))
        return false;

    // Only now does the title appear that other programs look for, so they never find a window
    // that cannot answer yet. It is never shown.
    SetWindowTextW(main, kMainWindowTitle);
    ShowWindow(main, SW_HIDE);
    UpdateWindow(main);
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // The address books change while we run; reload them now and then.
    SetTimer(main, kReloadTimerId, kReloadPeriodMs, nullptr);

    // Set-up asked for on the command line runs once the message loop does.
    if (HasSwitch(commandLine, kConfigSwitch)) PostMessageW(main, WM_COMMAND, MAKEWPARAM(command::kSetup, 0), 0);
    return true;
}

int Application::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CMainFrame::PreTranslate(msg)) continue;   // message windows' keys
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

HWND Application::mainWindow() const { return mainWindow_ ? mainWindow_->hwnd() : nullptr; }

void Application::SaveSettings(SettingsGroup group) { pagelark::SaveSettings(*registry_, settings_, group); }

void Application::SetLanguage(int key) {
    language_ = LanguageForKey(key);
    countryList_ = LoadCountryList(programDir_, language_.countryFile);
    helpPath_ = HelpFilePath(programDir_, language_.helpFile);
    SetThreadLocale(language_.locale);
    std::setlocale(LC_ALL, language_.localeName.c_str());
    SetResourceLanguage(language_.langId);
}

HostClient Application::DefaultMailClientHost() const {
    auto client = registry_->ReadString(RegistryRoot::LocalMachine, kMailClientsKey, "");
    return client && client->find("Microsoft Outlook") != std::string::npos ? HostClient::Outlook
                                                                            : HostClient::OutlookExpress;
}

bool Application::WizardDueInstead() {
    HWND main = mainWindow();
    if (!settings_.UserName.empty() || !main) return false;
    // Pressing New again while the wizard is on its way or open does nothing.
    if (!wizardPending_) {
        wizardPending_ = true;
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(command::kSetup, 0), 0);
    }
    return true;
}

CMainFrame* Application::OpenMessageWindow(HostClient host, const std::string* entryId) {
    nextWindowHost_ = host;
    CMainFrame* frame = CMainFrame::Create(*windowContext_, host);
    if (!frame) return nullptr;
    if (entryId) frame->LoadMessageItem(*entryId);   // before the window is shown
    messageWindows_.push_back(frame->hwnd());
    ShowWindow(frame->hwnd(), SW_SHOW);
    PostMessageW(frame->hwnd(), kStartMessage, 0, 0);
    return frame;
}

void Application::OnNewMessage() {
    if (WizardDueInstead()) return;
    OpenMessageWindow(DefaultMailClientHost());
}

void Application::OnOpenRequest(int host) {
    if (WizardDueInstead()) return;
    HostClient client = DefaultMailClientHost();
    if (host == static_cast<int>(HostClient::Outlook)) client = HostClient::Outlook;
    else if (host == static_cast<int>(HostClient::OutlookExpress)) client = HostClient::OutlookExpress;
    OpenMessageWindow(client);
}

void Application::OnOpenItem(const std::string& entryId) {
    if (WizardDueInstead()) return;
    OpenMessageWindow(HostClient::Outlook, &entryId);
}

void Application::OnSetupCommand(HWND owner) {
    OutputDebugStringW(L"Pagelark: setup wizard\n");
    RunSetupWizard(*this, owner);
    wizardPending_ = false;
}

void Application::OnOptions(HWND owner, const CreditsDisplay& display) { RunOptionsSheet(*this, owner, display); }

void Application::ShowAbout(HWND owner) {
    CAboutDlg about(versionText_);
    about.ShowModal(owner);
}

void Application::ShowHelp() {
    // A missing file or viewer is reported by the viewer itself.
    HtmlHelpW(GetDesktopWindow(), Widen(helpPath_).c_str(), HH_DISPLAY_TOPIC, 0);
}

void Application::HideIcon() {
    settings_.ShowTaskbarIcon = 0;
    SaveSettings(SettingsGroup::Global);
    trayIcon_.Hide();
}

void Application::QuitForUpdate() {
    exitingForUpdate_ = true;
    if (HWND main = mainWindow()) PostMessageW(main, WM_COMMAND, MAKEWPARAM(command::kExit, 0), 0);
}

void Application::StartMailIntegration(HWND owner) {
    if (addressBooks_) addressBooks_->Init(AddressBookOptionsOf(settings_), Widen(programDir_), owner, true);
}

void Application::StopMailIntegration() {
    if (addressBooks_) addressBooks_->StopMailIntegration(AddressBookOptionsOf(settings_));
}

void Application::ReloadAddressBooks() {
    if (addressBooks_) addressBooks_->ReloadAll(AddressBookOptionsOf(settings_));
}

bool Application::CloseMessageWindows() {
    // Handles are never removed from the list; one may by now belong to some other window,
    // so only windows of this thread are asked.
    auto ours = [](HWND window) {
        return IsWindow(window) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
    };
    for (HWND window : messageWindows_)
        if (ours(window)) SendMessageW(window, WM_CLOSE, 0, 0);
    for (HWND window : messageWindows_)
        if (ours(window)) return false;
    return true;
}

void Application::OnMainWindowDestroyed() {
    trayIcon_.Hide();
    PostQuitMessage(0);
}

}  // namespace pagelark

#pragma once
// The application object: owns everything that lives for the whole run (settings, language,
// dialling-code lists, installation values, the hidden main window, the tray icon, the list of
// message windows and the context they are built with) and carries out start-up, the lifetime
// commands and the end of the program.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/installation.h"
#include "model/language.h"
#include "app/hidden_main_window_win.h"
#include "app/registry_store.h"
#include "model/settings.h"
#include "model/contact.h"
#include "numbers/dialling_codes.h"
#include "service/service_client.h"
#include "setup/config_pages_win.h"
#include "ui/tray_icon_win.h"

namespace pagelark {

class ApplicationWindowContext;
class CMainFrame;
class OfflineMailBridge;
class AddressBooks;

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up in its fixed order. False: end the process now (nothing to clean up but COM).
    bool Startup(std::string_view commandLine);
    // The message loop; returns the process exit code.
    int Run();

    // --- owned state, read (and for the settings, assigned) directly by every subsystem ---
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    void SaveSettings(SettingsGroup group);
    RegistryStore& registry() { return *registry_; }
    const LanguageInfo& language() const { return language_; }
    const CountryList& countryList() const { return countryList_; }
    const CountryList& checkList() const { return checkList_; }
    const InstallationValues& installation() const { return installation_; }
    const std::string& programDir() const { return programDir_; }
    const std::string& versionText() const { return versionText_; }
    const std::string& helpPath() const { return helpPath_; }
    HWND mainWindow() const;
    TrayIcon& trayIcon() { return trayIcon_; }
    const std::vector<HWND>& messageWindows() const { return messageWindows_; }
    bool exitingForUpdate() const { return exitingForUpdate_; }
    // The host of the message window being constructed right now.
    HostClient nextWindowHost() const { return nextWindowHost_; }
    // The service client; its request log is opened at start-up.
    ServiceClient& service() { return *service_; }
    // The mail-client bridge with the contact lists; exists from start-up step 10 on.
    OfflineMailBridge& mailBridge() { return *mailBridge_; }
    // The address books with the contact lists of both sources and Mapi.log; from start-up step 10 on.
    AddressBooks& addressBooks() { return *addressBooks_; }

    // Switches the process to the language of `key` (English for unknown keys): country list,
    // help path, thread locale, C runtime locale and the language resources are taken from.
    void SetLanguage(int key);

    // --- requests and commands ---
    // "New" (ID_NEW): a message window for the default mail client, or the setup wizard.
    void OnNewMessage();
    // Open request from another program (WM_USER + 1): host 0 means the default mail client.
    void OnOpenRequest(int host);
    // Open item (WM_USER + 4): a window for an Outlook item of our message class.
    void OnOpenItem(const std::string& entryId);
    // The setup command (ID_SETUP): runs the wizard and clears the pending flag however it ends.
    void OnSetupCommand(HWND owner);
    // The options sheet; `display` is the credit display of the message window that opened it.
    void OnOptions(HWND owner, const CreditsDisplay& display = {});
    void ShowAbout(HWND owner);
    void ShowHelp();
    void HideIcon();
    // Sets the exiting-for-update flag and asks the main window to exit.
    void QuitForUpdate();
    // Timer 100: starts the background reload of the address books.
    void ReloadAddressBooks();
    // The options' e-mail page applied: Outlook Express integrated starts the mail-client
    // integration again (a failure is shown over `owner`), otherwise it is stopped.
    void StartMailIntegration(HWND owner);
    void StopMailIntegration();
    // Sends a close request to every listed message window that still exists; true when none
    // of them is left afterwards.
    bool CloseMessageWindows();
    // The main window is gone: remove the icon and leave the message loop.
    void OnMainWindowDestroyed();

private:
    // True when no account is set up and the wizard was posted (or is already due).
    bool WizardDueInstead();
    CMainFrame* OpenMessageWindow(HostClient host, const std::string* entryId = nullptr);
    // From the default mail client: Outlook when its name says so, else Outlook Express.
    HostClient DefaultMailClientHost() const;

    std::unique_ptr<RegistryStore> registry_;
    Settings settings_;
    LanguageInfo language_;
    CountryList countryList_;
    CountryList checkList_;
    InstallationValues installation_;
    std::string programDir_;
    std::string versionText_;
    std::unique_ptr<ServiceClient> service_;
    std::unique_ptr<AddressBooks> addressBooks_;
    std::unique_ptr<OfflineMailBridge> mailBridge_;
    std::string helpPath_;
    std::unique_ptr<CHiddenMainWindow> mainWindow_;
    std::unique_ptr<ApplicationWindowContext> windowContext_;
    TrayIcon trayIcon_;
    std::vector<HWND> messageWindows_;  // only appended; stale handles are skipped
    HostClient nextWindowHost_ = HostClient::Outlook;
    bool wizardPending_ = false;
    bool exitingForUpdate_ = false;
    bool comInitialized_ = false;
    bool oleInitialized_ = false;
};

}  // namespace pagelark

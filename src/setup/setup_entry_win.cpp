#include "setup/setup_entry_win.h"

#include "app/application_win.h"
#include "setup/config_pages_win.h"
#include "setup/register_pages_win.h"
#include "setup/setup_services_win.h"
#include "ui/resources_win.h"
#include "window/main_frame_win.h"

namespace pagelark {
namespace {

constexpr int kStatusBarId = 59393;       // the message window's status bar
constexpr int kCreditsPaneId = 1029;      // its credits pane
constexpr UINT kUpdatingCreditsText = 16783;

ServiceClient& ServiceOf(Application& app) { return app.service(); }

SetupServiceHooks HooksOf(Application& app) {
    SetupServiceHooks hooks;
    // Starting the integration reads the address books again; there is nothing to stop yet.
    hooks.startMailIntegration = [&app] { app.ReloadAddressBooks(); };
    hooks.stopMailIntegration = [] {};
    return hooks;
}

SetupEnvironment EnvironmentOf(Application& app, SetupServices& services) {
    return SetupEnvironment{
        app.settings(),
        services,
        [&app](SettingsGroup group) { app.SaveSettings(group); },
        [&app]() -> const CountryList& { return app.countryList(); },
        [&app]() -> const LanguageInfo& { return app.language(); },
        [&app](int key) { app.SetLanguage(key); },
        [&app](bool shown) {
            if (shown)
                app.trayIcon().Show();
            else
                app.trayIcon().Hide();
        },
        app.programDir(),
        app.installation().webServer,
        app.mainWindow(),
    };
}

// The message window that opened the options sheet; nullptr for the hidden main window (the
// notification icon's menu), which has no credit display.
CMainFrame* MessageWindowOf(Application& app, HWND owner) {
    for (HWND window : app.messageWindows()) {
        if (window != owner || !IsWindow(window)) continue;
        // Our windows keep their object in the user data (ui/window_win.cpp binds it there).
        return dynamic_cast<CMainFrame*>(reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    }
    return nullptr;
}

CreditsDisplay CreditsDisplayOf(Application& app, HWND owner) {
    CMainFrame* frame = MessageWindowOf(app, owner);
    if (!frame) return {};
    return CreditsDisplay{
        [owner] {
            // The credits pane of the status bar shows that the credits are being fetched.
            HWND statusBar = GetDlgItem(owner, kStatusBarId);
            if (HWND pane = GetDlgItem(statusBar, kCreditsPaneId)) {
                SetWindowTextW(pane, LoadText(kUpdatingCreditsText).c_str());
                UpdateWindow(pane);
            }
        },
        [&app, owner] {
            if (CMainFrame* still = MessageWindowOf(app, owner)) still->RefreshAccountDisplay();
        }};
}

}  // namespace

void RunSetupWizard(Application& app, HWND owner) {
    ServiceSetupServices services(ServiceOf(app), app.settings(), app.installation(),
                                  [&app]() -> const LanguageInfo& { return app.language(); }, app.programDir(),
                                  owner, HooksOf(app));
    SetupEnvironment environment = EnvironmentOf(app, services);
    RunRegisterWizard(environment, owner);
}

void RunOptionsSheet(Application& app, HWND owner) {
    ServiceSetupServices services(ServiceOf(app), app.settings(), app.installation(),
                                  [&app]() -> const LanguageInfo& { return app.language(); }, app.programDir(),
                                  owner, HooksOf(app));
    SetupEnvironment environment = EnvironmentOf(app, services);
    RunConfigSheet(environment, owner, CreditsDisplayOf(app, owner));
}

}  // namespace pagelark

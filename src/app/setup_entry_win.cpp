#include "app/setup_entry_win.h"

#include "app/application_win.h"
#include "setup/register_pages_win.h"
#include "setup/setup_services_win.h"
#include "app/update_window_win.h"

namespace pagelark {
namespace {

ServiceClient& ServiceOf(Application& app) { return app.service(); }

SetupServiceHooks HooksOf(Application& app, HWND owner) {
    SetupServiceHooks hooks;
    // Starting the integration also reads the address books again.
    hooks.startMailIntegration = [&app, owner] { app.StartMailIntegration(owner); };
    hooks.stopMailIntegration = [&app] { app.StopMailIntegration(); };
    hooks.checkForUpdate = [&app](bool manual) { return CheckForUpdate(app, manual); };
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

}  // namespace

void RunSetupWizard(Application& app, HWND owner) {
    ServiceSetupServices services(ServiceOf(app), app.settings(), app.installation(),
                                  [&app]() -> const LanguageInfo& { return app.language(); }, app.programDir(),
                                  owner, HooksOf(app, owner));
    SetupEnvironment environment = EnvironmentOf(app, services);
    RunRegisterWizard(environment, owner);
}

void RunOptionsSheet(Application& app, HWND owner, const CreditsDisplay& display) {
    ServiceSetupServices services(ServiceOf(app), app.settings(), app.installation(),
                                  [&app]() -> const LanguageInfo& { return app.language(); }, app.programDir(),
                                  owner, HooksOf(app, owner));
    SetupEnvironment environment = EnvironmentOf(app, services);
    RunConfigSheet(environment, owner, display);
}

}  // namespace pagelark

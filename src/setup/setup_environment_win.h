#pragma once
// Everything the wizard and the options pages use from the application, handed in by reference
// so the pages can also run in a test program without the whole application.
#include <windows.h>

#include <functional>
#include <string>

#include "model/language.h"
#include "model/settings.h"
#include "numbers/dialling_codes.h"
#include "setup/setup_services.h"

namespace pagelark {

struct SetupEnvironment {
    Settings& settings;
    SetupServices& services;
    std::function<void(SettingsGroup)> saveSettings;
    std::function<const CountryList&()> countries;        // the active country list
    std::function<const LanguageInfo&()> language;        // the active language
    std::function<void(int key)> setLanguage;             // also reloads the country list
    std::function<void(bool shown)> showTrayIcon;
    std::string programDir;
    std::string webServer;                                // the service web site named on the pages
    HWND mainWindow = nullptr;
};

}  // namespace pagelark

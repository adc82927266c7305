// libFuzzer target: a registry holding values of any type and size under every name the settings
// and installation readers look at, through loading, the language lookup, saving and loading again.
// Input: records of <name index> <kind> <length> <bytes>.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <iterator>

#include "app/installation_store.h"
#include "app/memory_registry_store.h"
#include "app/settings_store.h"
#include "model/language.h"
#include "model/settings.h"

namespace {

using namespace pagelark;

void Check(bool condition) {
    if (!condition) std::abort();
}

struct Place {
    RegistryRoot root;
    std::string_view key;
    std::string_view name;
};

constexpr Place kPlaces[] = {
    {RegistryRoot::CurrentUser, kSettingsKey, "Language"},
    {RegistryRoot::CurrentUser, kSettingsKey, "ShowTaskbarIcon"},
    {RegistryRoot::CurrentUser, kSettingsKey, "AutoRun"},
    {RegistryRoot::CurrentUser, kSettingsKey, "SendConfirmation"},
    {RegistryRoot::CurrentUser, kSettingsKey, "MinSMSCredits"},
    {RegistryRoot::CurrentUser, kSettingsKey, "CheckNumbers"},
    {RegistryRoot::CurrentUser, kSettingsKey, "SaveChangedNumbers"},
    {RegistryRoot::CurrentUser, kSettingsKey, "CopyToEMail"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UserMobile"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UserLandCode"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UserEMail"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UserName"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UserPassword"},
    {RegistryRoot::CurrentUser, kSettingsKey, "IntegrateOE"},
    {RegistryRoot::CurrentUser, kSettingsKey, "SaveSentMessages"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UpdateAutoDownload"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UpdateAutoInstall"},
    {RegistryRoot::CurrentUser, kSettingsKey, "UseProxy"},
    {RegistryRoot::CurrentUser, kSettingsKey, "ProxyPort"},
    {RegistryRoot::CurrentUser, kSettingsKey, "ProxyAddress"},
    {RegistryRoot::CurrentUser, kInternetSettingsKey, "ProxyServer"},
    {RegistryRoot::LocalMachine, kAddinKey, "LoadBehavior"},
    {RegistryRoot::CurrentUser, kAddinKey, "LoadBehavior"},
    {RegistryRoot::LocalMachine, kInstallationKey, "SCID"},
    {RegistryRoot::LocalMachine, kInstallationKey, "ProductLanguage"},
    {RegistryRoot::LocalMachine, kInstallationKey, "PrimaryServer"},
    {RegistryRoot::LocalMachine, kInstallationKey, "SecondaryServer"},
    {RegistryRoot::LocalMachine, kInstallationKey, "WebServer"},
};

bool SameSettings(const Settings& a, const Settings& b) {
    return a.Language == b.Language && a.ShowTaskbarIcon == b.ShowTaskbarIcon && a.AutoRun == b.AutoRun &&
           a.SendConfirmation == b.SendConfirmation && a.MinSMSCredits == b.MinSMSCredits &&
           a.CheckNumbers == b.CheckNumbers && a.SaveChangedNumbers == b.SaveChangedNumbers &&
           a.CopyToEMail == b.CopyToEMail && a.UserMobile == b.UserMobile && a.UserLandCode == b.UserLandCode &&
           a.UserEMail == b.UserEMail && a.UserName == b.UserName && a.UserPassword == b.UserPassword &&
           a.IntegrateOE == b.IntegrateOE && a.SaveSentMessages == b.SaveSentMessages &&
           a.UpdateAutoDownload == b.UpdateAutoDownload && a.UpdateAutoInstall == b.UpdateAutoInstall &&
           a.UseProxy == b.UseProxy && a.ProxyPort == b.ProxyPort && a.ProxyAddress == b.ProxyAddress;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryRegistryStore store;
    size_t at = 0;
    while (at + 3 <= size) {
        const Place& place = kPlaces[data[at] % std::size(kPlaces)];
        const auto kind = static_cast<MemoryRegistryStore::Kind>(data[at + 1] % 4);
        const size_t length = std::min<size_t>(data[at + 2], size - at - 3);
        at += 3;
        if (!store.KeyExists(place.root, place.key)) store.CreateKey(place.root, place.key);
        store.SetRaw(place.root, place.key, place.name,
                     {kind, std::string(reinterpret_cast<const char*>(data + at), length)});
        at += length;
    }

    Settings loaded;
    LoadSettings(store, loaded, 0x0407);
    const LanguageInfo language = LanguageForKey(loaded.Language);
    Check(!language.countryFile.empty() && !language.webCode.empty());
    const InstallationValues installation = ReadInstallationValues(store);
    Check(!installation.primaryServer.empty() && !installation.secondaryServer.empty() &&
          !installation.webServer.empty());

    // What was loaded survives saving and loading again unchanged.
    SaveSettings(store, loaded, SettingsGroup::All);
    Settings reloaded;
    LoadSettings(store, reloaded, 0x0407);
    Check(SameSettings(loaded, reloaded));
    return 0;
}

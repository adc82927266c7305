#include "app/settings_store.h"

#include "model/password.h"
#include "common/text_encoding.h"

namespace pagelark {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr size_t kProxyServerBufferBytes = 50;

void LoadInt(const RegistryStore& store, const char* name, std::int32_t& field, std::int32_t fallback) {
    auto value = store.ReadInt(kUser, kSettingsKey, name);
    field = value ? static_cast<std::int32_t>(*value) : fallback;
}

void LoadString(const RegistryStore& store, const char* name, std::string& field) {
    field = store.ReadString(kUser, kSettingsKey, name).value_or(std::string());
}

// The add-in's enable flag: HKLM first, HKCU overrides; neither key keeps the default.
void LoadOutlookIntegration(const RegistryStore& store, Settings& s) {
    for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        if (!store.KeyExists(root, kAddinKey)) continue;
        auto behavior = store.ReadInt(root, kAddinKey, "LoadBehavior");
        s.IntegrateOutlook = (behavior && *behavior == 3) ? 1 : 0;
    }
}

void LoadProxyFallback(const RegistryStore& store, Settings& s) {
    if (!s.ProxyAddress.empty()) return;
    auto server = store.ReadString(kUser, kInternetSettingsKey, "ProxyServer");
    // The value must fit the 50-byte buffer with its terminator.
    if (!server || server->empty() || server->size() + 1 > kProxyServerBufferBytes) return;
    std::string address = *server;
    if (auto colon = address.find(':'); colon != std::string::npos) {
        s.ProxyPort = static_cast<std::int32_t>(AtoiLike(std::string_view(address).substr(colon + 1)));
        address.resize(colon);
    }
    s.ProxyAddress = address;
}

void WriteInt(RegistryStore& store, const char* name, std::int32_t value) {
    store.WriteInt(kUser, kSettingsKey, name, static_cast<std::uint32_t>(value));
}

void WriteString(RegistryStore& store, const char* name, const std::string& value) {
    store.WriteString(kUser, kSettingsKey, name, value);
}

void SaveUserData(RegistryStore& store, const Settings& s) {
    WriteString(store, "UserMobile", s.UserMobile);
    WriteString(store, "UserLandCode", s.UserLandCode);
    WriteString(store, "UserEMail", s.UserEMail);
    WriteString(store, "UserName", s.UserName);
    // A password that would not survive storage whole is not written at all rather than cut
    // short; the entry dialogs refuse such passwords before they get here.
    if (IsStorablePassword(s.UserPassword))
        store.WriteAnsi(kUser, kSettingsKey, "UserPassword", ScramblePassword(Utf8ToCp1252(s.UserPassword)));
}

void SaveGlobal(RegistryStore& store, const Settings& s) {
    WriteString(store, "CopyToEMail", s.CopyToEMail);
    WriteInt(store, "Language", s.Language);
    WriteInt(store, "SendConfirmation", s.SendConfirmation);
    WriteInt(store, "MinSMSCredits", s.MinSMSCredits);
    WriteInt(store, "CheckNumbers", s.CheckNumbers);
    WriteInt(store, "SaveChangedNumbers", s.SaveChangedNumbers);
    WriteInt(store, "ShowTaskbarIcon", s.ShowTaskbarIcon);
    WriteInt(store, "AutoRun", s.AutoRun);
}

void SaveMailIntegration(RegistryStore& store, const Settings& s) {
    const std::uint32_t behavior = s.IntegrateOutlook ? 3 : 2;
    store.WriteIntIfKeyExists(RegistryRoot::LocalMachine, kAddinKey, "LoadBehavior", behavior);
    store.WriteIntIfKeyExists(RegistryRoot::CurrentUser, kAddinKey, "LoadBehavior", behavior);
    WriteInt(store, "IntegrateOE", s.IntegrateOE);
    WriteInt(store, "SaveSentMessages", s.SaveSentMessages);
}

void SaveUpdates(RegistryStore& store, const Settings& s) {
    WriteInt(store, "UpdateAutoDownload", s.UpdateAutoDownload);
    WriteInt(store, "UpdateAutoInstall", s.UpdateAutoInstall);
}

void SaveProxy(RegistryStore& store, const Settings& s) {
    WriteInt(store, "UseProxy", s.UseProxy);
    WriteInt(store, "ProxyPort", s.ProxyPort);
    WriteString(store, "ProxyAddress", s.ProxyAddress);
}

}  // namespace

void LoadSettings(const RegistryStore& store, Settings& s, std::uint16_t userDefaultLangId) {
    // A value that is absent (or of the wrong size) falls back to the record's own default.
    static const Settings kDefaults;
    LoadString(store, "UserMobile", s.UserMobile);
    LoadString(store, "UserLandCode", s.UserLandCode);
    LoadString(store, "UserEMail", s.UserEMail);
    LoadString(store, "UserName", s.UserName);
    auto stored = store.ReadAnsi(kUser, kSettingsKey, "UserPassword");
    s.UserPassword = stored ? Cp1252ToUtf8(UnscramblePassword(*stored)) : std::string();

    // Only a value of exactly four bytes is taken; any other size means the default.
    LoadInt(store, "Language", s.Language, userDefaultLangId & 0x3FF);

    LoadInt(store, "AutoRun", s.AutoRun, kDefaults.AutoRun);
    LoadInt(store, "ShowTaskbarIcon", s.ShowTaskbarIcon, kDefaults.ShowTaskbarIcon);
    LoadInt(store, "SendConfirmation", s.SendConfirmation, kDefaults.SendConfirmation);
    LoadInt(store, "MinSMSCredits", s.MinSMSCredits, kDefaults.MinSMSCredits);
    LoadInt(store, "CheckNumbers", s.CheckNumbers, kDefaults.CheckNumbers);
    LoadInt(store, "SaveChangedNumbers", s.SaveChangedNumbers, kDefaults.SaveChangedNumbers);
    LoadString(store, "CopyToEMail", s.CopyToEMail);

    LoadOutlookIntegration(store, s);

    LoadInt(store, "IntegrateOE", s.IntegrateOE, kDefaults.IntegrateOE);
    LoadInt(store, "SaveSentMessages", s.SaveSentMessages, kDefaults.SaveSentMessages);
    LoadInt(store, "UpdateAutoDownload", s.UpdateAutoDownload, kDefaults.UpdateAutoDownload);
    LoadInt(store, "UpdateAutoInstall", s.UpdateAutoInstall, kDefaults.UpdateAutoInstall);
    LoadInt(store, "UseProxy", s.UseProxy, kDefaults.UseProxy);
    LoadInt(store, "ProxyPort", s.ProxyPort, kDefaults.ProxyPort);
    LoadString(store, "ProxyAddress", s.ProxyAddress);

    LoadProxyFallback(store, s);
}

void SaveSettings(RegistryStore& store, const Settings& s, SettingsGroup group) {
    switch (group) {
    case SettingsGroup::All:
        SaveUserData(store, s);
        SaveGlobal(store, s);
        SaveMailIntegration(store, s);
        SaveUpdates(store, s);
        SaveProxy(store, s);
        break;
    case SettingsGroup::UserData: SaveUserData(store, s); break;
    case SettingsGroup::Global: SaveGlobal(store, s); break;
    case SettingsGroup::Updates: SaveUpdates(store, s); break;
    case SettingsGroup::MailIntegration: SaveMailIntegration(store, s); break;
    case SettingsGroup::Proxy: SaveProxy(store, s); break;
    }
}

}  // namespace pagelark

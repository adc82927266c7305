#include <gtest/gtest.h>

#include "app/memory_registry_store.h"
#include "model/password.h"
#include "app/settings_store.h"

namespace pagelark {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr std::uint16_t kEnglishUs = 0x0409;

Settings Load(const MemoryRegistryStore& store, std::uint16_t langId = kEnglishUs) {
    Settings s;
    LoadSettings(store, s, langId);
    return s;
}

// A record whose every field differs from its default.
Settings Changed() {
    Settings s;
    s.Language = 16;
    s.ShowTaskbarIcon = 0;
    s.AutoRun = 0;
    s.SendConfirmation = 0;
    s.MinSMSCredits = 25;
    s.CheckNumbers = 0;
    s.SaveChangedNumbers = 1;
    s.CopyToEMail = "copy@example.org";
    s.UserMobile = "1701234567";
    s.UserLandCode = "+49";
    s.UserEMail = "jörg@example.de";
    s.UserName = "joerg";
    s.UserPassword = "geheim€";
    s.IntegrateOutlook = 0;
    s.IntegrateOE = 0;
    s.SaveSentMessages = 0;
    s.UpdateAutoDownload = 0;
    s.UpdateAutoInstall = 0;
    s.UseProxy = 1;
    s.ProxyPort = 3128;
    s.ProxyAddress = "proxy.local";
    return s;
}

TEST(AppSettings, FreshUserGetsEveryDefault) {
    MemoryRegistryStore store;
    Settings s = Load(store, 0x0407);
    Settings defaults;
    EXPECT_EQ(s.Language, 7);
    EXPECT_EQ(s.ShowTaskbarIcon, defaults.ShowTaskbarIcon);
    EXPECT_EQ(s.AutoRun, 1);
    EXPECT_EQ(s.SendConfirmation, 1);
    EXPECT_EQ(s.MinSMSCredits, 10);
    EXPECT_EQ(s.CheckNumbers, 1);
    EXPECT_EQ(s.SaveChangedNumbers, 0);
    EXPECT_EQ(s.CopyToEMail, "");
    EXPECT_EQ(s.UserName, "");
    EXPECT_EQ(s.UserPassword, "");
    EXPECT_EQ(s.IntegrateOutlook, 1);
    EXPECT_EQ(s.IntegrateOE, 1);
    EXPECT_EQ(s.SaveSentMessages, 1);
    EXPECT_EQ(s.UpdateAutoDownload, 1);
    EXPECT_EQ(s.UpdateAutoInstall, 1);
    EXPECT_EQ(s.UseProxy, 0);
    EXPECT_EQ(s.ProxyPort, 80);
    EXPECT_EQ(s.ProxyAddress, "");
    EXPECT_EQ(Load(store, 0x040C).Language, 12);
}

TEST(AppSettings, BeforeLoadingTheLanguageIsEnglish) { EXPECT_EQ(Settings().Language, 9); }

TEST(AppSettings, LoadingOverwritesAStaleRecordWithDefaults) {
    MemoryRegistryStore store;
    Settings s = Changed();
    LoadSettings(store, s, kEnglishUs);
    EXPECT_EQ(s.UserName, "");
    EXPECT_EQ(s.MinSMSCredits, 10);
    EXPECT_EQ(s.ProxyPort, 80);
    EXPECT_EQ(s.UserPassword, "");
}

// Each group writes exactly its own fields, and only those come back.
struct GroupCase {
    SettingsGroup group;
    std::vector<const char*> values;
};

class AppSettingsGroups : public ::testing::TestWithParam<GroupCase> {};

TEST_P(AppSettingsGroups, SavesOnlyItsOwnValuesAndLoadsThemBack) {
    MemoryRegistryStore store;
    store.WriteInt(kUser, kAddinKey, "LoadBehavior", 3);   // enabled until the mail group says otherwise
    const Settings changed = Changed();
    SaveSettings(store, changed, GetParam().group);

    EXPECT_EQ(store.ValueCount(kUser, kSettingsKey), GetParam().values.size());
    for (const char* name : GetParam().values)
        EXPECT_NE(store.Find(kUser, kSettingsKey, name), nullptr) << name;

    Settings back = Load(store);
    Settings defaults;
    auto saved = [&](const char* name) {
        for (const char* n : GetParam().values)
            if (std::string(n) == name) return true;
        return false;
    };
    auto expect = [&](const char* name, auto got, auto want, auto def) {
        if (saved(name)) EXPECT_EQ(got, want) << name;
        else EXPECT_EQ(got, def) << name;
    };
    expect("Language", back.Language, changed.Language, 9);
    expect("ShowTaskbarIcon", back.ShowTaskbarIcon, changed.ShowTaskbarIcon, defaults.ShowTaskbarIcon);
    expect("AutoRun", back.AutoRun, changed.AutoRun, defaults.AutoRun);
    expect("SendConfirmation", back.SendConfirmation, changed.SendConfirmation, defaults.SendConfirmation);
    expect("MinSMSCredits", back.MinSMSCredits, changed.MinSMSCredits, defaults.MinSMSCredits);
    expect("CheckNumbers", back.CheckNumbers, changed.CheckNumbers, defaults.CheckNumbers);
    expect("SaveChangedNumbers", back.SaveChangedNumbers, changed.SaveChangedNumbers, defaults.SaveChangedNumbers);
    expect("CopyToEMail", back.CopyToEMail, changed.CopyToEMail, defaults.CopyToEMail);
    expect("UserMobile", back.UserMobile, changed.UserMobile, defaults.UserMobile);
    expect("UserLandCode", back.UserLandCode, changed.UserLandCode, defaults.UserLandCode);
    expect("UserEMail", back.UserEMail, changed.UserEMail, defaults.UserEMail);
    expect("UserName", back.UserName, changed.UserName, defaults.UserName);
    expect("UserPassword", back.UserPassword, changed.UserPassword, defaults.UserPassword);
    expect("IntegrateOE", back.IntegrateOE, changed.IntegrateOE, defaults.IntegrateOE);
    expect("SaveSentMessages", back.SaveSentMessages, changed.SaveSentMessages, defaults.SaveSentMessages);
    expect("UpdateAutoDownload", back.UpdateAutoDownload, changed.UpdateAutoDownload, defaults.UpdateAutoDownload);
    expect("UpdateAutoInstall", back.UpdateAutoInstall, changed.UpdateAutoInstall, defaults.UpdateAutoInstall);
    expect("UseProxy", back.UseProxy, changed.UseProxy, defaults.UseProxy);
    expect("ProxyPort", back.ProxyPort, changed.ProxyPort, defaults.ProxyPort);
    expect("ProxyAddress", back.ProxyAddress, changed.ProxyAddress, defaults.ProxyAddress);
    const bool mail = GetParam().group == SettingsGroup::MailIntegration || GetParam().group == SettingsGroup::All;
    EXPECT_EQ(back.IntegrateOutlook, mail ? 0 : 1);
}

const char* const kUserData[] = {"UserMobile", "UserLandCode", "UserEMail", "UserName", "UserPassword"};
const char* const kGlobal[] = {"CopyToEMail", "Language", "SendConfirmation", "MinSMSCredits",
                               "CheckNumbers", "SaveChangedNumbers", "ShowTaskbarIcon", "AutoRun"};
const char* const kMail[] = {"IntegrateOE", "SaveSentMessages"};
const char* const kUpdates[] = {"UpdateAutoDownload", "UpdateAutoInstall"};
const char* const kProxy[] = {"UseProxy", "ProxyPort", "ProxyAddress"};

std::vector<const char*> Concat(std::initializer_list<std::vector<const char*>> parts) {
    std::vector<const char*> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}
template <size_t N> std::vector<const char*> V(const char* const (&a)[N]) { return {a, a + N}; }

INSTANTIATE_TEST_SUITE_P(
    EveryGroup, AppSettingsGroups,
    ::testing::Values(GroupCase{SettingsGroup::UserData, V(kUserData)}, GroupCase{SettingsGroup::Global, V(kGlobal)},
                      GroupCase{SettingsGroup::Updates, V(kUpdates)},
                      GroupCase{SettingsGroup::MailIntegration, V(kMail)}, GroupCase{SettingsGroup::Proxy, V(kProxy)},
                      GroupCase{SettingsGroup::All,
                                Concat({V(kUserData), V(kGlobal), V(kMail), V(kUpdates), V(kProxy)})}),
    [](const ::testing::TestParamInfo<GroupCase>& info) {
        return "Group" + std::to_string(static_cast<int>(info.param.group));
    });

TEST(AppSettings, ValuesAreStoredWithTheirRegistryTypes) {
    MemoryRegistryStore store;
    SaveSettings(store, Changed(), SettingsGroup::All);
    using K = MemoryRegistryStore::Kind;
    EXPECT_EQ(store.Find(kUser, kSettingsKey, "Language")->kind, K::Int);
    EXPECT_EQ(store.Find(kUser, kSettingsKey, "ProxyPort")->kind, K::Int);
    EXPECT_EQ(store.Find(kUser, kSettingsKey, "UserName")->kind, K::String);
    EXPECT_EQ(store.Find(kUser, kSettingsKey, "UserPassword")->kind, K::Ansi);
}

TEST(AppSettings, PasswordIsStoredScrambledAsAnsiBytes) {
    MemoryRegistryStore store;
    Settings s;
    s.UserPassword = "abc";
    SaveSettings(store, s, SettingsGroup::UserData);
    EXPECT_EQ(store.Find(kUser, kSettingsKey, "UserPassword")->data, "\xC3\xC4\x63");
    EXPECT_EQ(Load(store).UserPassword, "abc");
}

TEST(AppSettings, UnstorablePasswordIsNotWrittenCutShort) {
    MemoryRegistryStore store;
    Settings s;
    s.UserPassword = "old";
    SaveSettings(store, s, SettingsGroup::UserData);
    s.UserPassword = "a\xC5\xB8";  // 'a' (0x61) + 'Ÿ' (0x9F) = 0x100: a zero byte once scrambled
    ASSERT_FALSE(IsStorablePassword(s.UserPassword));
    SaveSettings(store, s, SettingsGroup::UserData);
    EXPECT_EQ(Load(store).UserPassword, "old");
}

TEST(AppSettings, LanguageOfAnotherSizeThanFourBytesIsRefused) {
    using K = MemoryRegistryStore::Kind;
    for (std::string bytes : {std::string("\x10", 1), std::string("\x10\0", 2), std::string("\x10\0\0\0\0", 5),
                              std::string("\x10\0\0\0\0\0\0\0", 8)}) {
        MemoryRegistryStore store;
        store.SetRaw(kUser, kSettingsKey, "Language", {K::Binary, bytes});
        EXPECT_EQ(Load(store, 0x0410).Language, 16) << bytes.size() << " bytes";
        EXPECT_EQ(Load(store, 0x0413).Language, 19);
    }
    MemoryRegistryStore store;
    store.SetRaw(kUser, kSettingsKey, "Language", {K::Binary, std::string("\x0C\0\0\0", 4)});
    EXPECT_EQ(Load(store).Language, 12);  // four bytes of any type fill the field
}

TEST(AppSettings, OutlookIntegrationFromTheAddinKeys) {
    struct Case {
        std::optional<std::optional<std::uint32_t>> machine, user;  // key absent / value absent / value
        std::int32_t expected;
    };
    const std::optional<std::uint32_t> noValue;
    const Case cases[] = {
        {std::nullopt, std::nullopt, 1},  // neither key: default
        {3u, std::nullopt, 1},
        {2u, std::nullopt, 0},
        {noValue, std::nullopt, 0},       // key without LoadBehavior
        {std::nullopt, 3u, 1},
        {std::nullopt, 0u, 0},
        {2u, 3u, 1},                      // HKCU overrides
        {3u, 2u, 0},
        {3u, noValue, 0},
        {9u, 9u, 0},
    };
    for (const Case& c : cases) {
        MemoryRegistryStore store;
        auto place = [&](RegistryRoot root, const auto& v) {
            if (!v) return;
            store.CreateKey(root, kAddinKey);
            if (*v) store.WriteInt(root, kAddinKey, "LoadBehavior", **v);
        };
        place(kMachine, c.machine);
        place(kUser, c.user);
        EXPECT_EQ(Load(store).IntegrateOutlook, c.expected);
    }
}

TEST(AppSettings, MailGroupWritesLoadBehaviorOnlyWhereTheAddinKeyExists) {
    MemoryRegistryStore store;
    store.CreateKey(kMachine, kAddinKey);
    Settings s;
    s.IntegrateOutlook = 0;
    SaveSettings(store, s, SettingsGroup::MailIntegration);
    EXPECT_EQ(store.ReadInt(kMachine, kAddinKey, "LoadBehavior"), 2u);
    EXPECT_FALSE(store.KeyExists(kUser, kAddinKey));
    EXPECT_EQ(store.Find(kUser, kSettingsKey, "IntegrateOutlook"), nullptr);

    store.CreateKey(kUser, kAddinKey);
    s.IntegrateOutlook = 1;
    SaveSettings(store, s, SettingsGroup::MailIntegration);
    EXPECT_EQ(store.ReadInt(kMachine, kAddinKey, "LoadBehavior"), 3u);
    EXPECT_EQ(store.ReadInt(kUser, kAddinKey, "LoadBehavior"), 3u);
}

TEST(AppSettings, TurningOutlookOffLeavesTheSettingsKeyUntouched) {
    MemoryRegistryStore store;
    store.CreateKey(kUser, kAddinKey);
    Settings s;
    SaveSettings(store, s, SettingsGroup::Global);
    const size_t before = store.ValueCount(kUser, kSettingsKey);
    s.IntegrateOutlook = 0;
    SaveSettings(store, s, SettingsGroup::MailIntegration);
    EXPECT_EQ(store.ReadInt(kUser, kAddinKey, "LoadBehavior"), 2u);
    EXPECT_EQ(store.ValueCount(kUser, kSettingsKey), before + 2);  // IntegrateOE, SaveSentMessages only
}

TEST(AppSettings, ProxyFallbackFromInternetSettings) {
    struct Case {
        const char* stored;        // ProxyAddress in Settings, nullptr: absent
        const char* system;        // ProxyServer, nullptr: absent
        const char* address;
        std::int32_t port;
    };
    const Case cases[] = {
        {nullptr, "cache.example.net:3128", "cache.example.net", 3128},
        {nullptr, "http=cache.local:8080;https=safe.local:8443", "http=cache.local", 8080},
        {nullptr, "http=cache.example.net:8080;https=secure.example.net:8443", "", 80},  // too long
        {nullptr, "cache.example.net", "cache.example.net", 80},
        {nullptr, "cache:", "cache", 0},
        {nullptr, "cache:abc", "cache", 0},
        {nullptr, "cache: 81x", "cache", 81},
        {nullptr, "", "", 80},
        {nullptr, nullptr, "", 80},
        {"mine.local", "cache.example.net:3128", "mine.local", 80},
        {"", "cache.example.net:3128", "cache.example.net", 3128},  // stored but empty: still falls back
        // 49 characters fit the 50-byte buffer with the terminator; 50 do not.
        {nullptr, "a234567890123456789012345678901234567890123456789", "a234567890123456789012345678901234567890123456789", 80},
        {nullptr, "a2345678901234567890123456789012345678901234567890:1", "", 80},
    };
    for (const Case& c : cases) {
        MemoryRegistryStore store;
        if (c.stored) store.WriteString(kUser, kSettingsKey, "ProxyAddress", c.stored);
        if (c.system) store.WriteString(kUser, kInternetSettingsKey, "ProxyServer", c.system);
        Settings s = Load(store);
        EXPECT_EQ(s.ProxyAddress, c.address) << (c.system ? c.system : "(none)");
        EXPECT_EQ(s.ProxyPort, c.port) << (c.system ? c.system : "(none)");
        EXPECT_EQ(s.UseProxy, 0);
    }
}

TEST(AppSettings, StoredProxyPortIsOverriddenOnlyByAColonInTheFallback) {
    MemoryRegistryStore store;
    store.WriteInt(kUser, kSettingsKey, "ProxyPort", 8000);
    store.WriteString(kUser, kInternetSettingsKey, "ProxyServer", "cache");
    EXPECT_EQ(Load(store).ProxyPort, 8000);
    store.WriteString(kUser, kInternetSettingsKey, "ProxyServer", "cache:9");
    EXPECT_EQ(Load(store).ProxyPort, 9);
}

TEST(AppSettings, FailedWritesAreIgnored) {
    MemoryRegistryStore store;
    store.SetWritesFail(true);
    Settings s = Changed();
    SaveSettings(store, s, SettingsGroup::All);
    EXPECT_EQ(s.UserName, "joerg");  // the record keeps its values
    EXPECT_FALSE(store.KeyExists(kUser, kSettingsKey));
}

}  // namespace
}  // namespace pagelark

#include <gtest/gtest.h>

#include "app/installation_store.h"
#include "app/memory_registry_store.h"
#include "app/old_addin_cleanup.h"

namespace pagelark {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

TEST(AppInstallation, HostsDefaultWhenAbsentOrEmpty) {
    MemoryRegistryStore store;
    InstallationValues defaults;
    InstallationValues read = ReadInstallationValues(store);
    EXPECT_EQ(read.primaryServer, defaults.primaryServer);
    EXPECT_EQ(read.secondaryServer, defaults.secondaryServer);
    EXPECT_EQ(read.webServer, defaults.webServer);
    EXPECT_EQ(read.scid, "");

    store.WriteString(kMachine, kInstallationKey, "PrimaryServer", "localhost:9100");
    store.WriteString(kMachine, kInstallationKey, "SecondaryServer", "");
    store.WriteString(kMachine, kInstallationKey, "WebServer", "localhost:9102");
    store.WriteString(kMachine, kInstallationKey, "SCID", "42");
    store.WriteString(kMachine, kInstallationKey, "ProductLanguage", "1031");
    store.WriteString(kUser, kInstallationKey, "PrimaryServer", "ignored.example");   // machine-wide only
    read = ReadInstallationValues(store);
    EXPECT_EQ(read.primaryServer, "localhost:9100");
    EXPECT_EQ(read.secondaryServer, defaults.secondaryServer);
    EXPECT_EQ(read.webServer, "localhost:9102");
    EXPECT_EQ(read.scid, "42");
    EXPECT_EQ(read.productLanguage, "1031");
}

TEST(AppOldAddin, RemovedOnlyWhenItsFriendlyNameNamesUs) {
    MemoryRegistryStore store;
    store.WriteString(kMachine, kOldAddinKey, "FriendlyName", "Pagelark SMS add-in");
    store.WriteString(kUser, kOldAddinKey, "FriendlyName", "Something else");
    RemoveOldAddinRegistration(store);
    EXPECT_FALSE(store.KeyExists(kMachine, kOldAddinKey));
    EXPECT_TRUE(store.KeyExists(kUser, kOldAddinKey));

    store.WriteString(kUser, kOldAddinKey, "FriendlyName", "the pagelark add-in");   // case matters
    RemoveOldAddinRegistration(store);
    EXPECT_TRUE(store.KeyExists(kUser, kOldAddinKey));

    store.WriteString(kUser, kOldAddinKey, "FriendlyName", "x" + std::string(300, 'y') + "Pagelark");
    RemoveOldAddinRegistration(store);   // too long for its buffer: not read, left alone
    EXPECT_TRUE(store.KeyExists(kUser, kOldAddinKey));

    store.WriteString(kUser, kOldAddinKey, "FriendlyName", "Quillbridge for Pagelark");
    RemoveOldAddinRegistration(store);
    EXPECT_FALSE(store.KeyExists(kUser, kOldAddinKey));
    RemoveOldAddinRegistration(store);   // nothing there: nothing happens
}

}  // namespace
}  // namespace pagelark

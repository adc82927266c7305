#include "app/installation_store.h"

#include "app/registry_store.h"

namespace pagelark {

InstallationValues ReadInstallationValues(const RegistryStore& store) {
    InstallationValues values;
    auto read = [&](const char* name) {
        return store.ReadString(RegistryRoot::LocalMachine, kInstallationKey, name).value_or(std::string());
    };
    values.scid = read("SCID");
    values.productLanguage = read("ProductLanguage");
    auto host = [&](const char* name, std::string& field) {
        std::string value = read(name);
        if (!value.empty()) field = value;
    };
    host("PrimaryServer", values.primaryServer);
    host("SecondaryServer", values.secondaryServer);
    host("WebServer", values.webServer);
    return values;
}

}  // namespace pagelark

#pragma once
// Loading and saving the settings record through a registry store.
#include <cstdint>

#include "app/registry_store.h"
#include "model/settings.h"

namespace pagelark {

// Fills the whole record; every value that cannot be read keeps (or takes) its default.
// `userDefaultLangId` is the user's default language identifier, whose primary language becomes
// `Language` when none is stored.
void LoadSettings(const RegistryStore& store, Settings& settings, std::uint16_t userDefaultLangId);

// Writes one group (or all, group 0: 1, 2, 4, 3, 5 in that order). Failed writes are ignored.
void SaveSettings(RegistryStore& store, const Settings& settings, SettingsGroup group);

}  // namespace pagelark

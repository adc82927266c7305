#pragma once
// Reading the installation values from the machine-wide key.
#include "model/installation.h"

namespace pagelark {

class RegistryStore;

// Reads the values; an absent or empty host keeps its built-in default.
InstallationValues ReadInstallationValues(const RegistryStore& store);

}  // namespace pagelark

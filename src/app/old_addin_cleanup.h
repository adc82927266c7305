#pragma once
// An older version registered the Outlook add-in as "Quillbridge.Addin" with our name in its
// FriendlyName; that registration is removed at start-up (machine-wide, then per user).
#include "app/registry_store.h"

namespace pagelark {

void RemoveOldAddinRegistration(RegistryStore& store);

}  // namespace pagelark

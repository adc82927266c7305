#include "app/old_addin_cleanup.h"

#include <string>

namespace pagelark {
namespace {
constexpr size_t kFriendlyNameBufferBytes = 260;
}

void RemoveOldAddinRegistration(RegistryStore& store) {
    for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        auto name = store.ReadString(root, kOldAddinKey, "FriendlyName");
        // A name too long for the buffer cannot be read, so it is left alone.
        if (!name || name->size() + 1 > kFriendlyNameBufferBytes) continue;
        if (name->find("Pagelark") != std::string::npos) store.DeleteKey(root, kOldAddinKey);
    }
}

}  // namespace pagelark

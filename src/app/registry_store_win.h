#pragma once
// The registry behind RegistryStore: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
#include "app/registry_store.h"

namespace pagelark {

class WindowsRegistryStore final : public RegistryStore {
public:
    bool KeyExists(RegistryRoot root, std::string_view key) const override;
    std::optional<std::uint32_t> ReadInt(RegistryRoot root, std::string_view key,
                                         std::string_view name) const override;
    std::optional<std::string> ReadString(RegistryRoot root, std::string_view key,
                                          std::string_view name) const override;
    std::optional<std::string> ReadAnsi(RegistryRoot root, std::string_view key,
                                        std::string_view name) const override;
    bool WriteInt(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) override;
    bool WriteString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view utf8) override;
    bool WriteAnsi(RegistryRoot root, std::string_view key, std::string_view name, std::string_view bytes) override;
    bool WriteIntIfKeyExists(RegistryRoot root, std::string_view key, std::string_view name,
                             std::uint32_t value) override;
    bool DeleteKey(RegistryRoot root, std::string_view key) override;
};

}  // namespace pagelark

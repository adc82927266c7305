#pragma once
// An in-memory registry for tests and for running the settings logic off Windows.
// Key and value names compare case-insensitively, as in the registry.
#include <map>
#include <string>
#include <tuple>

#include "app/registry_store.h"

namespace pagelark {

class MemoryRegistryStore final : public RegistryStore {
public:
    enum class Kind { Int, String, Ansi, Binary };
    struct Value {
        Kind kind = Kind::Binary;
        std::string data;   // Int: 4 bytes little-endian; String: UTF-8; Ansi and Binary: bytes
    };

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

    // Test helpers.
    void CreateKey(RegistryRoot root, std::string_view key);
    void SetRaw(RegistryRoot root, std::string_view key, std::string_view name, Value value);
    const Value* Find(RegistryRoot root, std::string_view key, std::string_view name) const;
    size_t ValueCount(RegistryRoot root, std::string_view key) const;
    void SetWritesFail(bool fail) { writesFail_ = fail; }

private:
    using KeyId = std::tuple<RegistryRoot, std::string>;
    using Values = std::map<std::string, Value>;
    bool Write(RegistryRoot root, std::string_view key, std::string_view name, Value value);
    std::map<KeyId, Values> keys_;
    bool writesFail_ = false;
};

}  // namespace pagelark

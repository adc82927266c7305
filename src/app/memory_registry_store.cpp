#include "app/memory_registry_store.h"

#include "common/text_encoding.h"

namespace pagelark {
namespace {

std::string Fold(std::string_view text) { return AsciiLower(text); }

}  // namespace

const MemoryRegistryStore::Value* MemoryRegistryStore::Find(RegistryRoot root, std::string_view key,
                                                            std::string_view name) const {
    auto k = keys_.find({root, Fold(key)});
    if (k == keys_.end()) return nullptr;
    auto v = k->second.find(Fold(name));
    return v == k->second.end() ? nullptr : &v->second;
}

bool MemoryRegistryStore::KeyExists(RegistryRoot root, std::string_view key) const {
    return keys_.count({root, Fold(key)}) != 0;
}

std::optional<std::uint32_t> MemoryRegistryStore::ReadInt(RegistryRoot root, std::string_view key,
                                                          std::string_view name) const {
    const Value* v = Find(root, key, name);
    if (!v || v->data.size() != 4) return std::nullopt;
    std::uint32_t result = 0;
    for (int i = 3; i >= 0; --i) result = (result << 8) | static_cast<unsigned char>(v->data[i]);
    return result;
}

std::optional<std::string> MemoryRegistryStore::ReadString(RegistryRoot root, std::string_view key,
                                                           std::string_view name) const {
    const Value* v = Find(root, key, name);
    if (!v) return std::nullopt;
    std::string text;
    if (v->kind == Kind::String) text = v->data;
    else if (v->kind == Kind::Ansi) text = Cp1252ToUtf8(v->data);
    else return std::nullopt;
    if (auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
}

std::optional<std::string> MemoryRegistryStore::ReadAnsi(RegistryRoot root, std::string_view key,
                                                         std::string_view name) const {
    const Value* v = Find(root, key, name);
    if (!v) return std::nullopt;
    std::string bytes;
    if (v->kind == Kind::Ansi) bytes = v->data;
    else if (v->kind == Kind::String) bytes = Utf8ToCp1252(v->data);
    else return std::nullopt;
    if (auto zero = bytes.find('\0'); zero != std::string::npos) bytes.resize(zero);
    return bytes;
}

bool MemoryRegistryStore::Write(RegistryRoot root, std::string_view key, std::string_view name, Value value) {
    if (writesFail_) return false;
    keys_[{root, Fold(key)}][Fold(name)] = std::move(value);
    return true;
}

bool MemoryRegistryStore::WriteInt(RegistryRoot root, std::string_view key, std::string_view name,
                                   std::uint32_t value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return Write(root, key, name, {Kind::Int, data});
}

bool MemoryRegistryStore::WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                                      std::string_view utf8) {
    return Write(root, key, name, {Kind::String, std::string(utf8)});
}

bool MemoryRegistryStore::WriteAnsi(RegistryRoot root, std::string_view key, std::string_view name,
                                    std::string_view bytes) {
    return Write(root, key, name, {Kind::Ansi, std::string(bytes)});
}

bool MemoryRegistryStore::WriteIntIfKeyExists(RegistryRoot root, std::string_view key, std::string_view name,
                                              std::uint32_t value) {
    return KeyExists(root, key) && WriteInt(root, key, name, value);
}

bool MemoryRegistryStore::DeleteKey(RegistryRoot root, std::string_view key) {
    return keys_.erase({root, Fold(key)}) != 0;
}

void MemoryRegistryStore::CreateKey(RegistryRoot root, std::string_view key) { keys_[{root, Fold(key)}]; }

void MemoryRegistryStore::SetRaw(RegistryRoot root, std::string_view key, std::string_view name, Value value) {
    keys_[{root, Fold(key)}][Fold(name)] = std::move(value);
}

size_t MemoryRegistryStore::ValueCount(RegistryRoot root, std::string_view key) const {
    auto k = keys_.find({root, Fold(key)});
    return k == keys_.end() ? 0 : k->second.size();
}

}  // namespace pagelark

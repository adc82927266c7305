#include "app/registry_store_win.h"

#include <vector>

#include "common/handle_win.h"
#include "common/wide_string_win.h"

namespace pagelark {
namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

RegistryKey OpenForReading(RegistryRoot root, std::string_view key) {
    RegistryKey opened;
    if (RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, KEY_READ, opened.receive()) != ERROR_SUCCESS)
        return {};
    return opened;
}

RegistryKey CreateForWriting(RegistryRoot root, std::string_view key) {
    RegistryKey created;
    if (RegCreateKeyExW(RootKey(root), Widen(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, created.receive(), nullptr) != ERROR_SUCCESS)
        return {};
    return created;
}

}  // namespace

bool WindowsRegistryStore::KeyExists(RegistryRoot root, std::string_view key) const {
    return static_cast<bool>(OpenForReading(root, key));
}

std::optional<std::uint32_t> WindowsRegistryStore::ReadInt(RegistryRoot root, std::string_view key,
                                                           std::string_view name) const {
    RegistryKey opened = OpenForReading(root, key);
    if (!opened) return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof(value);
    // A larger value fails with ERROR_MORE_DATA; a smaller one is refused below.
    if (RegQueryValueExW(opened.get(), Widen(name).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        size != sizeof(value))
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<std::string> WindowsRegistryStore::ReadString(RegistryRoot root, std::string_view key,
                                                            std::string_view name) const {
    RegistryKey opened = OpenForReading(root, key);
    if (!opened) return std::nullopt;
    const std::wstring wideName = Widen(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(opened.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // One spare character guarantees a terminator even when the stored data lacks one.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(opened.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    return Narrow(std::wstring(buffer.data()));
}

std::optional<std::string> WindowsRegistryStore::ReadAnsi(RegistryRoot root, std::string_view key,
                                                          std::string_view name) const {
    RegistryKey opened = OpenForReading(root, key);
    if (!opened) return std::nullopt;
    const std::wstring wideName = Widen(name);
    // The A function converts from the stored UTF-16 through the ANSI code page.
    const std::string ansiName = Narrow(wideName);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(opened.get(), ansiName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<char> buffer(size + 1, '\0');
    size = static_cast<DWORD>(buffer.size() - 1);
    if (RegQueryValueExA(opened.get(), ansiName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer.data());
}

bool WindowsRegistryStore::WriteInt(RegistryRoot root, std::string_view key, std::string_view name,
                                    std::uint32_t value) {
    RegistryKey created = CreateForWriting(root, key);
    if (!created) return false;
    const DWORD data = value;
    return RegSetValueExW(created.get(), Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof(data)) == ERROR_SUCCESS;
}

bool WindowsRegistryStore::WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                                       std::string_view utf8) {
    RegistryKey created = CreateForWriting(root, key);
    if (!created) return false;
    const std::wstring text = Widen(utf8);
    return RegSetValueExW(created.get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WindowsRegistryStore::WriteAnsi(RegistryRoot root, std::string_view key, std::string_view name,
                                     std::string_view bytes) {
    RegistryKey created = CreateForWriting(root, key);
    if (!created) return false;
    const std::string data(bytes);
    const std::string ansiName = Narrow(Widen(name));
    return RegSetValueExA(created.get(), ansiName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool WindowsRegistryStore::WriteIntIfKeyExists(RegistryRoot root, std::string_view key, std::string_view name,
                                               std::uint32_t value) {
    RegistryKey opened;
    if (RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, KEY_SET_VALUE, opened.receive()) != ERROR_SUCCESS)
        return false;
    const DWORD data = value;
    return RegSetValueExW(opened.get(), Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof(data)) == ERROR_SUCCESS;
}

bool WindowsRegistryStore::DeleteKey(RegistryRoot root, std::string_view key) {
    return RegDeleteTreeW(RootKey(root), Widen(key).c_str()) == ERROR_SUCCESS;
}

}  // namespace pagelark

#pragma once
// The few registry operations the settings need, behind an interface so the settings logic is
// tested natively against memory and runs against the real registry on Windows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

enum class RegistryRoot { CurrentUser, LocalMachine };

// Key paths, relative to their root.
inline constexpr std::string_view kSettingsKey = "Software\\Orvane\\Pagelark\\Settings";
inline constexpr std::string_view kInstallationKey = "Software\\Orvane\\Pagelark";
inline constexpr std::string_view kAddinKey = "Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";
inline constexpr std::string_view kOldAddinKey = "Software\\Microsoft\\Office\\Outlook\\Addins\\Quillbridge.Addin";
inline constexpr std::string_view kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    virtual bool KeyExists(RegistryRoot root, std::string_view key) const = 0;
    // A value of exactly four bytes, whatever its stored type; nothing for any other size.
    virtual std::optional<std::uint32_t> ReadInt(RegistryRoot root, std::string_view key,
                                                 std::string_view name) const = 0;
    // A string or expandable (unexpanded) string, as UTF-8, cut at its first zero.
    virtual std::optional<std::string> ReadString(RegistryRoot root, std::string_view key,
                                                  std::string_view name) const = 0;
    // A string value as bytes of the ANSI code page: the stored password's contract.
    virtual std::optional<std::string> ReadAnsi(RegistryRoot root, std::string_view key,
                                                std::string_view name) const = 0;

    // Writes create the missing keys on the way and report whether the value was written.
    virtual bool WriteInt(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) = 0;
    virtual bool WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                             std::string_view utf8) = 0;
    virtual bool WriteAnsi(RegistryRoot root, std::string_view key, std::string_view name,
                           std::string_view bytes) = 0;
    // Writes only into a key that already exists; never creates it.
    virtual bool WriteIntIfKeyExists(RegistryRoot root, std::string_view key, std::string_view name,
                                     std::uint32_t value) = 0;
    // Deletes a key with everything below it.
    virtual bool DeleteKey(RegistryRoot root, std::string_view key) = 0;
};

}  // namespace pagelark

#pragma once
// The settings file of the Linux command-line sender: an INI file with the registry's value
// names, read through the same RegistryStore interface, so the settings and installation values
// load exactly as they do from the registry.
//
//   [Settings]       the values of HKCU\Software\Orvane\Pagelark\Settings
//   [Installation]   the values of HKLM\Software\Orvane\Pagelark
//
// Lines are "Name = value"; names compare without regard to case; ";" and "#" start comments;
// a value may be put in double quotes. UserPassword holds the scrambled bytes in hexadecimal.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry_store.h"

namespace pagelark::cli {

class IniFile {
public:
    // Parses UTF-8 text; malformed lines are collected in Problems() and otherwise ignored.
    static IniFile Parse(std::string_view text);

    std::optional<std::string> Get(std::string_view section, std::string_view name) const;
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    std::map<std::string, std::string> values_;   // "section\nname" in lower case
    std::vector<std::string> problems_;
};

// The scrambled password as the file holds it, and back.
std::string HexOfBytes(std::string_view bytes);
std::optional<std::string> BytesOfHex(std::string_view hex);

// Read-only: the command-line sender never writes its settings.
class IniRegistryStore final : public RegistryStore {
public:
    explicit IniRegistryStore(IniFile file) : file_(std::move(file)) {}

    bool KeyExists(RegistryRoot root, std::string_view key) const override;
    std::optional<std::uint32_t> ReadInt(RegistryRoot root, std::string_view key, std::string_view name) const override;
    std::optional<std::string> ReadString(RegistryRoot root, std::string_view key,
                                          std::string_view name) const override;
    std::optional<std::string> ReadAnsi(RegistryRoot root, std::string_view key, std::string_view name) const override;
    bool WriteInt(RegistryRoot, std::string_view, std::string_view, std::uint32_t) override { return false; }
    bool WriteString(RegistryRoot, std::string_view, std::string_view, std::string_view) override { return false; }
    bool WriteAnsi(RegistryRoot, std::string_view, std::string_view, std::string_view) override { return false; }
    bool WriteIntIfKeyExists(RegistryRoot, std::string_view, std::string_view, std::uint32_t) override {
        return false;
    }
    bool DeleteKey(RegistryRoot, std::string_view) override { return false; }

private:
    std::optional<std::string> SectionOf(RegistryRoot root, std::string_view key) const;
    IniFile file_;
};

}  // namespace pagelark::cli

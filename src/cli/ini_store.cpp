#include "cli/ini_store.h"

#include <charconv>
#include <cstdint>

#include "common/text_encoding.h"

namespace pagelark::cli {
namespace {

std::string_view TrimWhite(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) return {};
    const size_t end = text.find_last_not_of(" \t\r");
    return text.substr(start, end - start + 1);
}

std::string KeyOf(std::string_view section, std::string_view name) {
    return AsciiLower(section) + "\n" + AsciiLower(name);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
    IniFile file;
    std::string section;
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = TrimWhite(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line = TrimWhite(line.substr(3));
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']') {
                file.problems_.push_back("line " + std::to_string(number) + ": a section needs its closing ]");
                continue;
            }
            section = std::string(TrimWhite(line.substr(1, line.size() - 2)));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || section.empty()) {
            file.problems_.push_back("line " + std::to_string(number) + ": expected \"Name = value\" in a section");
            continue;
        }
        std::string_view value = TrimWhite(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        file.values_[KeyOf(section, TrimWhite(line.substr(0, eq)))] = std::string(value);
    }
    return file;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view name) const {
    const auto found = values_.find(KeyOf(section, name));
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::string HexOfBytes(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : bytes) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 15]);
    }
    return hex;
}

std::optional<std::string> BytesOfHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

std::optional<std::string> IniRegistryStore::SectionOf(RegistryRoot root, std::string_view key) const {
    if (root == RegistryRoot::CurrentUser && AsciiLower(key) == AsciiLower(kSettingsKey)) return "Settings";
    if (root == RegistryRoot::LocalMachine && AsciiLower(key) == AsciiLower(kInstallationKey)) return "Installation";
    return std::nullopt;
}

bool IniRegistryStore::KeyExists(RegistryRoot root, std::string_view key) const {
    return SectionOf(root, key).has_value();
}

std::optional<std::uint32_t> IniRegistryStore::ReadInt(RegistryRoot root, std::string_view key,
                                                       std::string_view name) const {
    const std::optional<std::string> section = SectionOf(root, key);
    if (!section) return std::nullopt;
    const std::optional<std::string> text = file_.Get(*section, name);
    if (!text) return std::nullopt;
    std::int64_t value = 0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size()) return std::nullopt;
    if (value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<std::string> IniRegistryStore::ReadString(RegistryRoot root, std::string_view key,
                                                        std::string_view name) const {
    const std::optional<std::string> section = SectionOf(root, key);
    if (!section) return std::nullopt;
    return file_.Get(*section, name);
}

std::optional<std::string> IniRegistryStore::ReadAnsi(RegistryRoot root, std::string_view key,
                                                      std::string_view name) const {
    const std::optional<std::string> text = ReadString(root, key, name);
    if (!text) return std::nullopt;
    return BytesOfHex(*text);
}

}  // namespace pagelark::cli

#include "setup/options_rules.h"

#include <limits>

namespace pagelark {

std::optional<SettingsGroup> GroupSavedBy(OptionsPage page) {
    switch (page) {
    case OptionsPage::User: return SettingsGroup::UserData;
    case OptionsPage::Global: return SettingsGroup::Global;
    case OptionsPage::Updates: return SettingsGroup::Updates;
    case OptionsPage::EMail: return SettingsGroup::MailIntegration;
    case OptionsPage::Proxy: return SettingsGroup::Proxy;
    case OptionsPage::Log: break;
    }
    return std::nullopt;
}

std::optional<std::int32_t> ParseIntegerField(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    size_t i = 0;
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t digitsStart = i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
    }
    if (i == digitsStart) return std::nullopt;
    while (i < text.size() && blank(text[i])) ++i;
    if (i != text.size()) return std::nullopt;
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

const std::array<LanguageEntry, 6>& LanguageEntries() {
    static const std::array<LanguageEntry, 6> entries = {{
        {"English", 9, 1},
        {"Deutsch", 7, 3},
        {"Nederlands", 19, 0},
        {"Fran\xC3\xA7" "ais", 12, 2},
        {"Italiano", 16, 4},
        {"Espa\xC3\xB1" "ol", 10, 5},
    }};
    return entries;
}

std::optional<int> LanguageEntryIndex(int key) {
    const auto& entries = LanguageEntries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].key == key) return static_cast<int>(i);
    return std::nullopt;
}

}  // namespace pagelark

#pragma once
// The options sheet's rules that are logic: which page saves which group, which pages apply,
// when the user data counts as changed, the integer fields and the language list.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/settings.h"

namespace pagelark {

// Sheet order.
enum class OptionsPage : int { User = 0, Global = 1, Updates = 2, EMail = 3, Log = 4, Proxy = 5 };
inline constexpr int kOptionsPageCount = 6;

// The settings group a page saves on apply; the Status page saves none.
std::optional<SettingsGroup> GroupSavedBy(OptionsPage page);

// Pages apply only when they were shown at least once (their controls were filled from the
// settings); a page never shown would otherwise write its empty controls back.
class OptionsApplyTracker {
public:
    void MarkShown(OptionsPage page) { shown_[static_cast<int>(page)] = true; }
    bool WasShown(OptionsPage page) const { return shown_[static_cast<int>(page)]; }
    bool ShouldApply(OptionsPage page) const { return WasShown(page); }

private:
    std::array<bool, kOptionsPageCount> shown_{};
};

// The My Telvoro page's "user data changed" flag. Filling a non-empty user name or password
// into the fields counts as a change, so OK always updates the credits when an account is stored.
class UserDataChange {
public:
    void OnInitialFill(std::string_view userName, std::string_view password) {
        if (!userName.empty() || !password.empty()) changed_ = true;
    }
    void OnEdit() { changed_ = true; }
    bool Changed() const { return changed_; }

private:
    bool changed_ = false;
};

// After the sheet closed: the credit update runs only after OK with changed user data.
inline bool ShouldRefreshCredits(bool closedWithOk, const UserDataChange& change) {
    return closedWithOk && change.Changed();
}

// An integer field's text: optional blanks, an optional sign, digits, optional blanks, within
// 32 bits. Anything else is refused ("Please enter an integer.").
std::optional<std::int32_t> ParseIntegerField(std::string_view text);

// The language list of the Global page: fixed texts (the same in every language), the
// primary language id as item data and the flag image in bitmap IDB_LANGUAGE_FLAGS.
struct LanguageEntry {
    const char* text;   // UTF-8
    int key;
    int image;
};
const std::array<LanguageEntry, 6>& LanguageEntries();
// Position of the entry whose key is `key`, or nothing (the combo box then shows no selection).
std::optional<int> LanguageEntryIndex(int key);

// The Status page's list: log lines, newest first.
template <class Lines>
Lines NewestFirst(Lines lines) {
    return Lines(lines.rbegin(), lines.rend());
}

}  // namespace pagelark

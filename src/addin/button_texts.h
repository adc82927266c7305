#pragma once
// The "New SMS" button's caption and tool tip, chosen by the user's default language (not by
// Outlook's own language).
namespace quillbridge {

struct ButtonTexts {
    const wchar_t* caption;
    const wchar_t* toolTip;
};

// `primaryLanguage`: the primary language number of a Windows language identifier.
ButtonTexts ButtonTextsFor(unsigned primaryLanguage) noexcept;

}  // namespace quillbridge

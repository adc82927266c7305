#pragma once
// What Outlook's registration says, read from the values the registry holds.
#include <cstdint>
#include <optional>
#include <string_view>

namespace pagelark {

// "Outlook.Application.11" -> 11: the number after the last point; 0 when there is none.
int ClientVersionFromCurVer(std::string_view curVer);

// Outlook's "EditorPreference": Word is the e-mail editor when the value exists as a DWORD and
// its lowest bit is set.
bool WordEditorFromPreference(std::optional<std::uint32_t> editorPreference);

}  // namespace pagelark

#include "mailclients/client_registration.h"

#include <charconv>

namespace pagelark {

int ClientVersionFromCurVer(std::string_view curVer) {
    const size_t dot = curVer.rfind('.');
    if (dot == std::string_view::npos) return 0;
    const std::string_view digits = curVer.substr(dot + 1);
    int version = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), version);
    if (error != std::errc() || version < 0) return 0;
    (void)end;
    return version;
}

bool WordEditorFromPreference(std::optional<std::uint32_t> editorPreference) {
    return editorPreference && (*editorPreference & 1u);
}

}  // namespace pagelark

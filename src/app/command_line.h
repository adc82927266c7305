#pragma once
// The program's two switches are found by a plain, case-sensitive substring search anywhere in
// the command line, so "x/configx" counts as "/config".
#include <string_view>

namespace pagelark {

inline constexpr std::string_view kAutoSwitch = "/auto";
inline constexpr std::string_view kConfigSwitch = "/config";

inline bool HasSwitch(std::string_view commandLine, std::string_view sw) {
    return commandLine.find(sw) != std::string_view::npos;
}

}  // namespace pagelark

#pragma once
// The version text shown in the about box and sent to the service: the executable's FileVersion
// string with every comma turned into a point ("1, 2, 0, 75" -> "1. 2. 0. 75"; blanks stay).
#include <string>
#include <string_view>

namespace pagelark {

std::string VersionTextFromFileVersion(std::string_view fileVersion);

}  // namespace pagelark

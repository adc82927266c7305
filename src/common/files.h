#pragma once
// Small portable file helpers; paths are UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// "dir\name" on Windows, "dir/name" elsewhere (the program folder never ends in a separator).
std::string JoinPath(std::string_view dir, std::string_view name);
bool FileExists(const std::string& path);
// The whole file as bytes, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace pagelark

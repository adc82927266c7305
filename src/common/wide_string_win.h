#pragma once
// UTF-8 inside the program, UTF-16 at the Windows API edge: the one pair of conversions.
#include <string>
#include <string_view>

namespace pagelark {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace pagelark

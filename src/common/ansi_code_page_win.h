#pragma once
// The system's ANSI code page, as the ANSI registry functions apply it.
#include <string>
#include <string_view>

namespace pagelark {

// The bytes converted to UTF-16 through the active ANSI code page and back, as a value written
// with RegSetValueExA and read with RegQueryValueExA comes back. Equal to the input under 1252.
std::string ThroughAnsiCodePage(std::string_view bytes);

// Text in the active ANSI code page (the string properties of MAPI and the Windows Address Book)
// to UTF-8 and back.
std::string Utf8FromAnsi(std::string_view ansi);
std::string AnsiFromUtf8(std::string_view utf8);

}  // namespace pagelark

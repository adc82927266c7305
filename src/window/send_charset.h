#pragma once
// The service receives the text in Windows-1252. Characters outside that code page (emoji,
// Cyrillic, ...) would arrive as "?", so the send flow refuses them before anything is sent.
#include <string>
#include <string_view>

namespace pagelark {

// Each character of the UTF-8 text that Windows-1252 lacks, once, in order of first appearance.
std::u32string FindUnsendableCharacters(std::string_view utf8);

// The characters for a message box: each one quoted, separated by blanks ("😀" "Ж").
std::string ListCharactersForDisplay(std::u32string_view characters);

}  // namespace pagelark

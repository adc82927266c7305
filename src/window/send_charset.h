#pragma once
// The service receives the text in Windows-1252. Characters outside that code page (emoji,
// Cyrillic, ...) would arrive as "?", so the send flow refuses them before anything is sent.
#include <cstddef>
#include <string>
#include <string_view>

namespace pagelark {

// Each character of the UTF-8 text that Windows-1252 lacks, once, in order of first appearance.
std::u32string FindUnsendableCharacters(std::string_view utf8);

// Where the first of them stands in the editor: offset and length in UTF-16 code units (an emoji
// takes two). Length 0 when every character can be sent.
struct TextRange {
    size_t start = 0;
    size_t length = 0;
};
TextRange FirstUnsendableRange(std::string_view utf8);

// The characters for a message box: each one quoted, separated by blanks ("😀" "Ж").
std::string ListCharactersForDisplay(std::u32string_view characters);

}  // namespace pagelark

#pragma once
// Text inside the program is UTF-8. The service, the data files and the stored password speak
// Windows-1252 (the ANSI code page of our six languages); these are the one place where the two meet.
#include <string>
#include <string_view>

namespace pagelark {

// Decodes UTF-8; malformed sequences become U+FFFD, so any byte string is accepted.
std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, char32_t ch);

// The Windows-1252 byte for a character, or -1 when the code page has none.
int Cp1252ByteOf(char32_t ch);
char32_t Cp1252CharOf(unsigned char byte);

// UTF-8 to Windows-1252 bytes. Characters the code page lacks become `replacement`;
// `unmappable`, when given, collects each of them once, in order of appearance.
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?', std::u32string* unmappable = nullptr);
std::string Cp1252ToUtf8(std::string_view bytes);

// ASCII-only helpers used throughout the core (locale-independent on purpose).
std::string AsciiLower(std::string_view text);
std::string_view TrimBlanks(std::string_view text);   // blanks (' ') at both ends
// Reads a number the way C's atoi does: leading white space, optional sign, digits.
long long AtoiLike(std::string_view text);

}  // namespace pagelark

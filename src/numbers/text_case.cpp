#include "numbers/text_case.h"

#include "common/text_encoding.h"

#include <algorithm>

namespace pagelark {

std::string LowerText(std::string_view utf8) {
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return AsciiLower(utf8);
    std::u32string text = DecodeUtf8(utf8);
    for (char32_t& ch : text) {
        if ((ch >= U'A' && ch <= U'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) ch += 0x20;
    }
    return EncodeUtf8(text);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) { return LowerText(a) == LowerText(b); }

}  // namespace pagelark

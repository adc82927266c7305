#include "window/send_charset.h"

#include "common/text_encoding.h"

namespace pagelark {

std::u32string FindUnsendableCharacters(std::string_view utf8) {
    std::u32string unmappable;
    Utf8ToCp1252(utf8, '?', &unmappable);
    return unmappable;
}

TextRange FirstUnsendableRange(std::string_view utf8) {
    size_t offset = 0;
    for (const char32_t ch : DecodeUtf8(utf8)) {
        const size_t units = ch > 0xFFFF ? 2 : 1;
        if (Cp1252ByteOf(ch) < 0) return {offset, units};
        offset += units;
    }
    return {offset, 0};
}

std::string ListCharactersForDisplay(std::u32string_view characters) {
    std::string out;
    for (const char32_t ch : characters) {
        if (!out.empty()) out.push_back(' ');
        out.push_back('"');
        AppendUtf8(out, ch);
        out.push_back('"');
    }
    return out;
}

}  // namespace pagelark

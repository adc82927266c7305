#include "window/send_charset.h"

#include "common/text_encoding.h"

namespace pagelark {

std::u32string FindUnsendableCharacters(std::string_view utf8) {
    std::u32string unmappable;
    Utf8ToCp1252(utf8, '?', &unmappable);
    return unmappable;
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

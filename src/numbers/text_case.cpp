#include "numbers/text_case.h"

namespace pagelark {

void LowerTextInPlace(std::string& utf8) {
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte >= 'A' && byte <= 'Z') {
            utf8[i] = static_cast<char>(byte + 0x20);
        } else if (byte == 0xC3 && i + 1 < utf8.size()) {
            // U+00C0..U+00DE (but not U+00D7, the multiplication sign) are C3 80..C3 9E; their
            // lower-case letters lie 0x20 above.
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) utf8[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
}

std::string LowerText(std::string_view utf8) {
    std::string text(utf8);
    LowerTextInPlace(text);
    return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) { return a.size() == b.size() && LowerText(a) == LowerText(b); }

}  // namespace pagelark

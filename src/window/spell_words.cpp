#include "window/spell_words.h"

namespace pagelark {
namespace {

struct Decoded {
    char32_t ch;
    std::size_t length;   // bytes
};

// One UTF-8 character at `at`; a malformed byte counts as one non-letter.
Decoded DecodeAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead >= 0xF8 || at + length > text.size()) return {0xFFFD, 1};
    char32_t ch = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return {0xFFFD, 1};
        ch = (ch << 6) | (byte(at + i) & 0x3F);
    }
    return {ch, length};
}

bool IsDigit(char32_t ch) { return ch >= '0' && ch <= '9'; }

// Letters and the marks that go with them; punctuation, symbols and emoji are not.
bool IsLetter(char32_t ch) {
    if (ch < 0x80) return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    if (ch < 0xC0 || ch == 0xD7 || ch == 0xF7 || ch == 0xFFFD) return false;
    if (ch >= 0x2000 && ch <= 0x2BFF) return false;   // punctuation, symbols, arrows, shapes
    if (ch >= 0x3000 && ch <= 0x303F) return false;   // CJK punctuation
    if (ch >= 0xFE30 && ch <= 0xFE6F) return false;   // compatibility punctuation
    if (ch >= 0xFF00 && ch <= 0xFF0F) return false;   // full-width punctuation
    if (ch >= 0x1F000) return false;                  // emoji and pictographs
    return true;
}

bool IsJoiner(char32_t ch) { return ch == '\'' || ch == 0x2019 || ch == '-'; }

bool IsBlank(char32_t ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == 0xA0; }

// An e-mail or web address: the whole blank-separated chunk around `at` is skipped.
bool ChunkIsAddress(std::string_view text, std::size_t from, std::size_t to) {
    while (from > 0 && !IsBlank(static_cast<unsigned char>(text[from - 1]))) --from;
    while (to < text.size() && !IsBlank(static_cast<unsigned char>(text[to]))) ++to;
    const std::string_view chunk = text.substr(from, to - from);
    return chunk.find('@') != std::string_view::npos || chunk.find("://") != std::string_view::npos ||
           chunk.starts_with("www.") || chunk.starts_with("WWW.");
}

}  // namespace

std::vector<WordSpan> FindWords(std::string_view text) {
    std::vector<WordSpan> words;
    std::size_t at = 0;
    while (at < text.size()) {
        Decoded d = DecodeAt(text, at);
        if (!IsLetter(d.ch) && !IsDigit(d.ch)) {
            at += d.length;
            continue;
        }
        const std::size_t start = at;
        std::size_t end = at, letters = 0;
        bool digits = false;
        while (end < text.size()) {
            d = DecodeAt(text, end);
            if (IsLetter(d.ch) || IsDigit(d.ch)) {
                digits = digits || IsDigit(d.ch);
                ++letters;
                end += d.length;
                continue;
            }
            // A joiner counts only between two letters.
            if (IsJoiner(d.ch) && end + d.length < text.size()) {
                const Decoded after = DecodeAt(text, end + d.length);
                if (IsLetter(after.ch) || IsDigit(after.ch)) {
                    end += d.length;
                    continue;
                }
            }
            break;
        }
        if (!digits && letters > 1 && !ChunkIsAddress(text, start, end)) words.push_back({start, end - start});
        at = end;
    }
    return words;
}

}  // namespace pagelark

#include "window/lexicon_file.h"

#include <charconv>

namespace pagelark {
namespace {

constexpr std::string_view kHeader = "PAGELARK-LEXICON 1\n";

bool ReadSize(std::string_view& text, char end, std::size_t& value) {
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || next == text.data() || next == text.data() + text.size() || *next != end)
        return false;
    text.remove_prefix(static_cast<std::size_t>(next - text.data()) + 1);
    return true;
}

}  // namespace

std::string JoinLexicon(std::string_view affixes, std::string_view words) {
    std::string out(kHeader);
    out += std::to_string(affixes.size()) + " " + std::to_string(words.size()) + "\n";
    out.append(affixes);
    out.append(words);
    return out;
}

std::optional<LexiconParts> SplitLexicon(std::string_view bytes) {
    if (!bytes.starts_with(kHeader)) return std::nullopt;
    bytes.remove_prefix(kHeader.size());
    std::size_t affixSize = 0, wordsSize = 0;
    if (!ReadSize(bytes, ' ', affixSize) || !ReadSize(bytes, '\n', wordsSize)) return std::nullopt;
    if (affixSize == 0 || wordsSize == 0 || affixSize > bytes.size() || wordsSize != bytes.size() - affixSize)
        return std::nullopt;
    return LexiconParts{bytes.substr(0, affixSize), bytes.substr(affixSize)};
}

}  // namespace pagelark

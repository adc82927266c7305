#include "window/recipient_autocomplete.h"

#include <algorithm>

#include "common/text_encoding.h"
#include "numbers/text_case.h"

namespace pagelark {

bool CompletionAllowedAt(std::u32string_view text, size_t caret) {
    if (caret >= text.size()) return caret == text.size();
    if (caret + 1 >= text.size()) return false;
    const char32_t next = text[caret + 1];
    return next == U' ' || next == U',' || next == U';';
}

std::string TypedRecipientPart(std::u32string_view text, size_t caret) {
    std::u32string_view before = text.substr(0, std::min(caret, text.size()));
    const size_t semicolon = before.rfind(U';');
    if (semicolon != std::u32string_view::npos) before.remove_prefix(semicolon + 1);
    while (!before.empty() && (before.front() == U';' || before.front() == U' ')) before.remove_prefix(1);
    return LowerText(EncodeUtf8(before));
}

CompletionFinder FinderFor(const RecipientPrefixIndex& index, RecipientMode mode) {
    return [&index, mode](std::string_view typed) -> std::optional<std::string> {
        const auto match = index.Find(typed);
        if (!match) return std::nullopt;
        return CompletionOf(index.Contacts()[match->index], mode, match->byName);
    };
}

std::optional<FieldText> AutoCompleteRecipient(const FieldText& field, const CompletionFinder& find) {
    const std::u32string text = DecodeUtf8(field.text);
    const size_t start = std::min(field.selStart, text.size());
    const size_t end = std::clamp(field.selEnd, start, text.size());
    if (!CompletionAllowedAt(text, start)) return std::nullopt;
    const std::string typed = TypedRecipientPart(text, start);
    if (typed.empty()) return std::nullopt;
    const auto entry = find(typed);
    if (!entry) return std::nullopt;

    std::u32string completion = DecodeUtf8(*entry);
    completion.erase(0, std::min(completion.size(), DecodeUtf8(typed).size()));
    FieldText result;
    result.text = EncodeUtf8(text.substr(0, start) + completion + text.substr(end));
    result.selStart = start;
    result.selEnd = start + completion.size();
    return result;
}

}  // namespace pagelark

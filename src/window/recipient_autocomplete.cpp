#include "window/recipient_autocomplete.h"

#include <algorithm>

#include "common/text_encoding.h"

namespace pagelark {
namespace {

bool StartsWith(std::u32string_view text, std::u32string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::u32string LowerForMatching(std::u32string_view text) {
    std::u32string lower(text);
    for (char32_t& ch : lower) {
        if ((ch >= U'A' && ch <= U'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) ch += 0x20;
    }
    return lower;
}

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
    return EncodeUtf8(LowerForMatching(before));
}

std::optional<FieldText> AutoCompleteRecipient(const FieldText& field, const ContactList& contacts,
                                               RecipientField which) {
    const std::u32string text = DecodeUtf8(field.text);
    const size_t start = std::min(field.selStart, text.size());
    const size_t end = std::clamp(field.selEnd, start, text.size());
    if (!CompletionAllowedAt(text, start)) return std::nullopt;
    const std::u32string typed = DecodeUtf8(TypedRecipientPart(text, start));
    if (typed.empty()) return std::nullopt;

    for (const Contact& contact : contacts) {
        if (contact.mobile.empty() && !contact.IsList()) continue;
        const std::string& address = which == RecipientField::To ? contact.mobile : contact.email;
        const std::u32string name = DecodeUtf8(contact.name);
        const std::u32string addressText = DecodeUtf8(address);
        std::u32string completion;
        if (StartsWith(LowerForMatching(name), typed)) {
            completion = contact.IsList() ? name : name + U" (" + addressText + U")";
        } else if (StartsWith(LowerForMatching(addressText), typed)) {
            completion = addressText;
        } else {
            continue;
        }
        completion.erase(0, typed.size());
        FieldText result;
        result.text = EncodeUtf8(text.substr(0, start) + completion + text.substr(end));
        result.selStart = start;
        result.selEnd = start + completion.size();
        return result;
    }
    return std::nullopt;
}

}  // namespace pagelark

#pragma once
// Completion of the entry being typed in the To or CC field from the host's contact list.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "numbers/recipient_prefix_index.h"

namespace pagelark {

// A field's text with its selection; positions count characters (code points), not bytes.
struct FieldText {
    std::string text;   // UTF-8
    size_t selStart = 0;
    size_t selEnd = 0;
};

// The entry typed so far before `caret`: from just after the last ';', without leading semicolons
// and blanks, in lower case. Empty when there is nothing to complete.
std::string TypedRecipientPart(std::u32string_view text, size_t caret);

// Whether completion may run for this caret: at the end of the text, or the character at
// caret + 1 is a blank, ',' or ';'.
bool CompletionAllowedAt(std::u32string_view text, size_t caret);

// The whole entry that a typed lower-case prefix completes to, or nothing.
using CompletionFinder = std::function<std::optional<std::string>(std::string_view typedLower)>;
CompletionFinder FinderFor(const RecipientPrefixIndex& index, RecipientMode mode);

// The field after completing the typed entry: the characters beyond the typed ones are inserted
// at the caret (replacing the selection) and selected, so the typed letters keep their case.
// Nothing when completion does not apply or nothing matches.
std::optional<FieldText> AutoCompleteRecipient(const FieldText& field, const CompletionFinder& find);

}  // namespace pagelark

#pragma once
// Completion of the entry being typed in the To or CC field from the host's contact list.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "numbers/contact.h"

namespace pagelark {

enum class RecipientField { To, CC };

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

// The field after completing the typed entry with the first matching contact (name first, then
// number or e-mail address), the added characters selected; nothing when no contact matches.
std::optional<FieldText> AutoCompleteRecipient(const FieldText& field, const ContactList& contacts,
                                               RecipientField which);

// Lower case as the matching uses it (ASCII and Latin-1 letters).
std::u32string LowerForMatching(std::u32string_view text);

}  // namespace pagelark

#pragma once
// Case folding for matching typed names against contacts: ASCII and Latin-1 letters, the letters
// of our six languages. Locale-independent so that every thread and platform folds alike.
#include <string>
#include <string_view>

namespace pagelark {

std::string LowerText(std::string_view utf8);
// The same in place; works on the UTF-8 bytes without decoding (speed matters: it runs over
// whole address books).
void LowerTextInPlace(std::string& utf8);
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace pagelark

#pragma once
// Finds the words of a message that a spelling engine should see (byte offsets into UTF-8).
// Letters of any script make words; an apostrophe or hyphen between letters stays inside the
// word ("don't", "l'homme", "E-Mail"); words with digits, single letters and the parts of
// addresses (e-mail, web) are left out.
#include <cstddef>
#include <string_view>
#include <vector>

namespace pagelark {

struct WordSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};

std::vector<WordSpan> FindWords(std::string_view utf8);

}  // namespace pagelark

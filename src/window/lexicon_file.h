#pragma once
// A lexicon (Dictionaries\Spell*.lex) carries one language's Hunspell affix file and word list
// in one file, as the language table names one file per language:
//
//   "PAGELARK-LEXICON 1\n"  "<affix bytes> <word-list bytes>\n"  affix file  word list
//
// Both parts are kept byte for byte as their authors published them.
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

struct LexiconParts {
    std::string_view affixes;
    std::string_view words;
};

std::string JoinLexicon(std::string_view affixes, std::string_view words);
// Nothing for a file that is not a whole lexicon (wrong header, sizes that do not add up).
std::optional<LexiconParts> SplitLexicon(std::string_view bytes);

}  // namespace pagelark

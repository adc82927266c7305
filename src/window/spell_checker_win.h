#pragma once
// The Windows side of spell checking: the message editor as target, the spelling dialog that
// walks through the misspelt words, and the engine made from the language's lexicon.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "window/spell_checker.h"

namespace pagelark {

// Hunspell with "<program folder>\Dictionaries\<lexicon>", or nullptr when that lexicon is
// missing or unusable (spell checking is then off, silently).
std::unique_ptr<SpellEngine> CreateLexiconEngine(std::string_view programFolder, std::string_view lexiconFile);

// A single- or multi-line edit control. Corrections go through EM_REPLACESEL, so Undo takes them back.
class EditSpellTarget : public SpellTarget {
public:
    explicit EditSpellTarget(HWND edit) : edit_(edit) {}
    std::string Text() override;
    void Select(std::size_t start, std::size_t length) override;
    void Replace(std::size_t start, std::size_t length, const std::string& replacement) override;

private:
    HWND edit_;
};

// The Spell Checking command: the spelling dialog asks about each misspelt word (selected in
// the editor), then "The spell check is complete." Does nothing while spell checking is off
// or the editor is read-only.
void RunSpellCheck(CSpellChecker& checker, HWND owner, HWND editor);

}  // namespace pagelark

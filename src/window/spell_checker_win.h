#pragma once
// The Windows side of spell checking: the Windows Spell Checking API (Windows 8 and later) as
// engine, the message editor as target, and a small popup menu of suggestions as prompt.
#include <windows.h>

#include <memory>

#include "window/spell_checker.h"

namespace pagelark {

// The system's spell checker, or nullptr where there is none (older Windows, Wine): spell
// checking is then off. COM must be initialised on the calling thread.
std::unique_ptr<SpellEngine> CreateWindowsSpellEngine();

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

// Asks with a popup menu under the selected word: the suggestions, then Ignore, Ignore All,
// Add to Dictionary and Stop. Closing the menu without a choice stops the check.
class MenuSpellPrompt : public SpellPrompt {
public:
    MenuSpellPrompt(HWND owner, HWND edit) : owner_(owner), edit_(edit) {}
    SpellDecision Ask(const std::string& word, const std::vector<std::string>& suggestions) override;

private:
    HWND owner_;
    HWND edit_;
};

// The Spell Checking command: checks the editor's text and says when it is done. Does nothing
// while spell checking is off.
void RunSpellCheck(CSpellChecker& checker, HWND owner, HWND editor);

}  // namespace pagelark

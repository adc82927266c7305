#include "window/spell_checker.h"

#include <array>
#include <utility>

#include "common/files.h"
#include "common/text_encoding.h"

namespace pagelark {

std::optional<std::string> LanguageTagForLexicon(std::string_view lexiconFile) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kLexicons = {{
        {"spellger.lex", "de-DE"},
        {"spellus.lex", "en-US"},
        {"spellesp.lex", "es-ES"},
        {"spellfra.lex", "fr-FR"},
        {"spellita.lex", "it-IT"},
        {"spellnl.lex", "nl-NL"},
    }};
    const std::string lower = AsciiLower(lexiconFile);
    for (const auto& [file, tag] : kLexicons)
        if (lower == file) return std::string(tag);
    return std::nullopt;
}

std::string UserDictionaryPath(std::string_view programFolder) {
    return JoinPath(JoinPath(programFolder, "Dictionaries"), "custom.dic");
}

bool CSpellChecker::Initialize(std::unique_ptr<SpellEngine> engine, std::string_view programFolder,
                               std::string_view lexiconFile) {
    engine_.reset();
    ignored_.clear();
    const std::optional<std::string> tag = LanguageTagForLexicon(lexiconFile);
    if (!engine || !tag || !engine->SetLanguage(*tag)) return false;
    engine->RegisterUserDictionary(UserDictionaryPath(programFolder));
    engine_ = std::move(engine);
    return true;
}

int CSpellChecker::Check(SpellTarget& target, SpellPrompt& prompt) {
    finished_ = false;
    if (!engine_) return 0;
    int changes = 0;
    std::size_t position = 0;
    // Every round moves past one word or stops; the bound only guards against an engine that
    // keeps reporting a word the user already changed into itself.
    for (int round = 0; round < 10000; ++round) {
        const std::string text = target.Text();
        std::optional<SpellError> next;
        for (const SpellError& error : engine_->Check(text)) {
            // Positions the engine got wrong are skipped, never used to cut the text.
            if (error.length == 0 || error.start < position || error.start > text.size() ||
                error.length > text.size() - error.start)
                continue;
            if (ignored_.count(text.substr(error.start, error.length))) continue;
            if (!next || error.start < next->start) next = error;
        }
        if (!next) {
            finished_ = true;
            break;
        }
        const std::string word = text.substr(next->start, next->length);
        target.Select(next->start, next->length);
        const SpellDecision decision = prompt.Ask(word, engine_->Suggest(word));
        switch (decision.kind) {
        case SpellDecision::Kind::Change:
            target.Replace(next->start, next->length, decision.replacement);
            position = next->start + decision.replacement.size();
            if (decision.replacement != word) ++changes;
            break;
        case SpellDecision::Kind::Ignore:
            position = next->start + next->length;
            break;
        case SpellDecision::Kind::IgnoreAll:
            engine_->Ignore(word);
            ignored_.insert(word);
            position = next->start + next->length;
            break;
        case SpellDecision::Kind::Add:
            engine_->Add(word);
            ignored_.insert(word);
            position = next->start + next->length;
            break;
        case SpellDecision::Kind::Stop:
            return changes;
        }
    }
    return changes;
}

}  // namespace pagelark

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

std::string PersonalDictionaryPath(std::string_view userDataFolder) {
    return userDataFolder.empty() ? std::string() : JoinPath(userDataFolder, "custom.dic");
}

bool CSpellChecker::Initialize(std::unique_ptr<SpellEngine> engine, std::string_view programFolder,
                               std::string_view lexiconFile, std::string_view userDataFolder) {
    engine_.reset();
    ignored_.clear();
    const std::optional<std::string> tag = LanguageTagForLexicon(lexiconFile);
    if (!engine || !tag || !engine->SetLanguage(*tag)) return false;
    engine->RegisterUserDictionary(UserDictionaryPath(programFolder), PersonalDictionaryPath(userDataFolder));
    engine_ = std::move(engine);
    return true;
}

void CSpellChecker::Begin() {
    finished_ = false;
    changeAll_.clear();
    pending_.reset();
    position_ = 0;
    rounds_ = 0;
    changes_ = 0;
    stopped_ = false;
}

std::optional<CSpellChecker::Found> CSpellChecker::FindNext(const std::string& text) const {
    std::optional<Found> next;
    for (const SpellError& error : engine_->Check(text)) {
        // Positions the engine got wrong are skipped, never used to cut the text.
        if (error.length == 0 || error.start < position_ || error.start > text.size() ||
            error.length > text.size() - error.start)
            continue;
        if (ignored_.count(text.substr(error.start, error.length))) continue;
        if (!next || error.start < next->start) next = Found{error.start, error.length, {}};
    }
    if (next) next->word = text.substr(next->start, next->length);
    return next;
}

std::optional<SpellQuestion> CSpellChecker::NextQuestion(SpellTarget& target) {
    pending_.reset();
    if (!engine_ || finished_ || stopped_) return std::nullopt;
    // Every round moves past one word or stops; the bound only guards against an engine that
    // keeps reporting a word the user already changed into itself.
    for (; rounds_ < 10000; ++rounds_) {
        const std::optional<Found> next = FindNext(target.Text());
        if (!next) {
            finished_ = true;
            return std::nullopt;
        }
        const auto always = changeAll_.find(next->word);
        if (always == changeAll_.end()) {
            target.Select(next->start, next->length);
            pending_ = next;
            ++rounds_;
            return SpellQuestion{next->word, engine_->Suggest(next->word)};
        }
        target.Replace(next->start, next->length, always->second);
        position_ = next->start + always->second.size();
        ++changes_;
    }
    return std::nullopt;
}

int CSpellChecker::Answer(SpellTarget& target, const SpellDecision& decision) {
    int changes = std::exchange(changes_, 0);
    if (!pending_) return changes;
    const Found word = *std::exchange(pending_, std::nullopt);
    switch (decision.kind) {
    case SpellDecision::Kind::ChangeAll:
        if (decision.replacement != word.word) changeAll_[word.word] = decision.replacement;
        [[fallthrough]];
    case SpellDecision::Kind::Change:
        target.Replace(word.start, word.length, decision.replacement);
        position_ = word.start + decision.replacement.size();
        if (decision.replacement != word.word) ++changes;
        break;
    case SpellDecision::Kind::Ignore:
        position_ = word.start + word.length;
        break;
    case SpellDecision::Kind::IgnoreAll:
        engine_->Ignore(word.word);
        ignored_.insert(word.word);
        position_ = word.start + word.length;
        break;
    case SpellDecision::Kind::Add:
        engine_->Add(word.word);
        ignored_.insert(word.word);
        position_ = word.start + word.length;
        break;
    case SpellDecision::Kind::Stop:
        stopped_ = true;
        break;
    }
    return changes;
}

int CSpellChecker::Check(SpellTarget& target, SpellPrompt& prompt) {
    Begin();
    if (!engine_) return 0;
    int changes = 0;
    while (const std::optional<SpellQuestion> question = NextQuestion(target)) {
        const SpellDecision decision = prompt.Ask(question->word, question->suggestions);
        changes += Answer(target, decision);
        if (decision.kind == SpellDecision::Kind::Stop) return changes;
    }
    return changes + std::exchange(changes_, 0);
}

}  // namespace pagelark

#pragma once
// Spell checking of the message editor behind a small engine interface, so the walk over the
// misspelt words, the user's answers and the corrections in place are tested natively with a
// test double; Hunspell is the product's engine (hunspell_engine.h).
//
// Text positions are byte offsets into the UTF-8 text throughout.
#include <cstddef>
#include <memory>
#include <optional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

struct SpellError {
    std::size_t start = 0;
    std::size_t length = 0;
};

// What a spell-check engine offers.
class SpellEngine {
public:
    virtual ~SpellEngine() = default;
    // Selects the language ("en-US"); false when the engine has no dictionary for it.
    virtual bool SetLanguage(const std::string& languageTag) = 0;
    // Adds the user's own word lists: `path` in the program folder, and `fallbackPath` (may be
    // empty), which takes the added words when `path` cannot be written. False when a list that
    // is there could not be read.
    virtual bool RegisterUserDictionary(const std::string& path, const std::string& fallbackPath) = 0;
    virtual std::vector<SpellError> Check(const std::string& text) = 0;
    virtual std::vector<std::string> Suggest(const std::string& word) = 0;
    virtual void Add(const std::string& word) = 0;     // into the user dictionary
    virtual void Ignore(const std::string& word) = 0;  // for the rest of this run
};

// The edit control being checked.
class SpellTarget {
public:
    virtual ~SpellTarget() = default;
    virtual std::string Text() = 0;
    virtual void Select(std::size_t start, std::size_t length) = 0;
    virtual void Replace(std::size_t start, std::size_t length, const std::string& replacement) = 0;
};

// The user's answer about one misspelt word.
struct SpellDecision {
    enum class Kind { Change, ChangeAll, Ignore, IgnoreAll, Add, Stop };
    Kind kind = Kind::Stop;
    std::string replacement;  // for Change and ChangeAll
};

// One misspelt word, selected in the target, waiting for the user's answer.
struct SpellQuestion {
    std::string word;
    std::vector<std::string> suggestions;
};

class SpellPrompt {
public:
    virtual ~SpellPrompt() = default;
    virtual SpellDecision Ask(const std::string& word, const std::vector<std::string>& suggestions) = 0;
};

// The language of a lexicon file name ("SpellGER.lex" -> "de-DE"); nothing for an unknown one.
std::optional<std::string> LanguageTagForLexicon(std::string_view lexiconFile);
// "<program folder>\Dictionaries\custom.dic"
std::string UserDictionaryPath(std::string_view programFolder);
// "<user's data folder>\custom.dic": a standard user cannot write into a program folder that a
// per-machine installation put under Program Files, so the words that user adds go here.
std::string PersonalDictionaryPath(std::string_view userDataFolder);

class CSpellChecker {
public:
    // Prepares the engine for the lexicon's language and registers the user dictionary. When the
    // engine is missing or has no such language, spell checking stays off, silently. A user
    // dictionary that cannot be registered only costs the user's own words. `userDataFolder`
    // (may be empty) holds the personal dictionary.
    bool Initialize(std::unique_ptr<SpellEngine> engine, std::string_view programFolder,
                    std::string_view lexiconFile, std::string_view userDataFolder = {});
    bool IsAvailable() const { return engine_ != nullptr; }

    // Walks the misspelt words of the target's text from the start, selects each, asks the
    // prompt and writes a correction into the target in place. Returns the number of words
    // changed; 0 (and nothing asked) while spell checking is off.
    int Check(SpellTarget& target, SpellPrompt& prompt);
    // True when the last walk went through the whole text (the user did not stop it).
    bool LastCheckFinished() const { return finished_; }

    // The same walk one step at a time, for a dialog that stays open: Begin, then NextQuestion
    // (selects the word; nothing when the walk is over, "Change All" words are changed on the
    // way) and Answer, until NextQuestion has nothing more. Answer returns the words changed.
    void Begin();
    std::optional<SpellQuestion> NextQuestion(SpellTarget& target);
    int Answer(SpellTarget& target, const SpellDecision& decision);

private:
    struct Found {
        std::size_t start = 0;
        std::size_t length = 0;
        std::string word;
    };
    std::optional<Found> FindNext(const std::string& text) const;

    std::unique_ptr<SpellEngine> engine_;
    std::set<std::string> ignored_;   // "Ignore All" and added words, for engines that keep reporting them
    std::map<std::string, std::string> changeAll_;   // this walk's "Change All" answers
    std::optional<Found> pending_;   // the word asked about
    std::size_t position_ = 0;       // where the walk goes on
    int rounds_ = 0;
    int changes_ = 0;                // made by NextQuestion on its own ("Change All")
    bool finished_ = false;
    bool stopped_ = false;
};

}  // namespace pagelark

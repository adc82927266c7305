#include "window/spell_checker.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

using namespace pagelark;

namespace {

// Knows a handful of words; every other run of letters is misspelt.
class FakeEngine : public SpellEngine {
public:
    std::set<std::string> known = {"see", "you", "at", "the", "station", "tomorrow", "Grüße"};
    std::set<std::string> languages = {"en-US", "de-DE"};
    std::string language, userDictionary, fallbackDictionary;
    std::vector<std::string> added, ignoredWords;
    bool registerFails = false;
    std::vector<SpellError> extraErrors;   // reported as given, even when nonsense

    bool SetLanguage(const std::string& tag) override {
        language = tag;
        return languages.count(tag) != 0;
    }
    bool RegisterUserDictionary(const std::string& path, const std::string& fallbackPath) override {
        fallbackDictionary = fallbackPath;
        userDictionary = path;
        return !registerFails;
    }
    std::vector<SpellError> Check(const std::string& text) override {
        std::vector<SpellError> errors = extraErrors;
        std::size_t i = 0;
        while (i < text.size()) {
            if (!IsLetter(text[i])) { ++i; continue; }
            std::size_t end = i;
            while (end < text.size() && IsLetter(text[end])) ++end;
            const std::string word = text.substr(i, end - i);
            if (!known.count(word) && !ignoredSet.count(word)) errors.push_back({i, end - i});
            i = end;
        }
        return errors;
    }
    std::vector<std::string> Suggest(const std::string& word) override {
        if (word == "tomorow") return {"tomorrow", "morrow"};
        if (word == "stasion") return {"station"};
        return {};
    }
    void Add(const std::string& word) override { added.push_back(word), known.insert(word); }
    void Ignore(const std::string& word) override { ignoredWords.push_back(word), ignoredSet.insert(word); }

private:
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c & 0x80); }
    std::set<std::string> ignoredSet;
};

class StringTarget : public SpellTarget {
public:
    explicit StringTarget(std::string t) : text(std::move(t)) {}
    std::string text;
    std::vector<std::pair<std::size_t, std::size_t>> selections;
    std::string Text() override { return text; }
    void Select(std::size_t start, std::size_t length) override { selections.emplace_back(start, length); }
    void Replace(std::size_t start, std::size_t length, const std::string& r) override { text.replace(start, length, r); }
};

class ScriptedPrompt : public SpellPrompt {
public:
    std::deque<SpellDecision> answers;
    std::vector<std::string> asked;
    std::vector<std::vector<std::string>> offered;
    SpellDecision Ask(const std::string& word, const std::vector<std::string>& suggestions) override {
        asked.push_back(word);
        offered.push_back(suggestions);
        if (answers.empty()) return {SpellDecision::Kind::Stop, {}};
        SpellDecision d = answers.front();
        answers.pop_front();
        return d;
    }
};

SpellDecision Change(std::string to) { return {SpellDecision::Kind::Change, std::move(to)}; }
SpellDecision Just(SpellDecision::Kind kind) { return {kind, {}}; }

struct Checker {
    FakeEngine* engine = nullptr;
    CSpellChecker checker;
    explicit Checker(const char* lexicon = "SpellUS.lex") {
        auto owned = std::make_unique<FakeEngine>();
        engine = owned.get();
        checker.Initialize(std::move(owned), "C:\\Program Files\\Pagelark", lexicon, "C:\\Users\\ann\\AppData\\Roaming\\Pagelark");
    }
};

}  // namespace

TEST(SpellChecker, LexiconNamesTheLanguageUnknownOnesSwitchCheckingOff) {
    EXPECT_EQ(LanguageTagForLexicon("SpellUS.lex"), "en-US");
    EXPECT_EQ(LanguageTagForLexicon("SpellGER.lex"), "de-DE");
    EXPECT_EQ(LanguageTagForLexicon("spellfra.LEX"), "fr-FR");
    EXPECT_EQ(LanguageTagForLexicon("SpellITA.lex"), "it-IT");
    EXPECT_EQ(LanguageTagForLexicon("SpellNL.lex"), "nl-NL");
    EXPECT_EQ(LanguageTagForLexicon("SpellESP.lex"), "es-ES");
    EXPECT_FALSE(LanguageTagForLexicon("").has_value());
    EXPECT_FALSE(LanguageTagForLexicon("SpellXX.lex").has_value());

    Checker german("SpellGER.lex");
    EXPECT_TRUE(german.checker.IsAvailable());
    EXPECT_EQ(german.engine->language, "de-DE");
    EXPECT_NE(german.engine->userDictionary.find("Dictionaries"), std::string::npos);
    EXPECT_TRUE(german.engine->userDictionary.ends_with("custom.dic"));
    EXPECT_TRUE(german.engine->fallbackDictionary.starts_with("C:\\Users\\ann\\AppData\\Roaming\\Pagelark"));
    EXPECT_TRUE(german.engine->fallbackDictionary.ends_with("custom.dic"));

    CSpellChecker unknown;
    EXPECT_FALSE(unknown.Initialize(std::make_unique<FakeEngine>(), "C:\\P", "SpellXX.lex"));
    EXPECT_FALSE(unknown.IsAvailable());
    CSpellChecker noEngine;
    EXPECT_FALSE(noEngine.Initialize(nullptr, "C:\\P", "SpellUS.lex"));
    auto withoutItalian = std::make_unique<FakeEngine>();
    CSpellChecker italian;
    EXPECT_FALSE(italian.Initialize(std::move(withoutItalian), "C:\\P", "SpellITA.lex"));
}

TEST(SpellChecker, OffCheckerAsksNothingAndChangesNothing) {
    CSpellChecker off;
    StringTarget target("see yu");
    ScriptedPrompt prompt;
    EXPECT_EQ(off.Check(target, prompt), 0);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(target.text, "see yu");
}

TEST(SpellChecker, UserDictionaryFailureKeepsCheckingOn) {
    auto engine = std::make_unique<FakeEngine>();
    engine->registerFails = true;
    CSpellChecker checker;
    EXPECT_TRUE(checker.Initialize(std::move(engine), "C:\\P", "SpellUS.lex"));
}

TEST(SpellChecker, CorrectionsAreWrittenInPlaceInTextOrder) {
    Checker c;
    StringTarget target("see yu at the stasion tomorow");
    ScriptedPrompt prompt;
    prompt.answers = {Change("you"), Change("station"), Change("tomorrow")};
    EXPECT_EQ(c.checker.Check(target, prompt), 3);
    EXPECT_TRUE(c.checker.LastCheckFinished());
    EXPECT_EQ(target.text, "see you at the station tomorrow");
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"yu", "stasion", "tomorow"}));
    EXPECT_EQ(prompt.offered[2], (std::vector<std::string>{"tomorrow", "morrow"}));
    // Each word was selected before the question; offsets follow the earlier, longer correction.
    ASSERT_EQ(target.selections.size(), 3u);
    EXPECT_EQ(target.selections[0], (std::pair<std::size_t, std::size_t>{4, 2}));
    EXPECT_EQ(target.selections[1], (std::pair<std::size_t, std::size_t>{15, 7}));
}

TEST(SpellChecker, IgnoreSkipsOnceIgnoreAllAndAddSkipEveryLaterOccurrence) {
    Checker c;
    StringTarget target("Pagelark xx Pagelark xx yy yy");
    ScriptedPrompt prompt;
    prompt.answers = {Just(SpellDecision::Kind::Add), Just(SpellDecision::Kind::Ignore),
                      Just(SpellDecision::Kind::IgnoreAll), Just(SpellDecision::Kind::Ignore),
                      Just(SpellDecision::Kind::Ignore)};
    EXPECT_EQ(c.checker.Check(target, prompt), 0);
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"Pagelark", "xx", "xx", "yy", "yy"}));
    EXPECT_EQ(c.engine->added, (std::vector<std::string>{"Pagelark"}));
    EXPECT_EQ(c.engine->ignoredWords, (std::vector<std::string>{"xx"}));
    EXPECT_EQ(target.text, "Pagelark xx Pagelark xx yy yy");
}

TEST(SpellChecker, StopEndsAtOnceAndKeepsEarlierChanges) {
    Checker c;
    StringTarget target("yu stasion tomorow");
    ScriptedPrompt prompt;
    prompt.answers = {Change("you"), Just(SpellDecision::Kind::Stop)};
    EXPECT_EQ(c.checker.Check(target, prompt), 1);
    EXPECT_FALSE(c.checker.LastCheckFinished());
    EXPECT_EQ(target.text, "you stasion tomorow");
    EXPECT_EQ(prompt.asked.size(), 2u);
}

TEST(SpellChecker, MultiByteWordsAndEngineNonsenseAreHandledSafely) {
    Checker c;
    c.engine->extraErrors = {{500, 3}, {2, 0}, {0, 999}, {static_cast<std::size_t>(-1), 2}};
    StringTarget target("Grüße, Grüsse");
    ScriptedPrompt prompt;
    prompt.answers = {Change("Grüße")};
    EXPECT_EQ(c.checker.Check(target, prompt), 1);
    EXPECT_EQ(target.text, "Grüße, Grüße");
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"Grüsse"}));
}

TEST(SpellChecker, AnEngineThatKeepsReportingTheSameWordCannotHangTheWindow) {
    Checker c;
    c.engine->extraErrors = {{0, 2}};   // "ab" stays misspelt whatever happens
    StringTarget target("ab");
    ScriptedPrompt prompt;
    for (int i = 0; i < 20000; ++i) prompt.answers.push_back(Change(""));
    prompt.answers.front() = Change("ab");   // changed into itself: the walk moves past it
    EXPECT_EQ(c.checker.Check(target, prompt), 0);
    EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST(SpellChecker, ChangeAllCorrectsEveryLaterOccurrenceWithoutAsking) {
    Checker c;
    StringTarget target("yu at yu at stasion yu");
    ScriptedPrompt prompt;
    prompt.answers = {{SpellDecision::Kind::ChangeAll, "you"}, Just(SpellDecision::Kind::Ignore)};
    EXPECT_EQ(c.checker.Check(target, prompt), 3);
    EXPECT_TRUE(c.checker.LastCheckFinished());
    EXPECT_EQ(target.text, "you at you at stasion you");
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"yu", "stasion"}));
    // A new walk forgets the last one's "Change All".
    StringTarget again("yu");
    prompt.answers = {Just(SpellDecision::Kind::Ignore)};
    EXPECT_EQ(c.checker.Check(again, prompt), 0);
    EXPECT_EQ(again.text, "yu");
}

TEST(SpellChecker, StepByStepWalkReportsTheEndOnlyWhenTheTextIsThrough) {
    Checker c;
    StringTarget target("see yu");
    c.checker.Begin();
    auto question = c.checker.NextQuestion(target);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->word, "yu");
    EXPECT_FALSE(c.checker.LastCheckFinished());
    EXPECT_EQ(c.checker.Answer(target, {SpellDecision::Kind::Stop, {}}), 0);
    EXPECT_FALSE(c.checker.NextQuestion(target).has_value());
    EXPECT_FALSE(c.checker.LastCheckFinished());
    // Answering without a pending question changes nothing.
    EXPECT_EQ(c.checker.Answer(target, Change("x")), 0);
    EXPECT_EQ(target.text, "see yu");
}

// The product's spelling engine with the lexicons the build makes from Debian's dictionaries.
#include "window/hunspell_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/files.h"
#include "window/lexicon_file.h"
#include "window/spell_words.h"

using namespace pagelark;

namespace {

std::string LexiconDir() {
    std::string dir = PAGELARK_LEXICON_DIR;
#ifdef _WIN32
    if (dir.starts_with('/')) dir = "Z:" + dir;
#endif
    return dir;
}

// A private folder per test for the unpacked lexicons and the user dictionary.
struct Scratch {
    Scratch() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() / ("pagelark-spell-" + std::string(info->name()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string Folder() const { return path.string(); }
    std::string File(const char* name) const { return (path / name).string(); }
    std::filesystem::path path;
};

std::vector<std::string> Misspelt(SpellEngine& engine, const std::string& text) {
    std::vector<std::string> words;
    for (const SpellError& e : engine.Check(text)) words.push_back(text.substr(e.start, e.length));
    return words;
}

bool Contains(const std::vector<std::string>& list, const std::string& word) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

}  // namespace

TEST(SpellWords, WordsOfAMessageAndWhatIsLeftOut) {
    const std::string text = "Liebe Grüße, don't l'homme E-Mail 2x a SMS4 mail@example.org www.telvoro.com «Köln»—ok!";
    std::vector<std::string> words;
    for (const WordSpan& w : FindWords(text)) words.push_back(text.substr(w.start, w.length));
    EXPECT_EQ(words, (std::vector<std::string>{"Liebe", "Grüße", "don't", "l'homme", "E-Mail", "Köln", "ok"}));
    // Typographic apostrophe inside a word, joiners at the edges, broken UTF-8.
    const std::string more = "it\xE2\x80\x99s -word- 'quoted' ab\xFF\xFE" "cd";
    words.clear();
    for (const WordSpan& w : FindWords(more)) words.push_back(more.substr(w.start, w.length));
    EXPECT_EQ(words, (std::vector<std::string>{"it\xE2\x80\x99s", "word", "quoted", "ab", "cd"}));
    EXPECT_TRUE(FindWords("").empty());
}

TEST(LexiconFile, PartsComeBackWholeAndDamagedFilesAreRefused) {
    const std::string joined = JoinLexicon("SET UTF-8\n", "1\nWort\n");
    const auto parts = SplitLexicon(joined);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->affixes, "SET UTF-8\n");
    EXPECT_EQ(parts->words, "1\nWort\n");
    EXPECT_FALSE(SplitLexicon(joined.substr(0, joined.size() - 1)).has_value());   // cut short
    EXPECT_FALSE(SplitLexicon(joined + "x").has_value());
    EXPECT_FALSE(SplitLexicon("SET UTF-8\n").has_value());                         // a bare affix file
    EXPECT_FALSE(SplitLexicon("PAGELARK-LEXICON 1\n99999999999999999999999 1\nx").has_value());
    EXPECT_FALSE(SplitLexicon("PAGELARK-LEXICON 1\n-1 2\nabc").has_value());
    EXPECT_FALSE(SplitLexicon("").has_value());
}

TEST(HunspellEngine, EnglishWordsAreCheckedAndMisspeltOnesGetSuggestions) {
    Scratch scratch;
    auto engine = CreateHunspellEngine(JoinPath(LexiconDir(), "SpellUS.lex"), scratch.Folder());
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(Misspelt(*engine, "See you at the station tomorow, don't be late."),
              (std::vector<std::string>{"tomorow"}));
    EXPECT_TRUE(Contains(engine->Suggest("tomorow"), "tomorrow"));
    // A typographic apostrophe is as good as a straight one.
    EXPECT_TRUE(Misspelt(*engine, "don\xE2\x80\x99t").empty());
}

TEST(HunspellEngine, GermanSharpSIsAcceptedAndOfferedForSs) {
    Scratch scratch;
    auto engine = CreateHunspellEngine(JoinPath(LexiconDir(), "SpellGER.lex"), scratch.Folder());
    ASSERT_NE(engine, nullptr);
    EXPECT_TRUE(Misspelt(*engine, "Viele Grüße aus Köln").empty());
    EXPECT_EQ(Misspelt(*engine, "Viele Grüsse"), (std::vector<std::string>{"Grüsse"}));
    EXPECT_TRUE(Contains(engine->Suggest("Grüsse"), "Grüße"));
}

TEST(HunspellEngine, EveryLexiconOfTheLanguageTableLoadsAndKnowsItsLanguage) {
    Scratch scratch;
    const std::pair<const char*, const char*> samples[] = {
        {"SpellESP.lex", "Mañana llegaré a la estación"},  {"SpellFRA.lex", "Je t'attendrai à la gare demain"},
        {"SpellITA.lex", "Ci vediamo domani alla stazione"}, {"SpellNL.lex", "Ik zie je morgen op het station"},
    };
    for (const auto& [lexicon, sentence] : samples) {
        auto engine = CreateHunspellEngine(JoinPath(LexiconDir(), lexicon), scratch.Folder());
        ASSERT_NE(engine, nullptr) << lexicon;
        EXPECT_TRUE(Misspelt(*engine, sentence).empty()) << lexicon;
        EXPECT_EQ(Misspelt(*engine, std::string(sentence) + " qwxzt").size(), 1u) << lexicon;
    }
}

TEST(HunspellEngine, UserDictionaryIsReadAndAddedWordsAreAppendedForTheNextWindow) {
    Scratch scratch;
    const std::string lexicon = JoinPath(LexiconDir(), "SpellUS.lex");
    const std::string custom = scratch.File("custom.dic");
    {
        std::ofstream out(custom, std::ios::binary);
        out << "\xEF\xBB\xBF" "Telvoro\r\n# a comment\r\n\r\nQuillbridge  \n";
    }
    auto first = CreateHunspellEngine(lexicon, scratch.Folder());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->RegisterUserDictionary(custom, {}));
    EXPECT_TRUE(Misspelt(*first, "Telvoro Quillbridge").empty());
    EXPECT_EQ(Misspelt(*first, "Pagelarkish"), (std::vector<std::string>{"Pagelarkish"}));
    first->Add("Pagelarkish");
    first->Ignore("Zorbix");
    EXPECT_TRUE(Misspelt(*first, "Pagelarkish Zorbix").empty());

    const auto bytes = ReadFileBytes(custom);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_NE(bytes->find("Quillbridge  \nPagelarkish\r\n"), std::string::npos);

    auto next = CreateHunspellEngine(lexicon, scratch.Folder());
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->RegisterUserDictionary(custom, {}));
    EXPECT_TRUE(Misspelt(*next, "Pagelarkish").empty());
    EXPECT_EQ(Misspelt(*next, "Zorbix"), (std::vector<std::string>{"Zorbix"}));   // ignoring stays with its window
}

TEST(HunspellEngine, AddedWordGoesToThePersonalDictionaryWhenTheProgramFolderCannotBeWritten) {
    Scratch scratch;
    const std::string lexicon = JoinPath(LexiconDir(), "SpellUS.lex");
    // A folder that is not there stands for a program folder a standard user cannot write.
    const std::string shared = JoinPath(scratch.File("no-such-folder"), "custom.dic");
    const std::string personal = JoinPath(scratch.File("Roaming"), "custom.dic");
    auto first = CreateHunspellEngine(lexicon, scratch.Folder());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->RegisterUserDictionary(shared, personal));
    first->Add("Glimmerquark");
    EXPECT_EQ(ReadFileBytes(personal), std::optional<std::string>("Glimmerquark\r\n"));
    EXPECT_FALSE(FileExists(shared));

    // The next window reads both lists (words added here are shared by the process's engines,
    // so the lists get words of their own).
    const std::string writable = scratch.File("custom.dic");
    {
        std::ofstream out(writable, std::ios::binary);
        out << "Sharedword\r\n";
        std::ofstream more(personal, std::ios::binary | std::ios::app);
        more << "Personalword\r\n";
    }
    auto next = CreateHunspellEngine(lexicon, scratch.Folder());
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->RegisterUserDictionary(writable, personal));
    EXPECT_TRUE(Misspelt(*next, "Glimmerquark Sharedword Personalword").empty());
    // Where the program folder can be written, added words still go there.
    next->Add("Frobnitzel");
    EXPECT_EQ(ReadFileBytes(writable), std::optional<std::string>("Sharedword\r\nFrobnitzel\r\n"));
    EXPECT_EQ(ReadFileBytes(personal), std::optional<std::string>("Glimmerquark\r\nPersonalword\r\n"));
}

TEST(HunspellEngine, MissingOrDamagedLexiconsGiveNoEngine) {
    Scratch scratch;
    EXPECT_EQ(CreateHunspellEngine(scratch.File("SpellXX.lex"), scratch.Folder()), nullptr);
    const std::string damaged = scratch.File("Damaged.lex");
    {
        std::ofstream out(damaged, std::ios::binary);
        out << "PAGELARK-LEXICON 1\n10 10\nshort";
    }
    EXPECT_EQ(CreateHunspellEngine(damaged, scratch.Folder()), nullptr);
    // No user dictionary yet is fine: the first "Add" makes it.
    auto engine = CreateHunspellEngine(JoinPath(LexiconDir(), "SpellUS.lex"), scratch.Folder());
    ASSERT_NE(engine, nullptr);
    EXPECT_TRUE(engine->RegisterUserDictionary(scratch.File("none.dic"), scratch.File("nor-this.dic")));
}

#include "window/hunspell_engine.h"

#include <hunspell.hxx>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

#include "common/files.h"
#include "window/lexicon_file.h"
#include "window/spell_words.h"

namespace pagelark {
namespace {

std::filesystem::path ToPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

// Writes `bytes` to `path` unless a file of that size is already there (its name carries the
// lexicon's digest, so an equal size means equal content). Written under a temporary name first.
bool WritePart(const std::string& path, std::string_view bytes) {
    std::error_code ec;
    if (std::filesystem::file_size(ToPath(path), ec) == bytes.size() && !ec) return true;
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(ToPath(temporary), std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
    }
    std::filesystem::rename(ToPath(temporary), ToPath(path), ec);
    if (ec) std::filesystem::remove(ToPath(temporary), ec);
    return FileExists(path);
}

// One loaded lexicon, shared by the engines of every window of its language (UI thread).
struct LoadedLexicon {
    std::unique_ptr<Hunspell> hunspell;
    std::set<std::string> userWords;   // already given to Hunspell
};

std::shared_ptr<LoadedLexicon> LoadLexicon(const std::string& lexiconPath, const std::string& workFolder) {
    static std::mutex lock;
    static std::map<std::string, std::shared_ptr<LoadedLexicon>> loaded;
    const std::optional<std::string> bytes = ReadFileBytes(lexiconPath);
    if (!bytes) return nullptr;
    const std::optional<LexiconParts> parts = SplitLexicon(*bytes);
    if (!parts) return nullptr;
    const std::string name = ToPath(lexiconPath).stem().string() + "-" + std::to_string(Fnv1a(*bytes));
    const std::string affixPath = JoinPath(workFolder, name + ".aff");
    const std::string wordsPath = JoinPath(workFolder, name + ".dic");

    const std::scoped_lock guard(lock);
    if (auto found = loaded.find(name); found != loaded.end()) return found->second;
    if (!WritePart(affixPath, parts->affixes) || !WritePart(wordsPath, parts->words)) return nullptr;
    auto lexicon = std::make_shared<LoadedLexicon>();
    lexicon->hunspell = std::make_unique<Hunspell>(affixPath.c_str(), wordsPath.c_str());
    loaded.emplace(name, lexicon);
    return lexicon;
}

// Hunspell's lexicons write the apostrophe as U+0027; typed text often has U+2019.
std::string StraightApostrophes(const std::string& word) {
    constexpr std::string_view kTypographic = "\xE2\x80\x99";
    std::string out;
    out.reserve(word.size());
    for (std::size_t at = 0; at < word.size();) {
        if (std::string_view(word).substr(at, kTypographic.size()) == kTypographic) {
            out.push_back('\'');
            at += kTypographic.size();
        } else {
            out.push_back(word[at++]);
        }
    }
    return out;
}

class HunspellEngine : public SpellEngine {
public:
    explicit HunspellEngine(std::shared_ptr<LoadedLexicon> lexicon) : lexicon_(std::move(lexicon)) {}

    bool SetLanguage(const std::string&) override { return true; }   // the lexicon is the language

    bool RegisterUserDictionary(const std::string& path, const std::string& fallbackPath) override {
        userDictionary_ = path;
        fallbackDictionary_ = fallbackPath;
        const bool shared = ReadWords(path);
        return (fallbackPath.empty() || ReadWords(fallbackPath)) && shared;
    }

    std::vector<SpellError> Check(const std::string& text) override {
        std::vector<SpellError> errors;
        for (const WordSpan& span : FindWords(text)) {
            const std::string word = text.substr(span.start, span.length);
            if (ignored_.count(word) || lexicon_->hunspell->spell(StraightApostrophes(word))) continue;
            errors.push_back({span.start, span.length});
        }
        return errors;
    }

    std::vector<std::string> Suggest(const std::string& word) override {
        return lexicon_->hunspell->suggest(StraightApostrophes(word));
    }

    void Add(const std::string& word) override {
        Learn(word);
        if (userDictionary_.empty() || word.find_first_of("\r\n") != std::string::npos) return;
        if (AppendWord(userDictionary_, word) || fallbackDictionary_.empty()) return;
        std::error_code ec;
        std::filesystem::create_directories(ToPath(fallbackDictionary_).parent_path(), ec);
        AppendWord(fallbackDictionary_, word);
    }

    void Ignore(const std::string& word) override { ignored_.insert(word); }

private:
    // True when there is no such file yet (the first "Add" makes it) or it was read.
    bool ReadWords(const std::string& path) {
        const std::optional<std::string> bytes = ReadFileBytes(path);
        if (!bytes) return !FileExists(path);
        std::string_view text(*bytes);
        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
                line.remove_suffix(1);
            if (!line.empty() && line.front() != '#') Learn(std::string(line));
        }
        return true;
    }

    // Appended, so words that another window added meanwhile are kept.
    static bool AppendWord(const std::string& path, const std::string& word) {
        std::ofstream out(ToPath(path), std::ios::binary | std::ios::app);
        return out && (out << word << "\r\n") && out.flush();
    }

    void Learn(const std::string& word) {
        if (lexicon_->userWords.insert(word).second) lexicon_->hunspell->add(StraightApostrophes(word));
    }

    std::shared_ptr<LoadedLexicon> lexicon_;
    std::set<std::string> ignored_;
    std::string userDictionary_;
    std::string fallbackDictionary_;
};

}  // namespace

std::unique_ptr<SpellEngine> CreateHunspellEngine(const std::string& lexiconPath, const std::string& workFolder) {
    std::shared_ptr<LoadedLexicon> lexicon = LoadLexicon(lexiconPath, workFolder);
    if (!lexicon) return nullptr;
    return std::make_unique<HunspellEngine>(std::move(lexicon));
}

}  // namespace pagelark

// Every menu of the message window, in every language: each access key used once per menu level.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/text_encoding.h"

namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(PAGELARK_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// key -> language -> text, from a texts file.
std::map<std::string, std::map<std::string, std::string>> ReadTexts(const std::string& relative) {
    std::map<std::string, std::map<std::string, std::string>> texts;
    std::istringstream lines(ReadSource(relative));
    std::string line, key, name;
    // "[key]" or "[number NAME]"; a named text is found under both.
    const std::regex keyLine(R"(^\[([A-Za-z0-9_.\-]+)(?: ([A-Z][A-Z0-9_]*))?\]\s*$)"), textLine(R"(^([a-z]{2}): ?(.*)$)");
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, m, keyLine)) {
            key = m[1];
            name = m[2];
        } else if (std::regex_match(line, m, textLine) && !key.empty()) {
            texts[key][m[1]] = m[2];
            if (!name.empty()) texts[name][m[1]] = m[2];
        }
    }
    return texts;
}

// The menu levels of a template: each POPUP's direct items, and the bar itself, as lists of keys.
std::vector<std::vector<std::string>> MenuLevels(const std::string& templ, const std::string& menuId) {
    std::vector<std::vector<std::string>> done, open;
    std::istringstream lines(templ);
    std::string line;
    bool inMenu = false;
    const std::regex item(R"(^\s*(POPUP|MENUITEM)\s+\{\{([A-Za-z0-9_.\-]+)\}\})");
    std::smatch m;
    while (std::getline(lines, line)) {
        if (!inMenu) {
            inMenu = line.rfind(menuId + " MENU", 0) == 0;
            continue;
        }
        // Whole-line keywords: command names such as ID_SEND contain "END".
        const std::string word = std::regex_replace(line, std::regex(R"(^\s+|\s+$)"), "");
        if (word == "BEGIN") open.emplace_back();
        else if (word == "END") {
            done.push_back(open.back());
            open.pop_back();
            if (open.empty()) break;
        } else if (std::regex_search(line, m, item) && !open.empty()) {
            open.back().push_back(m[2]);
        }
    }
    return done;
}

char32_t AccessKey(const std::string& utf8) {
    const std::u32string text = pagelark::DecodeUtf8(utf8);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != U'&') continue;
        if (text[i + 1] == U'&') { ++i; continue; }
        const char32_t c = text[i + 1];
        return c < 128 ? static_cast<char32_t>(std::tolower(static_cast<int>(c))) : c;
    }
    return 0;
}

}  // namespace

TEST(UiAccessKeys, NoMenuLevelUsesAnAccessKeyTwiceInAnyLanguage) {
    const auto texts = ReadTexts("resources/texts/toolkit.txt");
    const std::string templ = ReadSource("resources/templates/toolkit.rc.in");
    ASSERT_FALSE(texts.empty());
    for (const char* menu : {"IDR_MAINFRAME", "IDR_EXPRESS"}) {
        const auto levels = MenuLevels(templ, menu);
        ASSERT_EQ(levels.size(), 5u) << menu;  // four popups and the bar
        for (const auto& level : levels) {
            for (const char* language : {"en", "de", "fr", "it", "nl", "es"}) {
                std::set<char32_t> used;
                for (const std::string& key : level) {
                    ASSERT_TRUE(texts.count(key)) << key;
                    const char32_t accessKey = AccessKey(texts.at(key).at(language));
                    if (accessKey == 0) continue;
                    EXPECT_TRUE(used.insert(accessKey).second)
                        << "menu " << menu << ", " << language << ": '" << texts.at(key).at(language) << "'";
                }
            }
        }
    }
}

TEST(UiAccessKeys, SpellingMenuChoicesHaveDistinctKeys) {
    const auto texts = ReadTexts("resources/texts/toolkit.txt");
    for (const char* language : {"en", "de", "fr", "it", "nl", "es"}) {
        std::set<char32_t> used;
        for (const char* key : {"IDS_SPELL_IGNORE", "IDS_SPELL_IGNORE_ALL", "IDS_SPELL_ADD", "IDS_SPELL_STOP"}) {
            const char32_t accessKey = AccessKey(texts.at(key).at(language));
            EXPECT_NE(accessKey, 0u) << key << " " << language;
            EXPECT_TRUE(used.insert(accessKey).second) << key << " " << language;
        }
    }
}

#pragma once
// The language table: each of the six languages with its identifiers and data file names.
#include <cstdint>
#include <string>
#include <string_view>

namespace pagelark {

struct LanguageInfo {
    std::uint32_t locale = 1033;      // thread locale (selects resources)
    std::uint16_t langId = 1033;      // language of the resources
    std::uint16_t key = 9;            // Windows primary language number, the `Language` setting
    std::string webCode = "eng";      // lang= / language= of the service and its web site
    std::string localeName = "English";
    std::string helpFile = "telvoro_en.chm";
    std::string termsFile = "license_agb_eng.txt";
    std::string lexiconFile = "SpellUS.lex";
    std::string countryFile = "land_codes_en.txt";
};

// The row of `key`; English for a key not in the table.
LanguageInfo LanguageForKey(int key);

// The `Language` key of a language identifier: its primary language (low ten bits).
int LanguageKeyOf(std::uint16_t langId);

// "<programDir>\Help\<helpFile>", always with backslashes: a Windows path by contract.
std::string HelpFilePath(std::string_view programDir, std::string_view helpFile);

}  // namespace pagelark

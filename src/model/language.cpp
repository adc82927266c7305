#include "model/language.h"

#include <array>

namespace pagelark {
namespace {

const std::array<LanguageInfo, 6> kLanguages = {{
    {66567, 1031, 7, "de", "German", "telvoro_de.chm", "license_agb_de.txt", "SpellGER.lex", "land_codes_de.txt"},
    {1033, 1033, 9, "eng", "English", "telvoro_en.chm", "license_agb_eng.txt", "SpellUS.lex", "land_codes_en.txt"},
    {3082, 3082, 10, "es", "Spanish", "telvoro_es.chm", "license_agb_es.txt", "SpellESP.lex", "land_codes_es.txt"},
    {1036, 1036, 12, "fr", "French", "telvoro_fr.chm", "license_agb_fr.txt", "SpellFRA.lex", "land_codes_fr.txt"},
    {1040, 1040, 16, "it", "Italian", "telvoro_ita.chm", "license_agb_ita.txt", "SpellITA.lex", "land_codes_it.txt"},
    {1043, 1043, 19, "nl", "Dutch", "telvoro_nl.chm", "license_agb_nl.txt", "SpellNL.lex", "land_codes_nl.txt"},
}};

}  // namespace

LanguageInfo LanguageForKey(int key) {
    for (const LanguageInfo& row : kLanguages)
        if (row.key == key) return row;
    return kLanguages[1];
}

}  // namespace pagelark

namespace pagelark {

int LanguageKeyOf(std::uint16_t langId) { return langId & 0x3FF; }

std::string HelpFilePath(std::string_view programDir, std::string_view helpFile) {
    std::string path(programDir);
    path += "\\Help\\";
    path += helpFile;
    return path;
}

}  // namespace pagelark

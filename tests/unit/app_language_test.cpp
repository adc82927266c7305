#include <gtest/gtest.h>

#include "app/command_line.h"
#include "model/language.h"
#include "app/version_text.h"

namespace pagelark {
namespace {

TEST(AppLanguage, ChoiceFromTheUserDefaultLanguage) {
    EXPECT_EQ(LanguageForKey(LanguageKeyOf(0x0416)).key, 9);  // Portuguese (Brazil) -> English
    EXPECT_EQ(LanguageForKey(LanguageKeyOf(0x0816)).key, 9);  // Portuguese (Portugal)
    EXPECT_EQ(LanguageKeyOf(0x0807), 7);                      // Swiss German
    EXPECT_EQ(LanguageForKey(LanguageKeyOf(0x0807)).langId, 1031);
    EXPECT_EQ(LanguageForKey(LanguageKeyOf(0x080C)).key, 12);  // Belgian French
    EXPECT_EQ(LanguageForKey(LanguageKeyOf(0x2C0A)).key, 10);  // Argentine Spanish
}

TEST(AppLanguage, TableRowsWithTheirIrregularNames) {
    LanguageInfo fresh;
    EXPECT_EQ(fresh.key, 9);
    EXPECT_EQ(fresh.webCode, "eng");
    LanguageInfo it = LanguageForKey(16);
    EXPECT_EQ(it.helpFile, "telvoro_ita.chm");
    EXPECT_EQ(it.termsFile, "license_agb_ita.txt");
    EXPECT_EQ(it.countryFile, "land_codes_it.txt");
    LanguageInfo de = LanguageForKey(7);
    EXPECT_EQ(de.locale, 66567u);
    EXPECT_EQ(de.lexiconFile, "SpellGER.lex");
    EXPECT_EQ(LanguageForKey(10).langId, 3082);
    EXPECT_EQ(LanguageForKey(19).webCode, "nl");
    for (int unknown : {0, 8, 22, -1, 1031, 0x3FF}) EXPECT_EQ(LanguageForKey(unknown).key, 9) << unknown;
}

TEST(AppLanguage, HelpPathUsesTheHelpFolder) {
    EXPECT_EQ(HelpFilePath("C:\\Program Files\\Pagelark", LanguageForKey(16).helpFile),
              "C:\\Program Files\\Pagelark\\Help\\telvoro_ita.chm");
}

TEST(AppVersionText, CommasBecomePointsAndBlanksStay) {
    EXPECT_EQ(VersionTextFromFileVersion("1, 2, 0, 75"), "1. 2. 0. 75");
    EXPECT_EQ(VersionTextFromFileVersion("1.2.0.75"), "1.2.0.75");
    EXPECT_EQ(VersionTextFromFileVersion(""), "");
    EXPECT_EQ(VersionTextFromFileVersion(",,"), "..");
}

TEST(AppCommandLine, SwitchesAreCaseSensitiveSubstrings) {
    EXPECT_TRUE(HasSwitch("\"C:\\Pagelark.exe\" /auto", kAutoSwitch));
    EXPECT_TRUE(HasSwitch("Pagelark.exe x/configx", kConfigSwitch));
    EXPECT_TRUE(HasSwitch("/autorun", kAutoSwitch));
    EXPECT_FALSE(HasSwitch("Pagelark.exe /AUTO", kAutoSwitch));
    EXPECT_FALSE(HasSwitch("Pagelark.exe -config", kConfigSwitch));
    EXPECT_FALSE(HasSwitch("", kConfigSwitch));
}

}  // namespace
}  // namespace pagelark

#include "model/settings.h"
#include "common/files.h"
#include "numbers/dialling_codes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

using namespace pagelark;

namespace {

// A program folder with a Data subfolder, removed again at the end of the test.
class ProgramFolder {
public:
    ProgramFolder() {
        std::random_device random;
        dir_ = std::filesystem::temp_directory_path() / ("pagelark_numbers_" + std::to_string(random()));
        std::filesystem::create_directories(dir_ / "Data");
    }
    ~ProgramFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / "Data" / name, std::ios::binary) << bytes;
    }
    std::string Path() const {
        const std::u8string text = dir_.u8string();
        return std::string(text.begin(), text.end());
    }

private:
    std::filesystem::path dir_;
};

std::vector<std::string> Codes(const CountryList& list) {
    std::vector<std::string> codes;
    for (const CountryCode& row : list) codes.push_back(row.code);
    return codes;
}

}  // namespace

TEST(NumbersBuiltInLists, CountryListHasItsRowsAndDuplicates) {
    const CountryList& list = BuiltInCountryList();
    ASSERT_EQ(list.size(), 71u);
    EXPECT_EQ(list.front().name, "Andorra");
    EXPECT_EQ(list.back().name, "Venezuela");
    const auto codes = Codes(list);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "1"), 12);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "44"), 4);
    for (const CountryCode& row : list) EXPECT_FALSE(row.name.empty() || row.code.empty());
}

TEST(NumbersBuiltInLists, CheckListRunsByLengthThenValue) {
    const CountryList& list = BuiltInCheckList();
    ASSERT_EQ(list.size(), 248u);
    const auto codes = Codes(list);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "1"), 18);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "7"), 2);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "39"), 2);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "269"), 2);
    for (size_t i = 1; i < codes.size(); ++i) {
        const auto& a = codes[i - 1];
        const auto& b = codes[i];
        EXPECT_TRUE(a.size() < b.size() || (a.size() == b.size() && a <= b)) << a << " before " << b;
    }
    EXPECT_EQ(list[Codes(list).size() - 6].code, "1345");
    EXPECT_EQ(list[Codes(list).size() - 6].name, "Cayman Islands");
    EXPECT_EQ(list[38].name, "Germany (Federal Republic of)");
}

TEST(NumbersCodeFile, LineRules) {
    const CountryList rows = ParseCodeFile(
        "United Kingdom;4 4\r\n"
        " Spaced ;34\r\n"
        "No code;\r\n"
        ";49\r\n"
        "\r\n"
        "no semicolon at all\n"
        "Odd;1;2\n"
        "Blanks only;   \n"
        "Last line without end;7");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].name, "United Kingdom");
    EXPECT_EQ(rows[0].code, "44");
    EXPECT_EQ(rows[1].name, " Spaced ");
    EXPECT_EQ(rows[2].code, "1;2");   // nothing but blanks is taken out of a code
    EXPECT_EQ(rows[3].code, "7");
}

TEST(NumbersCodeFile, Windows1252NamesBecomeUtf8) {
    const CountryList rows = ParseCodeFile("\xD6sterreich;43\r\nC\xF4te d'Ivoire;225\r\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "Österreich");
    EXPECT_EQ(rows[1].name, "Côte d'Ivoire");
}

TEST(NumbersCodeFile, FindCodePrefixTakesTheFirstRowNotTheLongest) {
    const CountryList& check = BuiltInCheckList();
    EXPECT_EQ(check[*FindCodePrefix(check, "13451234567")].code, "1");
    EXPECT_EQ(check[*FindCodePrefix(check, "4917112345")].code, "49");
    EXPECT_FALSE(FindCodePrefix(check, "0044123"));
    EXPECT_FALSE(FindCodePrefix(check, ""));
    const CountryList& countries = BuiltInCountryList();
    EXPECT_EQ(countries[*FindCodePrefix(countries, "442079460000")].name, "Guernsey");

    const CountryList four = ParseCodeFile("Four;4\r\nAustria;43\r\nGermany;49\r\n");
    EXPECT_EQ(*FindCodePrefix(four, "4366412345"), 0u);
    EXPECT_EQ(*FindCodePrefix(four, "491711234"), 0u);
    // A code longer than the digits does not match.
    EXPECT_FALSE(FindCodePrefix(ParseCodeFile("Cayman;1345\n"), "134"));
}

TEST(NumbersAccount, SplitAccountNumber) {
    Settings settings;
    settings.UserLandCode = "+43";
    settings.UserMobile = "6641234567";
    EXPECT_FALSE(SplitAccountNumber(BuiltInCountryList(), "00441234567", settings));
    EXPECT_EQ(settings.UserLandCode, "+43");
    EXPECT_EQ(settings.UserMobile, "6641234567");

    EXPECT_TRUE(SplitAccountNumber(BuiltInCountryList(), "+491711234567", settings));
    EXPECT_EQ(settings.UserLandCode, "+49");
    EXPECT_EQ(settings.UserMobile, "1711234567");

    EXPECT_TRUE(SplitAccountNumber(BuiltInCountryList(), "  ++ +4366412345", settings));
    EXPECT_EQ(settings.UserLandCode, "+43");
    EXPECT_EQ(settings.UserMobile, "66412345");

    EXPECT_FALSE(SplitAccountNumber(BuiltInCountryList(), " + ", settings));
    EXPECT_EQ(settings.UserLandCode, "+43");
}

TEST(NumbersAccount, DisplayName) {
    EXPECT_EQ(CountryDisplayName({"Germany", "49"}), "Germany (+49)");
    EXPECT_EQ(CountryDisplayName({"French West Indies (Martinique)", "596"}),
              "French West Indies (Martinique) (+596)");
}

TEST(NumbersLoading, CountryFileFallsBackToEnglishThenBuiltIn) {
    ProgramFolder folder;
    EXPECT_EQ(LoadCountryList(folder.Path(), "land_codes_it.txt").size(), 71u);

    folder.Write("land_codes_en.txt", "Germany;49\r\nItaly;39\r\n");
    const CountryList english = LoadCountryList(folder.Path(), "land_codes_it.txt");
    ASSERT_EQ(english.size(), 2u);
    EXPECT_EQ(english[1].name, "Italy");

    folder.Write("land_codes_it.txt", "Italia;39\r\n");
    EXPECT_EQ(LoadCountryList(folder.Path(), "land_codes_it.txt")[0].name, "Italia");

    // A file that exists but yields no row is not replaced by the English one.
    folder.Write("land_codes_it.txt", "no semicolons\r\nat all\r\n");
    const CountryList builtIn = LoadCountryList(folder.Path(), "land_codes_it.txt");
    ASSERT_EQ(builtIn.size(), 71u);
    EXPECT_EQ(builtIn[0].name, "Andorra");
}

TEST(NumbersLoading, CheckFileOrBuiltIn) {
    ProgramFolder folder;
    EXPECT_EQ(LoadCheckList(folder.Path()).size(), 248u);
    folder.Write("check_codes.txt", "Four;4\r\nGermany;49\r\n");
    const CountryList list = LoadCheckList(folder.Path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(*FindCodePrefix(list, "491711234567"), 0u);
    folder.Write("check_codes.txt", ";\r\n");
    EXPECT_EQ(LoadCheckList(folder.Path()).size(), 248u);
}

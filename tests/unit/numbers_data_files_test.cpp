// The dialling-code files shipped in data/Data, read the way the program reads them.
#include "common/files.h"
#include "common/text_encoding.h"
#include "numbers/dialling_codes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace pagelark;

namespace {

// The source tree's data folder; under Wine the Linux path is reached through drive Z:.
std::string ShippedProgramDir() {
    std::string dir = PAGELARK_SOURCE_DIR "/data";
#ifdef _WIN32
    if (dir.starts_with('/')) dir = "Z:" + dir;
#endif
    return dir;
}

std::string DataFile(const std::string& name) { return JoinPath(JoinPath(ShippedProgramDir(), "Data"), name); }

const char* const kCountryFiles[] = {"land_codes_de.txt", "land_codes_en.txt", "land_codes_es.txt",
                                     "land_codes_fr.txt", "land_codes_it.txt", "land_codes_nl.txt"};

// Every line of the file becomes a row, with a code of digits only.
CountryList ReadWhole(const std::string& name) {
    const std::optional<std::string> bytes = ReadFileBytes(DataFile(name));
    EXPECT_TRUE(bytes.has_value()) << DataFile(name);
    if (!bytes) return {};
    EXPECT_TRUE(bytes->ends_with("\r\n")) << name;
    const size_t lines = static_cast<size_t>(std::count(bytes->begin(), bytes->end(), '\n'));
    EXPECT_EQ(static_cast<size_t>(std::count(bytes->begin(), bytes->end(), '\r')), lines) << name << ": CR LF lines";
    const CountryList rows = ParseCodeFile(*bytes);
    EXPECT_EQ(rows.size(), lines) << name << ": a line was skipped";
    for (const CountryCode& row : rows) {
        EXPECT_FALSE(row.code.empty());
        EXPECT_EQ(row.code.find_first_not_of("0123456789"), std::string::npos) << name << ": " << row.name;
        EXPECT_EQ(row.name, std::string(TrimBlanks(row.name))) << name;
    }
    return rows;
}

std::map<std::string, std::string> ByName(const CountryList& rows) {
    std::map<std::string, std::string> map;
    for (const CountryCode& row : rows) map[row.name] = row.code;
    return map;
}

}  // namespace

TEST(NumbersDataFiles, EveryCountryFileLoadsWhole) {
    std::vector<std::string> englishCodes;
    for (const char* name : kCountryFiles) {
        SCOPED_TRACE(name);
        const CountryList rows = ReadWhole(name);
        EXPECT_GT(rows.size(), 200u);
        // The loader takes the file itself, not a fallback.
        const CountryList loaded = LoadCountryList(ShippedProgramDir(), name);
        ASSERT_EQ(loaded.size(), rows.size());
        EXPECT_EQ(loaded.front().name, rows.front().name);

        // Every language lists the same countries, so the same codes.
        std::vector<std::string> codes;
        for (const CountryCode& row : rows) codes.push_back(row.code);
        std::sort(codes.begin(), codes.end());
        if (englishCodes.empty()) englishCodes = codes;
        EXPECT_EQ(codes, englishCodes);
    }
}

TEST(NumbersDataFiles, RowsTheProgramReliesOn) {
    const auto english = ByName(ReadWhole("land_codes_en.txt"));
    EXPECT_EQ(english.at("Germany"), "49");
    EXPECT_EQ(english.at("United States"), "1");
    EXPECT_EQ(english.at("Canada"), "1");
    EXPECT_EQ(english.at("Cayman Islands"), "1345");
    EXPECT_EQ(english.at("Bermuda"), "1441");
    for (const char* name : {"United Kingdom", "Guernsey", "Isle of Man", "Jersey"}) EXPECT_EQ(english.at(name), "44");

    const auto german = ByName(ReadWhole("land_codes_de.txt"));
    EXPECT_EQ(german.at("Deutschland"), "49");
    EXPECT_EQ(german.at("Österreich"), "43");   // Windows-1252 bytes read as text
    EXPECT_EQ(ByName(ReadWhole("land_codes_fr.txt")).at("Allemagne"), "49");
    EXPECT_EQ(ByName(ReadWhole("land_codes_es.txt")).at("Alemania"), "49");
    EXPECT_EQ(ByName(ReadWhole("land_codes_it.txt")).at("Germania"), "49");
    EXPECT_EQ(ByName(ReadWhole("land_codes_nl.txt")).at("Duitsland"), "49");
}

TEST(NumbersDataFiles, CountryFilesAreInAlphabeticalOrder) {
    // Among names of plain ASCII letters the order is the case-blind one, punctuation a word break.
    auto key = [](const std::string& name) {
        std::string text;
        for (char c : name) {
            const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            if (alnum) text.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
            else if (!text.empty() && text.back() != ' ') text.push_back(' ');
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text;
    };
    for (const char* name : kCountryFiles) {
        std::string previous;
        for (const CountryCode& row : ReadWhole(name)) {
            if (std::any_of(row.name.begin(), row.name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
                continue;
            EXPECT_LE(previous, key(row.name)) << name << ": " << row.name;
            previous = key(row.name);
        }
    }
}

TEST(NumbersDataFiles, CheckFileKeepsTheBuiltInRowsInTheirOrder) {
    const CountryList rows = ReadWhole("check_codes.txt");
    const CountryList loaded = LoadCheckList(ShippedProgramDir());
    ASSERT_EQ(loaded.size(), rows.size());
    // The built-in rows appear in the same order; the file may add codes assigned since.
    const CountryList& builtIn = BuiltInCheckList();
    size_t next = 0;
    for (const CountryCode& row : rows) {
        if (next < builtIn.size() && row.name == builtIn[next].name && row.code == builtIn[next].code) ++next;
    }
    EXPECT_EQ(next, builtIn.size());
    // Any number finds the same row as with the built-in list, apart from the added codes.
    for (const char* digits : {"491711234567", "13451234567", "4412345", "2691234", "9991"})
        EXPECT_EQ(rows[*FindCodePrefix(rows, digits)].code, builtIn[*FindCodePrefix(builtIn, digits)].code) << digits;
    EXPECT_EQ(rows[*FindCodePrefix(rows, "38267123456")].code, "382");
}

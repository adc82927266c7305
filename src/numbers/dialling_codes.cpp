#include "numbers/dialling_codes.h"

#include "model/settings.h"
#include "common/files.h"
#include "common/text_encoding.h"

namespace pagelark {
namespace {

CountryList LoadListFile(const std::string& path) {
    const std::optional<std::string> bytes = ReadFileBytes(path);
    return bytes ? ParseCodeFile(*bytes) : CountryList{};
}

std::string DataFolder(std::string_view programDir) { return JoinPath(programDir, "Data"); }

}  // namespace

CountryList ParseCodeFile(std::string_view bytes) {
    CountryList rows;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const size_t semicolon = line.find(';');
        if (semicolon == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, semicolon);   // kept as written, blanks too
        std::string code;
        for (char c : line.substr(semicolon + 1))
            if (c != ' ') code.push_back(c);
        if (name.empty() || code.empty()) continue;
        // The files are Windows-1252; this is the one place where their bytes become our text.
        rows.push_back({Cp1252ToUtf8(name), Cp1252ToUtf8(code)});
    }
    return rows;
}

std::optional<size_t> FindCodePrefix(const CountryList& list, std::string_view digits) {
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string& code = list[i].code;
        // A row without a code would match every number; such rows never come from a file.
        if (!code.empty() && digits.starts_with(code)) return i;
    }
    return std::nullopt;
}

bool SplitAccountNumber(const CountryList& countries, std::string_view fullNumber, Settings& settings) {
    const size_t start = fullNumber.find_first_not_of(" +");
    const std::string_view number = start == std::string_view::npos ? std::string_view{} : fullNumber.substr(start);
    const std::optional<size_t> row = FindCodePrefix(countries, number);
    if (!row) return false;
    const std::string& code = countries[*row].code;
    settings.UserLandCode = "+" + code;
    settings.UserMobile = std::string(number.substr(code.size()));
    return true;
}

std::string CountryDisplayName(const CountryCode& row) { return row.name + " (+" + row.code + ")"; }

CountryList LoadCountryList(std::string_view programDir, std::string_view countryFile) {
    std::string path = JoinPath(DataFolder(programDir), countryFile);
    if (!FileExists(path)) path = JoinPath(DataFolder(programDir), "land_codes_en.txt");
    CountryList rows = LoadListFile(path);
    return rows.empty() ? BuiltInCountryList() : rows;
}

CountryList LoadCheckList(std::string_view programDir) {
    CountryList rows = LoadListFile(JoinPath(DataFolder(programDir), "check_codes.txt"));
    return rows.empty() ? BuiltInCheckList() : rows;
}

}  // namespace pagelark

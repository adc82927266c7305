#pragma once
// International dialling codes: the country list the user sees and the check list used by
// number normalisation. Rows keep file order; every lookup takes the first matching row.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

struct Settings;

struct CountryCode {
    std::string name;   // UTF-8 in memory (files are Windows-1252)
    std::string code;   // digits without plus sign, e.g. "49", "1345"
};

using CountryList = std::vector<CountryCode>;

const CountryList& BuiltInCountryList();   // the 71 rows
const CountryList& BuiltInCheckList();     // the 248 rows

// Parses a data file's bytes (Windows-1252, CR LF or LF lines) into rows.
CountryList ParseCodeFile(std::string_view bytes);

// Index of the first row whose code is a prefix of `digits`, in list order.
std::optional<size_t> FindCodePrefix(const CountryList& list, std::string_view digits);

// Sets UserLandCode ("+code") and UserMobile (the rest) when a country row matches the number;
// leaves both unchanged otherwise. Returns whether it matched.
bool SplitAccountNumber(const CountryList& countries, std::string_view fullNumber, Settings& settings);

// "%s (+%s)"
std::string CountryDisplayName(const CountryCode& row);

}  // namespace pagelark

namespace pagelark {

// The active language's country file from "<programDir>\Data", else land_codes_en.txt there,
// else the built-in list; never empty.
CountryList LoadCountryList(std::string_view programDir, std::string_view countryFile);
// "<programDir>\Data\check_codes.txt", else the built-in list; never empty.
CountryList LoadCheckList(std::string_view programDir);

}  // namespace pagelark

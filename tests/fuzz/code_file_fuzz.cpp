// libFuzzer target: any bytes as a country file or check-code file (a data file in the program
// folder, or a download), through the parser, the download's content check and the lookups and
// normalisations that use the rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/text_encoding.h"
#include "model/settings.h"
#include "numbers/dialling_codes.h"
#include "numbers/number_normalizer.h"
#include "service/country_file_download.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pagelark;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CountryList rows = ParseCodeFile(bytes);
    bool digitRow = false;
    for (const CountryCode& row : rows) {
        Check(!row.name.empty() && !row.code.empty());
        Check(row.code.find(' ') == std::string::npos);
        // Windows-1252 bytes became valid UTF-8.
        Check(EncodeUtf8(DecodeUtf8(row.name)) == row.name && EncodeUtf8(DecodeUtf8(row.code)) == row.code);
        digitRow = digitRow || row.code.find_first_not_of("0123456789") == std::string::npos;
        (void)CountryDisplayName(row);
    }
    // What the download keeps always gives the wizard at least one row with a real code.
    if (LooksLikeCountryFile(bytes)) Check(digitRow);

    const CountryList& list = rows.empty() ? BuiltInCheckList() : rows;
    for (std::string_view number : {"0171 1234567", "+49 (0)171 1234567", "0043 664 1234567", "+1345 9161234", "+",
                                    "00", ""}) {
        const std::string normalized = NormalizedNumber(number, list, "+49");
        Check(number.empty() || normalized.rfind('+', 0) == 0);
        Settings settings;
        if (SplitAccountNumber(list, normalized, settings)) Check(settings.UserLandCode.rfind('+', 0) == 0);
    }
    for (size_t i = 0; i < rows.size() && i < 8; ++i) {
        const std::string entry = CountryDisplayName(rows[i]);
        const std::string national = NormalizeAccountNumber("49 170 1234567", list, entry);
        Check(national.find_first_not_of("0123456789") == std::string::npos);
        (void)NormalizeAccountNumber(rows[i].code + "0170 1234567", list, entry);
        (void)NormalizeAccountNumber("+" + rows[i].code, list, entry);
    }
    if (const auto row = FindCodePrefix(list, bytes)) Check(*row < list.size() && bytes.starts_with(list[*row].code));
    return 0;
}

#include "numbers/number_normalizer.h"

#include "numbers/number_lengths.h"

namespace pagelark {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of an account number without its one trunk zero.
std::string NationalDigits(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (IsDigit(c)) digits.push_back(c);
    if (digits.starts_with('0')) digits.erase(0, 1);
    return digits;
}

// A text typed without "+" that begins with the selected country's code: the code was typed in
// front of the national number only when the rest has a possible length and the whole has not.
// Italy's "393 1234567" is a national number; Germany's "49 170 1234567" carries the code. Without
// lengths for the code, the code is taken off as typed.
bool StartsWithTypedCode(std::string_view text, std::string_view code) {
    if (code.empty() || !text.starts_with(code)) return false;
    const std::uint32_t lengths = PossibleNationalLengths(code);
    if (lengths == 0) return true;
    return IsPossibleLength(lengths, NationalDigits(text.substr(code.size())).size()) &&
           !IsPossibleLength(lengths, NationalDigits(text).size());
}

}  // namespace

bool IsNumberText(std::string_view text) {
    for (char c : text) {
        if (!IsDigit(c) && c != ' ' && c != '(' && c != ')' && c != '+' && c != '-') return false;
    }
    return true;
}

void NormalizeNumber(std::string& number, const CountryList& checkList, std::string_view userLandCode) {
    if (number.empty()) return;

    std::string text;
    for (char c : number)
        if (IsDigit(c) || c == '+') text.push_back(c);

    const bool international = text.starts_with('+') || text.starts_with("00");
    if (!text.starts_with('+')) {
        if (text.starts_with("00")) text.erase(0, 2);
        text.insert(text.begin(), '+');
    }

    std::string landCode;
    for (char c : userLandCode)
        if (c != '+') landCode.push_back(c);

    if (international) {
        const std::string_view digits = std::string_view(text).substr(1);
        size_t codeLength = 0;
        if (const auto row = FindCodePrefix(checkList, digits)) {
            codeLength = checkList[*row].code.size();
        } else if (!landCode.empty() && digits.starts_with(landCode)) {
            // The user's own code, missing from the check list: taking it for unknown would put
            // it in front once more at every check.
            codeLength = landCode.size();
        }
        if (codeLength > 0) {
            const size_t afterCode = 1 + codeLength;
            if (afterCode < text.size() && text[afterCode] == '0') text.erase(afterCode, 1);
            number = std::move(text);
            return;
        }
    }

    // A national number, or an international one with an unknown code: the user's own country.
    if (text.size() > 1 && text[1] == '0') text.erase(1, 1);
    text.insert(1, landCode);
    number = std::move(text);
}

std::string NormalizedNumber(std::string_view number, const CountryList& checkList, std::string_view userLandCode) {
    std::string text(number);
    NormalizeNumber(text, checkList, userLandCode);
    return text;
}

std::string CodeOfCountryEntry(std::string_view entry) {
    const size_t close = entry.rfind(')');
    if (close == std::string_view::npos) return {};
    const size_t open = entry.rfind('(', close);
    if (open == std::string_view::npos) return {};
    std::string_view code = entry.substr(open + 1, close - open - 1);
    const size_t start = code.find_first_not_of(" +");
    return start == std::string_view::npos ? std::string{} : std::string(code.substr(start));
}

std::string NormalizeAccountNumber(std::string_view input, const CountryList& countries, std::string_view selectedEntry) {
    std::string text(input);
    if (text.starts_with("00")) text.replace(0, 2, "+");

    if (text.starts_with('+')) {
        if (const auto row = FindCodePrefix(countries, std::string_view(text).substr(1)))
            text.erase(1, countries[*row].code.size());
        text.erase(0, 1);
    } else if (!selectedEntry.empty()) {
        const std::string code = CodeOfCountryEntry(selectedEntry);
        if (StartsWithTypedCode(text, code)) text.erase(0, code.size());
    }
    return NationalDigits(text);
}

}  // namespace pagelark

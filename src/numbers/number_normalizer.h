#pragma once
// Numbers in any national or international spelling brought to "+<country code><national number>".
#include "numbers/dialling_codes.h"

#include <string>
#include <string_view>

namespace pagelark {

// Every character a digit, blank, "(", ")", "+" or "-"; an empty text counts as a number.
bool IsNumberText(std::string_view text);

// Brings `number` to the international form in place. A number whose code is in no row of the
// check list, or a national one, gets `userLandCode` (plus signs removed) after its "+".
// Removes at most one trunk zero. Never fails; an empty text stays empty.
void NormalizeNumber(std::string& number, const CountryList& checkList, std::string_view userLandCode);
std::string NormalizedNumber(std::string_view number, const CountryList& checkList, std::string_view userLandCode);

// The setup wizard's mobile field: any spelling of the account's number to national digits.
// `selectedEntry` is the country box's selected text in its display form ("Germany (+49)"), empty
// when no country is selected. A country code typed in front without "+" is taken off only when
// what remains has a possible length for that code and the whole text has not, so an already
// normalised number never changes.
std::string NormalizeAccountNumber(std::string_view text, const CountryList& countries, std::string_view selectedEntry);

// The code of a country box entry "Name (+49)" without blanks and plus signs ("49"). Taken from the
// last bracket pair, because names may carry brackets of their own ("French West Indies (Martinique)").
std::string CodeOfCountryEntry(std::string_view entry);

}  // namespace pagelark

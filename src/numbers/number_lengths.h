#pragma once
// How many digits the national part of a mobile number may have, per dialling code: enough to tell
// a country code typed in front of a national number from a national number that merely begins
// with the same digits (Italy 39, "393 1234567").
#include <cstdint>
#include <string_view>

namespace pagelark {

// Bit n set: a national number of n digits is possible under this code ("49", "1345"). Zero for a
// code the table does not know.
std::uint32_t PossibleNationalLengths(std::string_view diallingCode);

inline bool IsPossibleLength(std::uint32_t lengths, std::size_t digits) {
    return digits < 32 && (lengths >> digits & 1u) != 0;
}

}  // namespace pagelark

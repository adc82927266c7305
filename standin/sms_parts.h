#pragma once
// How many SMS parts a message costs, counted as the client counts them.
#include <string_view>

namespace pagelark::standin {

// Windows-1252 bytes, each counted once, plus one more for each of the ten characters that take
// two places in the GSM alphabet: ^ { } [ ] ~ \ | the euro sign (0x80) and form feed.
int CountedLength(std::string_view cp1252);
// Up to 160 counted characters are one part; longer messages are counted in parts of 152, as the client counts them.
int SmsParts(int counted_length);

}  // namespace pagelark::standin

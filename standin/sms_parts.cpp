#include "sms_parts.h"

namespace pagelark::standin {

int CountedLength(std::string_view cp1252) {
    int n = 0;
    for (unsigned char c : cp1252) {
        switch (c) {
        case '^': case '{': case '}': case '[': case ']': case '~': case '\\': case '|': case 0x80: case 0x0C:
            n += 2;
            break;
        default:
            n += 1;
        }
    }
    return n;
}

int SmsParts(int counted_length) {
    if (counted_length <= 0) return 0;
    if (counted_length <= 160) return 1;
    // As the client's counter shows it: 152 counted characters a part once there are two or more.
    return (counted_length + 151) / 152;
}

}  // namespace pagelark::standin

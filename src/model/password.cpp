#include "model/password.h"

#include "common/text_encoding.h"

namespace pagelark {

std::string ScramblePassword(std::string_view p) {
    const size_t n = p.size();
    if (n == 0) return {};
    const auto first = static_cast<unsigned char>(p[0]);
    std::string s(n, '\0');
    for (size_t i = 0; i + 1 < n; ++i)
        s[i] = static_cast<char>(static_cast<unsigned char>(p[i + 1]) + first);
    s[n - 1] = static_cast<char>(first + 2);
    return s;
}

std::string UnscramblePassword(std::string_view s) {
    const size_t n = s.size();
    if (n == 0) return {};
    const auto first = static_cast<unsigned char>(static_cast<unsigned char>(s[n - 1]) - 2);
    std::string p(n, '\0');
    p[0] = static_cast<char>(first);
    for (size_t i = 1; i < n; ++i)
        p[i] = static_cast<char>(static_cast<unsigned char>(s[i - 1]) - first);
    return p;
}

bool IsStorablePassword(std::string_view utf8Password, AnsiRoundTrip throughAnsi) {
    std::u32string unmappable;
    const std::string bytes = Utf8ToCp1252(utf8Password, '?', &unmappable);
    if (!unmappable.empty()) return false;
    if (bytes.find('\0') != std::string::npos) return false;
    const std::string stored = ScramblePassword(bytes);
    if (stored.find('\0') != std::string::npos) return false;
    return !throughAnsi || throughAnsi(stored) == stored;
}

}  // namespace pagelark

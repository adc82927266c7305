#include "query.h"

#include <charconv>

namespace pagelark::standin {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;   // a stray '%' stays, as PHP leaves it
        }
    }
    return out;
}

Query::Query(std::string_view raw) {
    size_t start = 0;
    while (start <= raw.size()) {
        size_t end = raw.find('&', start);
        if (end == std::string_view::npos) end = raw.size();
        const std::string_view pair = raw.substr(start, end - start);
        if (!pair.empty()) {
            const size_t eq = pair.find('=');
            const std::string key = PercentDecode(pair.substr(0, eq));
            const std::string_view value = eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
            if (!key.empty()) {
                values_[key] = PercentDecode(value);
                raw_[key] = std::string(value);
            }
        }
        start = end + 1;
    }
}

std::string Query::Get(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? std::string() : it->second;
}

std::string Query::Raw(const std::string& key) const {
    auto it = raw_.find(key);
    return it == raw_.end() ? std::string() : it->second;
}

bool Query::Filled(const std::string& key) const {
    return !Trim(Get(key)).empty();
}

std::optional<long long> Query::Integer(const std::string& key) const {
    const std::string value = Trim(Get(key));
    if (value.empty()) return std::nullopt;
    long long n = 0;
    const char* first = value.data();
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, value.data() + value.size(), n);
    if (ec != std::errc() || ptr != value.data() + value.size()) return std::nullopt;
    return n;
}

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return std::string(text.substr(b, e - b));
}

}  // namespace pagelark::standin

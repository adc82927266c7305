#pragma once
// Reads a request's query string the way a PHP service does: pairs split at '&', '+' read as a
// blank, %XX decoded to the byte; later duplicates win. Values stay bytes (the client sends
// Windows-1252), nothing here assumes UTF-8.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark::standin {

std::string PercentDecode(std::string_view text);

class Query {
public:
    explicit Query(std::string_view raw);

    bool Has(const std::string& key) const { return values_.count(key) != 0; }
    // The decoded value; "" when absent.
    std::string Get(const std::string& key) const;
    // The value exactly as it was in the query (still escaped); "" when absent.
    std::string Raw(const std::string& key) const;
    // A value present and not empty after trimming blanks.
    bool Filled(const std::string& key) const;
    // The value as a whole integer (optional sign, digits, nothing else); nullopt otherwise.
    std::optional<long long> Integer(const std::string& key) const;

private:
    std::map<std::string, std::string> values_;
    std::map<std::string, std::string> raw_;
};

// Blanks and tabs off both ends.
std::string Trim(std::string_view text);

}  // namespace pagelark::standin

#pragma once
// A small JSON value for the admin interface: flat objects, arrays, strings, integers, booleans.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace pagelark::standin {

class Json {
public:
    using Array = std::vector<Json>;
    using Object = std::vector<std::pair<std::string, Json>>;   // keeps insertion order for readable output

    Json() = default;
    Json(std::nullptr_t) {}
    Json(bool b) : value_(b) {}
    Json(int n) : value_(static_cast<std::int64_t>(n)) {}
    Json(std::int64_t n) : value_(n) {}
    Json(double d) : value_(d) {}
    Json(const char* s) : value_(std::string(s)) {}
    Json(std::string s) : value_(std::move(s)) {}
    Json(Array a) : value_(std::move(a)) {}
    Json(Object o) : value_(std::move(o)) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsBool() const { return std::holds_alternative<bool>(value_); }
    bool IsInteger() const { return std::holds_alternative<std::int64_t>(value_); }
    bool IsNumber() const { return IsInteger() || std::holds_alternative<double>(value_); }
    bool IsString() const { return std::holds_alternative<std::string>(value_); }
    bool IsArray() const { return std::holds_alternative<Array>(value_); }
    bool IsObject() const { return std::holds_alternative<Object>(value_); }

    bool AsBool() const { return std::get<bool>(value_); }
    std::int64_t AsInteger() const;
    const std::string& AsString() const { return std::get<std::string>(value_); }
    const Array& AsArray() const { return std::get<Array>(value_); }
    const Object& AsObject() const { return std::get<Object>(value_); }

    // Member of an object, or nullptr (also when this is no object).
    const Json* Find(std::string_view key) const;
    // Adds or replaces a member; turns a null value into an object first.
    Json& Set(std::string key, Json value);

    std::string Dump() const;
    // nullopt for anything that is not one complete JSON text (nesting is limited to 32 levels).
    static std::optional<Json> Parse(std::string_view text);

private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Array, Object> value_;
};

}  // namespace pagelark::standin

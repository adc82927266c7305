#pragma once
// A small JSON value with a reader and a writer: enough for the Outlook double's store file.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace outlook_double {

class Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Json() = default;
    Json(bool value) : kind_(Kind::Bool), number_(value ? 1 : 0) {}
    Json(double value) : kind_(Kind::Number), number_(value) {}
    Json(int value) : kind_(Kind::Number), number_(value) {}
    Json(long long value) : kind_(Kind::Number), number_(static_cast<double>(value)) {}
    Json(std::string value) : kind_(Kind::String), text_(std::move(value)) {}
    Json(const char* value) : kind_(Kind::String), text_(value) {}
    static Json Array() { Json j; j.kind_ = Kind::Array; return j; }
    static Json Object() { Json j; j.kind_ = Kind::Object; return j; }

    Kind kind() const { return kind_; }
    bool IsNull() const { return kind_ == Kind::Null; }
    bool Bool(bool fallback = false) const { return kind_ == Kind::Bool || kind_ == Kind::Number ? number_ != 0 : fallback; }
    double Number(double fallback = 0) const { return kind_ == Kind::Number || kind_ == Kind::Bool ? number_ : fallback; }
    long long Integer(long long fallback = 0) const { return static_cast<long long>(Number(static_cast<double>(fallback))); }
    std::string Text(const std::string& fallback = "") const { return kind_ == Kind::String ? text_ : fallback; }

    // Arrays.
    const std::vector<Json>& Elements() const { return elements_; }
    std::vector<Json>& Elements() { return elements_; }
    void Push(Json value) { kind_ = Kind::Array; elements_.push_back(std::move(value)); }

    // Objects: members keep their order of insertion.
    const Json& operator[](const std::string& key) const;
    Json& Set(const std::string& key, Json value);
    bool Has(const std::string& key) const;
    const std::vector<std::pair<std::string, Json>>& Members() const { return members_; }
    void Remove(const std::string& key);

    std::string Write(int indent = 0) const;
    // Nothing for text that is not one complete JSON value.
    static std::optional<Json> Parse(const std::string& text);

private:
    Kind kind_ = Kind::Null;
    double number_ = 0;
    std::string text_;
    std::vector<Json> elements_;
    std::vector<std::pair<std::string, Json>> members_;
};

}  // namespace outlook_double

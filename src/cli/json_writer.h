#pragma once
// One flat JSON object, built member by member: what --json prints for each command.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark::cli {

// The JSON string literal of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view utf8);

class JsonObject {
public:
    JsonObject& Add(std::string_view key, std::string_view value);
    JsonObject& Add(std::string_view key, const char* value) { return Add(key, std::string_view(value)); }
    JsonObject& Add(std::string_view key, std::int64_t value);
    JsonObject& Add(std::string_view key, int value) { return Add(key, static_cast<std::int64_t>(value)); }
    JsonObject& Add(std::string_view key, bool value);
    JsonObject& Add(std::string_view key, const std::vector<std::string>& values);
    // A value that is already JSON (an object or an array of them).
    JsonObject& AddRaw(std::string_view key, std::string_view json);
    // The other object's members after these.
    JsonObject& Merge(const JsonObject& other);

    // "{...}" without a line end.
    std::string Text() const { return "{" + members_ + "}"; }

private:
    void Key(std::string_view key);
    std::string members_;
};

}  // namespace pagelark::cli

#include "cli/json_writer.h"

#include <cstdio>

namespace pagelark::cli {

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
                    out += buffer;
                } else {
                    out.push_back(c);
                }
        }
    }
    out += '"';
    return out;
}

void JsonObject::Key(std::string_view key) {
    if (!members_.empty()) members_ += ',';
    members_ += JsonString(key);
    members_ += ':';
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view value) {
    Key(key);
    members_ += JsonString(value);
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, std::int64_t value) {
    Key(key);
    members_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, bool value) {
    Key(key);
    members_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, const std::vector<std::string>& values) {
    Key(key);
    members_ += '[';
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) members_ += ',';
        members_ += JsonString(values[i]);
    }
    members_ += ']';
    return *this;
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view json) {
    Key(key);
    members_ += json;
    return *this;
}

JsonObject& JsonObject::Merge(const JsonObject& other) {
    if (!members_.empty() && !other.members_.empty()) members_ += ',';
    members_ += other.members_;
    return *this;
}

}  // namespace pagelark::cli

#include "json.h"

#include <cmath>
#include <cstdio>

#include "common/text_encoding.h"

namespace pagelark::standin {
namespace {

void DumpString(std::string& out, const std::string& s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<Json> ParseDocument() {
        auto value = ParseValue(0);
        SkipBlanks();
        if (!value || pos_ != text_.size()) return std::nullopt;
        return value;
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }
    bool Consume(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    std::optional<Json> ParseValue(int depth) {
        if (depth > 32) return std::nullopt;
        SkipBlanks();
        if (pos_ >= text_.size()) return std::nullopt;
        const char c = text_[pos_];
        if (c == '{') return ParseObject(depth);
        if (c == '[') return ParseArray(depth);
        if (c == '"') {
            auto s = ParseString();
            if (!s) return std::nullopt;
            return Json(std::move(*s));
        }
        if (Consume("true")) return Json(true);
        if (Consume("false")) return Json(false);
        if (Consume("null")) return Json(nullptr);
        return ParseNumber();
    }

    std::optional<Json> ParseNumber() {
        const size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        bool integral = true, digits = false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c >= '0' && c <= '9') {
                digits = true;
            } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || (c == '-' && pos_ > start)) {
                integral = false;
            } else {
                break;
            }
            ++pos_;
        }
        if (!digits) return std::nullopt;
        const std::string number(text_.substr(start, pos_ - start));
        if (integral && number.size() <= 18) return Json(static_cast<std::int64_t>(std::stoll(number)));
        char* end = nullptr;
        const double d = std::strtod(number.c_str(), &end);
        if (end != number.c_str() + number.size() || !std::isfinite(d)) return std::nullopt;
        return Json(d);
    }

    std::optional<std::string> ParseString() {
        ++pos_;   // opening quote
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) return std::nullopt;
            const char e = text_[pos_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                auto unit = ParseHex4();
                if (!unit) return std::nullopt;
                char32_t ch = *unit;
                if (ch >= 0xD800 && ch <= 0xDBFF && Consume("\\u")) {
                    auto low = ParseHex4();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
                    ch = 0x10000 + ((ch - 0xD800) << 10) + (*low - 0xDC00);
                } else if (ch >= 0xD800 && ch <= 0xDFFF) {
                    ch = 0xFFFD;
                }
                AppendUtf8(out, ch);
                break;
            }
            default: return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<char32_t> ParseHex4() {
        if (pos_ + 4 > text_.size()) return std::nullopt;
        char32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            v <<= 4;
            if (c >= '0' && c <= '9') v |= c - '0';
            else if (c >= 'a' && c <= 'f') v |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') v |= c - 'A' + 10;
            else return std::nullopt;
        }
        return v;
    }

    std::optional<Json> ParseArray(int depth) {
        ++pos_;
        Json::Array items;
        SkipBlanks();
        if (Consume("]")) return Json(std::move(items));
        for (;;) {
            auto item = ParseValue(depth + 1);
            if (!item) return std::nullopt;
            items.push_back(std::move(*item));
            SkipBlanks();
            if (Consume("]")) return Json(std::move(items));
            if (!Consume(",")) return std::nullopt;
        }
    }

    std::optional<Json> ParseObject(int depth) {
        ++pos_;
        Json object{Json::Object{}};
        SkipBlanks();
        if (Consume("}")) return object;
        for (;;) {
            SkipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != '"') return std::nullopt;
            auto key = ParseString();
            if (!key) return std::nullopt;
            SkipBlanks();
            if (!Consume(":")) return std::nullopt;
            auto value = ParseValue(depth + 1);
            if (!value) return std::nullopt;
            object.Set(std::move(*key), std::move(*value));
            SkipBlanks();
            if (Consume("}")) return object;
            if (!Consume(",")) return std::nullopt;
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

void DumpValue(std::string& out, const Json& v) {
    if (v.IsNull()) {
        out += "null";
    } else if (v.IsBool()) {
        out += v.AsBool() ? "true" : "false";
    } else if (v.IsInteger()) {
        out += std::to_string(v.AsInteger());
    } else if (v.IsNumber()) {
        out += v.Dump();
    } else if (v.IsString()) {
        DumpString(out, v.AsString());
    } else if (v.IsArray()) {
        out += '[';
        bool first = true;
        for (const auto& item : v.AsArray()) {
            if (!first) out += ',';
            first = false;
            DumpValue(out, item);
        }
        out += ']';
    } else {
        out += '{';
        bool first = true;
        for (const auto& [key, item] : v.AsObject()) {
            if (!first) out += ',';
            first = false;
            DumpString(out, key);
            out += ':';
            DumpValue(out, item);
        }
        out += '}';
    }
}

}  // namespace

std::int64_t Json::AsInteger() const {
    if (const auto* d = std::get_if<double>(&value_)) return static_cast<std::int64_t>(*d);
    return std::get<std::int64_t>(value_);
}

const Json* Json::Find(std::string_view key) const {
    const auto* object = std::get_if<Object>(&value_);
    if (!object) return nullptr;
    for (const auto& [k, v] : *object)
        if (k == key) return &v;
    return nullptr;
}

Json& Json::Set(std::string key, Json value) {
    if (IsNull()) value_ = Object{};
    auto& object = std::get<Object>(value_);
    for (auto& [k, v] : object) {
        if (k == key) {
            v = std::move(value);
            return *this;
        }
    }
    object.emplace_back(std::move(key), std::move(value));
    return *this;
}

std::string Json::Dump() const {
    if (const auto* d = std::get_if<double>(&value_)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.17g", *d);
        return buf;
    }
    std::string out;
    DumpValue(out, *this);
    return out;
}

std::optional<Json> Json::Parse(std::string_view text) {
    return Parser(text).ParseDocument();
}

}  // namespace pagelark::standin

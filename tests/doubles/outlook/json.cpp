#include "json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace outlook_double {

namespace {

const Json kNull;

void WriteString(const std::string& text, std::string& out) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void AppendUtf8(unsigned code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool ReadValue(Json& out, int depth) {
        if (depth > 200) return false;
        SkipBlanks();
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_];
        if (c == '{') return ReadObject(out, depth);
        if (c == '[') return ReadArray(out, depth);
        if (c == '"') {
            std::string s;
            if (!ReadString(s)) return false;
            out = Json(std::move(s));
            return true;
        }
        if (Word("true")) { out = Json(true); return true; }
        if (Word("false")) { out = Json(false); return true; }
        if (Word("null")) { out = Json(); return true; }
        return ReadNumber(out);
    }

    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size();
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t')) ++pos_;
    }
    bool Word(const char* word) {
        const std::string w(word);
        if (text_.compare(pos_, w.size(), w) != 0) return false;
        pos_ += w.size();
        return true;
    }
    bool ReadNumber(Json& out) {
        const char* start = text_.c_str() + pos_;
        char* end = nullptr;
        const double value = std::strtod(start, &end);
        if (end == start || !std::isfinite(value)) return false;
        pos_ += static_cast<size_t>(end - start);
        out = Json(value);
        return true;
    }
    bool ReadHex4(unsigned& code) {
        if (pos_ + 4 > text_.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[pos_++];
            code <<= 4;
            if (h >= '0' && h <= '9') code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f') code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') code |= static_cast<unsigned>(h - 'A' + 10);
            else return false;
        }
        return true;
    }
    bool ReadString(std::string& out) {
        ++pos_;   // opening quote
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (c != '\\') { out += c; continue; }
            if (pos_ >= text_.size()) return false;
            const char e = text_[pos_++];
            switch (e) {
            case '"': case '\\': case '/': out += e; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                unsigned code = 0;
                if (!ReadHex4(code)) return false;
                if (code >= 0xD800 && code < 0xDC00 && Word("\\u")) {
                    unsigned low = 0;
                    if (!ReadHex4(low)) return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(code, out);
                break;
            }
            default: return false;
            }
        }
        return false;
    }
    bool ReadArray(Json& out, int depth) {
        ++pos_;
        out = Json::Array();
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ']') { ++pos_; return true; }
        for (;;) {
            Json element;
            if (!ReadValue(element, depth + 1)) return false;
            out.Push(std::move(element));
            SkipBlanks();
            if (pos_ >= text_.size()) return false;
            if (text_[pos_] == ',') { ++pos_; continue; }
            if (text_[pos_] == ']') { ++pos_; return true; }
            return false;
        }
    }
    bool ReadObject(Json& out, int depth) {
        ++pos_;
        out = Json::Object();
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == '}') { ++pos_; return true; }
        for (;;) {
            SkipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != '"') return false;
            std::string key;
            if (!ReadString(key)) return false;
            SkipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != ':') return false;
            ++pos_;
            Json value;
            if (!ReadValue(value, depth + 1)) return false;
            out.Set(key, std::move(value));
            SkipBlanks();
            if (pos_ >= text_.size()) return false;
            if (text_[pos_] == ',') { ++pos_; continue; }
            if (text_[pos_] == '}') { ++pos_; return true; }
            return false;
        }
    }

    const std::string& text_;
    size_t pos_ = 0;
};

void WriteValue(const Json& value, int indent, int level, std::string& out) {
    const std::string pad = indent ? "\n" + std::string(static_cast<size_t>(indent * (level + 1)), ' ') : "";
    const std::string closePad = indent ? "\n" + std::string(static_cast<size_t>(indent * level), ' ') : "";
    switch (value.kind()) {
    case Json::Kind::Null: out += "null"; break;
    case Json::Kind::Bool: out += value.Bool() ? "true" : "false"; break;
    case Json::Kind::Number: {
        const double n = value.Number();
        char buffer[40];
        if (n == std::floor(n) && std::fabs(n) < 1e15) std::snprintf(buffer, sizeof buffer, "%.0f", n);
        else std::snprintf(buffer, sizeof buffer, "%.17g", n);
        out += buffer;
        break;
    }
    case Json::Kind::String: WriteString(value.Text(), out); break;
    case Json::Kind::Array: {
        if (value.Elements().empty()) { out += "[]"; break; }
        out += '[';
        bool first = true;
        for (const Json& element : value.Elements()) {
            if (!first) out += ',';
            first = false;
            out += pad;
            WriteValue(element, indent, level + 1, out);
        }
        out += closePad + "]";
        break;
    }
    case Json::Kind::Object: {
        if (value.Members().empty()) { out += "{}"; break; }
        out += '{';
        bool first = true;
        for (const auto& [key, member] : value.Members()) {
            if (!first) out += ',';
            first = false;
            out += pad;
            WriteString(key, out);
            out += indent ? ": " : ":";
            WriteValue(member, indent, level + 1, out);
        }
        out += closePad + "}";
        break;
    }
    }
}

}  // namespace

const Json& Json::operator[](const std::string& key) const {
    for (const auto& [name, value] : members_)
        if (name == key) return value;
    return kNull;
}

Json& Json::Set(const std::string& key, Json value) {
    kind_ = Kind::Object;
    for (auto& [name, member] : members_) {
        if (name == key) {
            member = std::move(value);
            return member;
        }
    }
    members_.emplace_back(key, std::move(value));
    return members_.back().second;
}

bool Json::Has(const std::string& key) const {
    for (const auto& member : members_)
        if (member.first == key) return true;
    return false;
}

void Json::Remove(const std::string& key) {
    for (auto it = members_.begin(); it != members_.end(); ++it) {
        if (it->first == key) {
            members_.erase(it);
            return;
        }
    }
}

std::string Json::Write(int indent) const {
    std::string out;
    WriteValue(*this, indent, 0, out);
    return out;
}

std::optional<Json> Json::Parse(const std::string& text) {
    Reader reader(text);
    Json value;
    if (!reader.ReadValue(value, 0) || !reader.AtEnd()) return std::nullopt;
    return value;
}

}  // namespace outlook_double

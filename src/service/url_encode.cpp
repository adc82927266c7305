#include "service/url_encode.h"

#include <array>

namespace pagelark {
namespace {

// The service's table, in its order. Replacing each byte in this order gives the same text as
// one pass over the input: no escape ("%" and hexadecimal digits) contains a table byte.
constexpr unsigned char kEscapedBytes[] = {
    0x0D, 0x0A, 0x20, 0x22, 0x23, 0x26, 0x2C, 0x2E, 0x2F, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0xA1, 0xA3, 0xA4, 0xA5, 0xA7, 0xC4, 0xC5, 0xE0, 0xE4, 0xE5, 0xC6, 0xC7, 0xC9, 0xE8, 0xE9, 0xEC,
    0xD1, 0xF1, 0xF2, 0xF6, 0xD8, 0xD6, 0xDC, 0xF9, 0xFC, 0xDF,
    0x0C, 0x5B, 0x5C, 0x5D, 0x5E, 0x7B, 0x7C, 0x7D, 0x7E, 0x80,
};
static_assert(sizeof(kEscapedBytes) == 51);

constexpr std::array<bool, 256> MakeTable() {
    std::array<bool, 256> table{};
    for (unsigned char b : kEscapedBytes) table[b] = true;
    table['%'] = true;
    // Beyond the service's table: a raw control byte or a byte of 0x7F and above does not travel
    // intact in an address (WinInet turns such bytes into "?"), so "ê" would arrive as "?".
    // The service decodes "%EA" to the same byte, so escaping them loses nothing.
    for (int b = 0; b < 0x20; ++b) table[b] = true;
    for (int b = 0x7F; b <= 0xFF; ++b) table[b] = true;
    return table;
}
constexpr std::array<bool, 256> kServiceTable = MakeTable();

constexpr std::array<bool, 256> MakeUnsafeTable() {
    std::array<bool, 256> table{};
    for (int b = 0; b <= 0x20; ++b) table[b] = true;
    for (int b = 0x7F; b <= 0xFF; ++b) table[b] = true;
    for (unsigned char b : {'"', '#', '%', '&', '<', '>'}) table[b] = true;
    return table;
}
constexpr std::array<bool, 256> kUnsafeTable = MakeUnsafeTable();

constexpr std::array<bool, 256> MakeLinkTable() {
    std::array<bool, 256> table{};
    for (int b = 0; b <= 0xFF; ++b) {
        const bool unreserved = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                                b == '-' || b == '.' || b == '_' || b == '~';
        table[b] = !unreserved;
    }
    return table;
}
constexpr std::array<bool, 256> kLinkTable = MakeLinkTable();

std::string Escape(std::string_view bytes, const std::array<bool, 256>& table) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (table[b]) {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string UrlEncode(std::string_view bytes) { return Escape(bytes, kServiceTable); }

std::string EscapeUnsafeQueryBytes(std::string_view bytes) { return Escape(bytes, kUnsafeTable); }

std::string EscapeLinkValue(std::string_view bytes) { return Escape(bytes, kLinkTable); }

}  // namespace pagelark

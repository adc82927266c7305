#pragma once
// Reading the service's replies: "key: value" lines ended by CR LF, at most 255 bytes.
// Every function here stays inside the view it is given, whatever the bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// The service never sends more than this; the transport reads no more.
inline constexpr std::size_t kMaxReplyBytes = 255;

// What the reply is for the protocol: the bytes up to the first NUL, at most 255 of them.
std::string_view VisibleReply(std::string_view received);

// Where a value ends.
enum class ValueEnd { CarriageReturn, LineFeed, EndOfReply };

struct ReplyValue {
    std::string_view value;   // empty when no terminator follows
    std::size_t keyPos = 0;   // where the key was found
    bool terminated = true;   // a terminator (or the end, for EndOfReply) was found
};

// The first occurrence of `key` at or behind `from` (plain, case-sensitive search). The value
// starts right behind the key, except for "error:", whose first character (a blank) is skipped;
// it ends before `end`. A value without its terminator reads as empty.
std::optional<ReplyValue> FindReplyValueAt(std::string_view reply, std::string_view key, ValueEnd end,
                                           std::size_t from = 0);
// The same from the start, as text; nothing when the key is absent.
std::optional<std::string> FindReplyValue(std::string_view reply, std::string_view key, ValueEnd end);

// Reads a number like C's atoi (leading white space, sign, digits), clamped to 32 bits.
std::int32_t ReplyNumber(std::string_view text);
// Leading blanks skipped, then digits 0 and 1 up to the first other byte, as a binary number
// (only the lowest 32 bits are kept).
std::int32_t ReplyBinaryNumber(std::string_view text);
std::string_view SkipLeadingBlanks(std::string_view text);

}  // namespace pagelark

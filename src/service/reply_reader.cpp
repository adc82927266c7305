#include "service/reply_reader.h"

#include <algorithm>
#include <limits>

#include "common/text_encoding.h"

namespace pagelark {

std::string_view VisibleReply(std::string_view received) {
    const std::size_t nul = received.find('\0');
    if (nul != std::string_view::npos) received = received.substr(0, nul);
    return received.substr(0, std::min(received.size(), kMaxReplyBytes));
}

std::optional<ReplyValue> FindReplyValueAt(std::string_view reply, std::string_view key, ValueEnd end,
                                           std::size_t from) {
    if (key.empty() || from > reply.size()) return std::nullopt;
    const std::size_t keyPos = reply.find(key, from);
    if (keyPos == std::string_view::npos) return std::nullopt;
    std::size_t start = keyPos + key.size();
    if (key == "error:") ++start;
    ReplyValue found;
    found.keyPos = keyPos;
    if (start > reply.size()) {
        found.terminated = end == ValueEnd::EndOfReply;
        return found;
    }
    const std::string_view rest = reply.substr(start);
    if (end == ValueEnd::EndOfReply) {
        found.value = rest;
        return found;
    }
    const std::size_t stop = rest.find(end == ValueEnd::CarriageReturn ? '\r' : '\n');
    if (stop == std::string_view::npos) {
        found.terminated = false;
        return found;
    }
    found.value = rest.substr(0, stop);
    return found;
}

std::optional<std::string> FindReplyValue(std::string_view reply, std::string_view key, ValueEnd end) {
    auto found = FindReplyValueAt(reply, key, end);
    if (!found) return std::nullopt;
    return std::string(found->value);
}

std::int32_t ReplyNumber(std::string_view text) {
    const long long value = AtoiLike(text);
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int32_t ReplyBinaryNumber(std::string_view text) {
    text = SkipLeadingBlanks(text);
    std::uint32_t value = 0;
    for (char c : text) {
        if (c != '0' && c != '1') break;
        value = (value << 1) | static_cast<std::uint32_t>(c - '0');
    }
    return static_cast<std::int32_t>(value);
}

std::string_view SkipLeadingBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return text.substr(i);
}

}  // namespace pagelark

#include "window/sms_counter.h"

#include <array>
#include <cstdio>

#include "common/text_encoding.h"

namespace pagelark {
namespace {

constexpr char32_t kEscapedCharacters[] = {U'\u20AC', U'\f', U'[', U'\\', U']', U'^', U'{', U'|', U'}', U'~'};

// Upper bounds of the counted length for 1..10 parts.
constexpr std::array<int, 10> kSegmentBounds = {160, 304, 456, 608, 760, 912, 1064, 1216, 1368, 1520};

}  // namespace

int CountSmsCharacters(std::string_view utf8) {
    int count = 0;
    for (const char32_t ch : DecodeUtf8(utf8)) {
        ++count;
        for (const char32_t escaped : kEscapedCharacters) {
            if (ch == escaped) {
                ++count;
                break;
            }
        }
    }
    return count;
}

int SegmentsForCount(int counted) {
    for (size_t i = 0; i < kSegmentBounds.size(); ++i) {
        if (counted <= kSegmentBounds[i]) return static_cast<int>(i) + 1;
    }
    return static_cast<int>(kSegmentBounds.size());
}

std::string CounterLabel(int counted, int segments) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, " %d/1520 [%d]", counted, segments);
    return buffer;
}

CounterState EvaluateMessageText(std::string_view utf8) {
    CounterState state;
    state.counted = CountSmsCharacters(utf8);
    state.overLimit = state.counted > kMaxSmsCharacters;
    state.segments = state.overLimit ? 1 : SegmentsForCount(state.counted);
    return state;
}

}  // namespace pagelark

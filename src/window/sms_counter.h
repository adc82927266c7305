#pragma once
// How long a message counts for the service, and how many SMS parts it needs.
#include <string>
#include <string_view>

namespace pagelark {

inline constexpr int kMaxSmsCharacters = 1520;

// Characters of the text (not bytes), plus one for each character that the GSM alphabet sends
// as an escape pair: € form feed [ \ ] ^ { | } ~.
int CountSmsCharacters(std::string_view utf8);

// Parts needed for a counted length of 0..1520: 160 for one part, 152 per part beyond.
int SegmentsForCount(int counted);

// " %d/1520 [%d]", the counter pane's text.
std::string CounterLabel(int counted, int segments);

struct CounterState {
    int counted = 0;
    int segments = 1;
    bool overLimit = false;   // the last edit must be taken back
};
CounterState EvaluateMessageText(std::string_view utf8);

}  // namespace pagelark

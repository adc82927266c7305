#include "service/time_text.h"

#include <cstdio>

namespace pagelark {

std::string FormatLogTime(const LocalTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d %02d:%02d", time.day, time.month,
                  ((time.year % 100) + 100) % 100, time.hour, time.minute);
    return text;
}

int GmtFromStandardBias(int standardBiasMinutes) { return -standardBiasMinutes / 60; }

}  // namespace pagelark

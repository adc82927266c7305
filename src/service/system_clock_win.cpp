#include "service/system_clock_win.h"

#include <windows.h>

namespace pagelark {

LocalTime SystemClock::Now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

int SystemClock::StandardBiasMinutes() const {
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return 0;
    return static_cast<int>(zone.Bias + zone.StandardBias);
}

}  // namespace pagelark

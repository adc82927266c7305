#pragma once
// Times as the request log and the error texts write them, and the service's time-zone value.
#include <string>

#include "service/service_ports.h"

namespace pagelark {

// "%d.%m.%y %H:%M", for instance "06.12.26 19:20".
std::string FormatLogTime(const LocalTime& time);

// gmt= of the requests: minus the standard bias in hours, truncated toward zero
// (UTC+1 gives 1, UTC-5 gives -5, UTC+5:30 gives 5).
int GmtFromStandardBias(int standardBiasMinutes);

}  // namespace pagelark

#pragma once
// The service's clock: local time and the time zone's standard bias.
#include "service/service_ports.h"

namespace pagelark {

class SystemClock : public Clock {
public:
    LocalTime Now() const override;
    // Bias plus StandardBias of the time-zone information: daylight saving is left out.
    int StandardBiasMinutes() const override;
};

}  // namespace pagelark

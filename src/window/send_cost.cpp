#include "window/send_cost.h"

#include <algorithm>

#include "window/sms_counter.h"

namespace pagelark {

SendCost ComputeSendCost(int recipients, std::string_view body) {
    SendCost cost;
    cost.recipients = std::max(recipients, 0);
    const int counted = std::clamp(CountSmsCharacters(body), 0, kMaxSmsCharacters);
    cost.parts = SegmentsForCount(counted);
    cost.total = cost.recipients * cost.parts;
    return cost;
}

std::string FormatSendCost(const SendCost& cost, const SendCostTexts& texts) {
    const std::string& recipientsFormat = cost.recipients == 1 ? texts.recipientsOne : texts.recipientsMany;
    const std::string recipients = FillPlaceholders(recipientsFormat, {std::to_string(cost.recipients)});
    return FillPlaceholders(texts.line, {recipients, std::to_string(cost.parts), std::to_string(cost.total)});
}

std::string FillPlaceholders(std::string_view format, const std::vector<std::string>& values) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out.push_back(format[i]);
            continue;
        }
        const char kind = format[i + 1];
        if (kind == '%') {
            out.push_back('%');
        } else if (kind == 's' || kind == 'd') {
            if (next < values.size()) out += values[next];
            ++next;
        } else {
            out.push_back('%');
            continue;
        }
        ++i;
    }
    return out;
}

}  // namespace pagelark

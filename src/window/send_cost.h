#pragma once
// What a send will cost, shown below the confirmation question: recipients × parts.
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

struct SendCost {
    int recipients = 0;
    int parts = 1;       // SMS parts of the text, as the counter pane shows them
    int total = 0;       // recipients × parts
};

SendCost ComputeSendCost(int recipients, std::string_view body);

// The translated pieces of the cost line, by string number in the resources.
struct SendCostTexts {
    std::string recipientsOne;    // "%d recipient"
    std::string recipientsMany;   // "%d recipients"
    std::string line;             // "%s × %d SMS = %d SMS"
};

// "3 recipients × 2 SMS = 6 SMS"
std::string FormatSendCost(const SendCost& cost, const SendCostTexts& texts);

// Fills "%s"/"%d" placeholders of a translated text in order with `values`; "%%" is a percent
// sign. Placeholders beyond the values are left out, so a faulty translation cannot crash.
std::string FillPlaceholders(std::string_view format, const std::vector<std::string>& values);

}  // namespace pagelark

#pragma once
// The address of the service's credit purchase page.
#include <string>
#include <string_view>

namespace pagelark {

// "https://<webServer>/login.php?target=credits&user=%s&lang=%s&sales_channel_id=%.6d"
std::string PurchaseCreditsUrl(std::string_view webServer, std::string_view userName, std::string_view webCode,
                               int salesChannelId);

}  // namespace pagelark

#include "window/purchase_link.h"

#include <cstdio>

namespace pagelark {

std::string PurchaseCreditsUrl(std::string_view webServer, std::string_view userName, std::string_view webCode,
                               int salesChannelId) {
    char channel[24];
    std::snprintf(channel, sizeof channel, "%.6d", salesChannelId);
    std::string url = "https://";
    url += webServer;
    url += "/login.php?target=credits&user=";
    url += userName;
    url += "&lang=";
    url += webCode;
    url += "&sales_channel_id=";
    url += channel;
    return url;
}

}  // namespace pagelark

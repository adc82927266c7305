#include "service/service_addresses.h"

#include <cstdio>

#include "common/text_encoding.h"
#include "service/reply_reader.h"
#include "service/url_encode.h"

namespace pagelark {

std::string ServiceAddress(std::string_view host, std::string_view pathAndQuery) {
    std::string address = "https://";
    address += kServiceCredentials;
    address += '@';
    address += host;
    address += pathAndQuery;
    return address;
}

int GetSalesChannelId(const InstallationValues& installation) {
    if (installation.scid.empty()) return 1;
    const int id = ReplyNumber(installation.scid);
    return id < 1 ? 1 : id;
}

std::string SalesChannelText(int salesChannelId) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6d", salesChannelId);
    return text;
}

std::string StatusLanguageCode(std::string_view productLanguage) {
    struct Row {
        std::string_view id;
        std::string_view code;
    };
    static constexpr Row kRows[] = {{"1031", "de"}, {"1033", "en"}, {"1036", "fr"},
                                    {"1040", "it"}, {"1043", "nl"}, {"3082", "es"}};
    for (const Row& row : kRows) {
        if (productLanguage == row.id) return std::string(row.code);
    }
    return "en";
}

std::string ProxyText(std::string_view address, int port) {
    std::string text(address);
    text += ':';
    text += std::to_string(port);
    return text;
}

std::string WebSiteLink(WebLink link, std::string_view webServer, std::string_view user, std::string_view webCode,
                        int salesChannelId) {
    const char* target = link == WebLink::AccountData ? "user" : link == WebLink::Payment ? "payment" : "credits";
    std::string address = link == WebLink::Credits ? "https://" : "http://";
    address += webServer;
    address += "/login.php?target=";
    address += target;
    // The web site reads its values as Windows-1252, like the service.
    address += "&user=";
    address += EscapeLinkValue(Utf8ToCp1252(user));
    address += "&lang=";
    address += EscapeLinkValue(webCode);
    address += "&sales_channel_id=";
    address += EscapeLinkValue(SalesChannelText(salesChannelId));
    return address;
}

}  // namespace pagelark

#pragma once
// The service's request addresses, the web-site links and the values they carry.
#include <string>
#include <string_view>

#include "model/installation.h"

namespace pagelark {

// The program's fixed basic-authentication credentials, before every message-server host.
inline constexpr std::string_view kServiceCredentials = "telvoro:zk_m4tWa8e";

// "https://telvoro:zk_m4tWa8e@<host><pathAndQuery>"
std::string ServiceAddress(std::string_view host, std::string_view pathAndQuery);

// The sales channel from "SCID": 1 when missing, empty, not a number or below 1.
int GetSalesChannelId(const InstallationValues& installation);
// "%.6d"
std::string SalesChannelText(int salesChannelId);

// lang= of the status request: from "ProductLanguage" (1031 de, 1033 en, 1036 fr, 1040 it,
// 1043 nl, 3082 es), "en" otherwise.
std::string StatusLanguageCode(std::string_view productLanguage);

// "%s:%d"
std::string ProxyText(std::string_view address, int port);

enum class WebLink { AccountData, Payment, Credits };
// The service web site's login links; account data and payment over HTTP, credits over HTTPS.
// `user` is the stored user name (UTF-8); every value is escaped here.
std::string WebSiteLink(WebLink link, std::string_view webServer, std::string_view user, std::string_view webCode,
                        int salesChannelId);

}  // namespace pagelark

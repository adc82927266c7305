#pragma once
// The HTML pages: the service web site's account pages and the "phone inbox" of the admin side.
#include <string>

#include "query.h"
#include "store.h"

namespace pagelark::standin {

struct WebPage {
    int status = 200;
    std::string html;
};

// "/login.php?target=user|payment|credits&user=..&lang=..&sales_channel_id=.."
WebPage LoginPage(Store& store, const Query& q);
std::string SiteIndexPage();
// Every mobile number that received something, with links to its inbox.
std::string InboxIndexPage(Store& store, const std::string& admin_note);
// The SMS and PINs one number received, newest first.
std::string InboxPage(Store& store, const std::string& mobile);

}  // namespace pagelark::standin

#include "web_pages.h"

#include <algorithm>

#include "common/text_encoding.h"
#include "standin_server.h"

namespace pagelark::standin {
namespace {

// refresh_seconds > 0 makes the browser reload the page, so an inbox shows new SMS as they come.
std::string Page(const std::string& title, const std::string& body, int refresh_seconds = 0) {
    const std::string refresh =
        refresh_seconds > 0 ? "<meta http-equiv=\"refresh\" content=\"" + std::to_string(refresh_seconds) + "\">" : "";
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">" + refresh + "<title>" + HtmlEscape(title) +
           "</title>\n<style>body{font-family:sans-serif;margin:2em;max-width:50em}"
           ".sms{border:1px solid #bbb;border-radius:8px;padding:.6em 1em;margin:.6em 0;background:#f7f7f2}"
           ".meta{color:#666;font-size:.85em}.pin{background:#eef5ff}pre{white-space:pre-wrap;margin:.3em 0}"
           "</style></head><body>\n<h1>" + HtmlEscape(title) + "</h1>\n" + body + "</body></html>\n";
}

std::string UrlPathEscape(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

}  // namespace

WebPage LoginPage(Store& store, const Query& q) {
    const std::string target = Trim(q.Get("target"));
    const std::string user = Cp1252ToUtf8(Trim(q.Get("user")));
    std::string title;
    if (target == "user") title = "Telvoro: your account data";
    else if (target == "payment") title = "Telvoro: payment options";
    else if (target == "credits") title = "Telvoro: buy SMS credits";
    else return WebPage{400, Page("Telvoro", "<p>Unknown page.</p>\n")};

    std::string body = "<p>Signed in as <b>" + HtmlEscape(user.empty() ? "(nobody)" : user) + "</b>";
    body += " &middot; language " + HtmlEscape(Cp1252ToUtf8(q.Get("lang")));
    body += " &middot; sales channel " + HtmlEscape(Cp1252ToUtf8(q.Get("sales_channel_id"))) + "</p>\n";
    if (const auto account = user.empty() ? std::nullopt : store.FindAccount(user)) {
        if (target == "user") {
            body += "<table><tr><td>E-mail</td><td>" + HtmlEscape(account->email) + "</td></tr><tr><td>Mobile</td><td>" +
                    HtmlEscape(account->mobile) + "</td></tr></table>\n";
        } else if (target == "credits") {
            body += "<p>You have " + std::to_string(account->credits) + " SMS credits.</p>\n";
        } else {
            body += "<p>Payment by invoice.</p>\n";
        }
    } else {
        body += "<p>No such account.</p>\n";
    }
    body += "<p class=\"meta\">This is the local stand-in for the Telvoro web site.</p>\n";
    return WebPage{200, Page(title, body)};
}

std::string SiteIndexPage() {
    return Page("Telvoro", "<p>The local stand-in for the Telvoro SMS service.</p>\n");
}

std::string InboxIndexPage(Store& store, const std::string& admin_note) {
    std::string body = "<p>Every mobile number that received a PIN or an SMS. " + HtmlEscape(admin_note) + "</p>\n<ul>\n";
    const auto mobiles = store.KnownMobiles();
    for (const auto& m : mobiles)
        body += "<li><a href=\"/inbox/" + UrlPathEscape(m) + "\">" + HtmlEscape(m) + "</a></li>\n";
    body += "</ul>\n";
    if (mobiles.empty()) body += "<p>Nothing received yet.</p>\n";
    return Page("Phone inbox", body, 5);
}

std::string InboxPage(Store& store, const std::string& mobile) {
    struct Entry {
        std::string at;
        long long order;
        std::string html;
    };
    std::vector<Entry> entries;
    const auto pins = store.PinsForMobile(mobile);
    for (size_t i = 0; i < pins.size(); ++i) {
        const auto& p = pins[i];
        entries.push_back({p.created_at, static_cast<long long>(i),
                           "<div class=\"sms pin\"><div class=\"meta\">" + HtmlEscape(p.created_at) + " UTC &middot; from Telvoro</div>"
                           "<pre>Your Telvoro PIN for " + HtmlEscape(p.user) + ": <b>" + HtmlEscape(p.pin) + "</b></pre></div>\n"});
    }
    for (const auto& m : store.MessagesTo(mobile)) {
        std::string meta = HtmlEscape(m.received_at) + " UTC &middot; from " + HtmlEscape(m.user) + " &middot; " +
                           std::to_string(m.parts) + (m.parts == 1 ? " part" : " parts") + " &middot; " + m.state;
        if (!m.send_time.empty()) meta += " for " + HtmlEscape(m.send_time) + " (gmt " + HtmlEscape(m.gmt) + ")";
        if (m.flash == "1") meta += " &middot; flash";
        if (m.rply == "1") meta += " &middot; replies to inbox";
        if (m.senderid == "1") meta += " &middot; replies to mobile";
        if (!m.cc_to_mail.empty()) meta += " &middot; copy to " + HtmlEscape(m.cc_to_mail);
        entries.push_back({m.received_at, 1000000 + m.id,
                           "<div class=\"sms\"><div class=\"meta\">" + meta + "</div><pre>" + HtmlEscape(m.message) + "</pre></div>\n"});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.at != b.at ? a.at > b.at : a.order > b.order;
    });
    std::string body = "<p><a href=\"/\">All numbers</a></p>\n";
    for (const auto& e : entries) body += e.html;
    if (entries.empty()) body += "<p>Nothing received.</p>\n";
    return Page("Inbox of " + mobile, body, 5);
}

}  // namespace pagelark::standin

#include "admin_api.h"

#include <httplib.h>

#include "common/text_encoding.h"
#include "json.h"
#include "standin_server.h"
#include "web_pages.h"

namespace pagelark::standin {
namespace {

constexpr size_t kMaxUpdateUrl = 76;   // with every other key at its longest, a status reply stays within 255 bytes
constexpr size_t kMaxEmail = 64;

void SendJson(httplib::Response& res, const Json& json, int status = 200) {
    res.status = status;
    res.set_content(json.Dump() + "\n", "application/json");
}

void SendError(httplib::Response& res, int status, const std::string& text) {
    SendJson(res, Json(Json::Object{{"error", Json(text)}}), status);
}

Json AccountJson(const Account& a, const UpdateOffer& offer) {
    return Json(Json::Object{{"user", Json(a.user)},
                             {"password", Json(a.password)},
                             {"mobile", Json(a.mobile)},
                             {"email", Json(a.email)},
                             {"credits", Json(static_cast<std::int64_t>(a.credits))},
                             {"acctyp", Json(a.acctyp)},
                             {"active", Json(a.active)},
                             {"pin_requests", Json(a.pin_requests)},
                             {"update_url", Json(offer.url)},
                             {"filesize", Json(static_cast<std::int64_t>(offer.filesize))}});
}

bool ValidAcctyp(const std::string& s) {
    return s.size() == 5 && s.find_first_not_of("01") == std::string::npos;
}

// Applies the members of body to the account; an error text when one has the wrong type or form.
std::string ApplyAccountFields(const Json& body, Account& a) {
    for (const auto& [key, value] : body.AsObject()) {
        if (key == "credits") {
            if (!value.IsInteger() || value.AsInteger() < 0 || value.AsInteger() > 2000000000) return "credits: 0 to 2000000000";
            a.credits = value.AsInteger();
        } else if (key == "acctyp") {
            if (!value.IsString() || !ValidAcctyp(value.AsString())) return "acctyp: five digits 0 or 1, like \"10011\"";
            a.acctyp = value.AsString();
        } else if (key == "active") {
            if (!value.IsBool()) return "active: true or false";
            a.active = value.AsBool();
        } else if (key == "password" || key == "email" || key == "mobile" || key == "user") {
            if (!value.IsString()) return key + ": a string";
            if (key == "password") a.password = value.AsString();
            if (key == "email") {
                if (value.AsString().size() > kMaxEmail) return "email: at most 64 characters";
                a.email = value.AsString();
            }
            if (key == "mobile") {
                const auto number = NormalizeInternational(value.AsString());
                if (!number) return "mobile: an international number like \"+491701234567\"";
                a.mobile = *number;
            }
        } else if (key == "pin_requests") {
            if (!value.IsInteger() || value.AsInteger() < 0) return "pin_requests: a count";
            a.pin_requests = static_cast<int>(value.AsInteger());
        } else {
            return "unknown member " + key;
        }
    }
    return {};
}

std::optional<Json> ParseBody(const httplib::Request& req, httplib::Response& res) {
    auto body = Json::Parse(req.body.empty() ? "{}" : req.body);
    if (!body || !body->IsObject()) {
        SendError(res, 400, "the body must be a JSON object");
        return std::nullopt;
    }
    return body;
}

// Raw queries may hold any bytes; JSON strings must be UTF-8. Read as Windows-1252 (what the client
// sends), every byte survives the trip.
std::string Printable(const std::string& bytes) {
    return Cp1252ToUtf8(bytes);
}

Json MessageJson(const Message& m) {
    Json::Array recipients;
    std::string joined;
    for (const auto& r : m.recipients) {
        recipients.emplace_back(r);
        joined += (joined.empty() ? "" : ",") + r;
    }
    return Json(Json::Object{{"id", Json(static_cast<std::int64_t>(m.id))},
                             {"user", Json(m.user)},
                             {"recipients", Json(joined)},
                             {"recipient_list", Json(std::move(recipients))},
                             {"cc_to_mail", Json(m.cc_to_mail)},
                             {"perm_mail_copy", Json(m.perm_mail_copy)},
                             {"message", Json(m.message)},
                             {"message_raw", Json(Printable(m.message_raw))},
                             {"send_time", Json(m.send_time)},
                             {"gmt", Json(m.gmt)},
                             {"rply", Json(m.rply)},
                             {"senderid", Json(m.senderid)},
                             {"flash", Json(m.flash)},
                             {"parts", Json(m.parts)},
                             {"cost", Json(static_cast<std::int64_t>(m.cost))},
                             {"state", Json(m.state)},
                             {"raw_query", Json(Printable(m.raw_query))},
                             {"received_at", Json(m.received_at)}});
}

}  // namespace

void RegisterAdminRoutes(httplib::Server& server, StandinServer& standin) {
    Store& store = standin.GetStore();

    server.Post("/admin/reset", [&standin](const httplib::Request&, httplib::Response& res) {
        standin.Reset();
        SendJson(res, Json(Json::Object{}));
    });

    server.Post("/admin/accounts", [&store](const httplib::Request& req, httplib::Response& res) {
        auto body = ParseBody(req, res);
        if (!body) return;
        const Json* user = body->Find("user");
        if (!user || !user->IsString() || user->AsString().empty()) return SendError(res, 400, "user: a name is needed");
        Account account;
        account.user = user->AsString();
        account.acctyp = "11111";
        account.active = true;
        if (const std::string error = ApplyAccountFields(*body, account); !error.empty()) return SendError(res, 400, error);
        store.SaveAccount(account);
        SendJson(res, AccountJson(*store.FindAccount(account.user), store.GetUpdateOffer()));
    });

    server.Get("/admin/accounts/(.+)", [&store](const httplib::Request& req, httplib::Response& res) {
        const auto account = store.FindAccount(req.matches[1]);
        if (!account) return SendError(res, 404, "no such account");
        SendJson(res, AccountJson(*account, store.GetUpdateOffer()));
    });

    server.Post("/admin/accounts/(.+)", [&store](const httplib::Request& req, httplib::Response& res) {
        auto account = store.FindAccount(req.matches[1]);
        if (!account) return SendError(res, 404, "no such account");
        auto body = ParseBody(req, res);
        if (!body) return;
        if (body->Find("user")) return SendError(res, 400, "user cannot be changed");
        if (const std::string error = ApplyAccountFields(*body, *account); !error.empty()) return SendError(res, 400, error);
        store.SaveAccount(*account);
        SendJson(res, AccountJson(*account, store.GetUpdateOffer()));
    });

    server.Post("/admin/update", [&store](const httplib::Request& req, httplib::Response& res) {
        auto body = ParseBody(req, res);
        if (!body) return;
        const Json* url = body->Find("url");
        const Json* size = body->Find("filesize");
        if (!url || !url->IsString()) return SendError(res, 400, "url: a string (\"\" clears the offer)");
        if (url->AsString().size() > kMaxUpdateUrl) return SendError(res, 400, "url: at most 76 characters");
        if (url->AsString().find_first_of("\r\n") != std::string::npos) return SendError(res, 400, "url: one line");
        if (size && (!size->IsInteger() || size->AsInteger() < 0 || size->AsInteger() > 2147483647))
            return SendError(res, 400, "filesize: a size in bytes");
        UpdateOffer offer{url->AsString(), url->AsString().empty() || !size ? 0 : size->AsInteger()};
        store.SetUpdateOffer(offer);
        SendJson(res, Json(Json::Object{{"url", Json(offer.url)}, {"filesize", Json(static_cast<std::int64_t>(offer.filesize))}}));
    });

    server.Get("/admin/pins", [&store](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("mobile")) return SendError(res, 400, "mobile: the number, like %2B491701234567");
        const auto number = NormalizeInternational(req.get_param_value("mobile"));
        Json::Array pins;
        if (number)
            for (const auto& p : store.PinsForMobile(*number)) pins.emplace_back(p.pin);
        SendJson(res, Json(Json::Object{{"pins", Json(std::move(pins))}}));
    });

    server.Get("/admin/messages", [&store](const httplib::Request& req, httplib::Response& res) {
        std::optional<std::string> user;
        if (req.has_param("user")) user = req.get_param_value("user");
        Json::Array list;
        for (const auto& m : store.Messages(user)) list.push_back(MessageJson(m));
        SendJson(res, Json(Json::Object{{"messages", Json(std::move(list))}}));
    });

    server.Get("/admin/requests", [&store](const httplib::Request& req, httplib::Response& res) {
        std::optional<std::string> path;
        if (req.has_param("path")) path = req.get_param_value("path");
        Json::Array list;
        for (const auto& r : store.Requests(path))
            list.push_back(Json(Json::Object{{"server", Json(r.server)},
                                             {"path", Json(Printable(r.path))},
                                             {"raw_query", Json(Printable(r.raw_query))},
                                             {"authorized", Json(r.authorized)},
                                             {"at", Json(r.at)}}));
        SendJson(res, Json(Json::Object{{"requests", Json(std::move(list))}}));
    });

    server.Post("/admin/faults", [&standin](const httplib::Request& req, httplib::Response& res) {
        auto body = ParseBody(req, res);
        if (!body) return;
        const Json* target = body->Find("target");
        const Json* mode = body->Find("mode");
        const std::string t = target && target->IsString() ? target->AsString() : "";
        if (t != "primary" && t != "secondary" && t != "both") return SendError(res, 400, "target: primary, secondary or both");
        const auto m = mode && mode->IsString() ? ParseFaultMode(mode->AsString()) : std::nullopt;
        if (!m) return SendError(res, 400, "mode: none, error, long, garbage, http500, drop or delay");
        Fault fault;
        fault.mode = *m;
        auto integer = [&](const char* key, int max, int& out) {
            const Json* v = body->Find(key);
            if (!v) return true;
            if (!v->IsInteger() || v->AsInteger() < 0 || v->AsInteger() > max) return false;
            out = static_cast<int>(v->AsInteger());
            return true;
        };
        if (!integer("code", 999, fault.code)) return SendError(res, 400, "code: 0 to 999");
        if (!integer("delay_ms", 600000, fault.delay_ms)) return SendError(res, 400, "delay_ms: 0 to 600000");
        if (!integer("count", 1000000, fault.remaining)) return SendError(res, 400, "count: 0 (until cleared) or more");
        if (t != "secondary") standin.Faults().Set(ServerRole::kPrimary, fault);
        if (t != "primary") standin.Faults().Set(ServerRole::kSecondary, fault);
        SendJson(res, Json(Json::Object{{"target", Json(t)}, {"mode", Json(FaultModeName(fault.mode))},
                                        {"code", Json(fault.code)}, {"delay_ms", Json(fault.delay_ms)},
                                        {"count", Json(fault.remaining)}}));
    });

    // How update packages are delivered: {"mode":"normal|nolength|short|delay","delay_ms":N}.
    server.Post("/admin/update-fault", [&standin](const httplib::Request& req, httplib::Response& res) {
        auto body = ParseBody(req, res);
        if (!body) return;
        const Json* mode = body->Find("mode");
        const auto m = mode && mode->IsString() ? ParseDownloadMode(mode->AsString()) : std::nullopt;
        if (!m) return SendError(res, 400, "mode: normal, nolength, short or delay");
        DownloadFault fault;
        fault.mode = *m;
        if (const Json* delay = body->Find("delay_ms")) {
            if (!delay->IsInteger() || delay->AsInteger() < 0 || delay->AsInteger() > 600000)
                return SendError(res, 400, "delay_ms: 0 to 600000");
            fault.delay_ms = static_cast<int>(delay->AsInteger());
        }
        standin.Downloads().Set(fault);
        SendJson(res, Json(Json::Object{{"mode", Json(DownloadModeName(fault.mode))}, {"delay_ms", Json(fault.delay_ms)}}));
    });

    server.Post("/admin/servers", [&standin](const httplib::Request& req, httplib::Response& res) {
        auto body = ParseBody(req, res);
        if (!body) return;
        for (const auto& [key, role] : {std::pair{"primary", ServerRole::kPrimary}, std::pair{"secondary", ServerRole::kSecondary}}) {
            const Json* v = body->Find(key);
            if (!v) continue;
            if (!v->IsBool()) return SendError(res, 400, std::string(key) + ": true or false");
            if (!standin.SetServer(role, v->AsBool())) return SendError(res, 500, std::string("cannot listen again for ") + key);
        }
        SendJson(res, Json(Json::Object{{"primary", Json(standin.ServerUp(ServerRole::kPrimary))},
                                        {"secondary", Json(standin.ServerUp(ServerRole::kSecondary))}}));
    });

    server.Get("/", [&store](const httplib::Request&, httplib::Response& res) {
        res.set_content(InboxIndexPage(store, "Newest first on each number's page."), "text/html; charset=utf-8");
    });
    server.Get("/inbox/(.+)", [&store](const httplib::Request& req, httplib::Response& res) {
        const auto number = NormalizeInternational(req.matches[1].str());
        res.set_content(InboxPage(store, number ? *number : req.matches[1].str()), "text/html; charset=utf-8");
    });
}

}  // namespace pagelark::standin

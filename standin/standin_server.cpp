#include "standin_server.h"

#include <httplib.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "admin_api.h"
#include "web_pages.h"

namespace pagelark::standin {
namespace {

constexpr const char* kReplyType = "text/plain; charset=windows-1252";
constexpr size_t kLongReplyBytes = 300;

std::string Base64(std::string_view in) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < in.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(in[i]) << 16) | (static_cast<unsigned char>(in[i + 1]) << 8) |
                           static_cast<unsigned char>(in[i + 2]);
        out += kDigits[(v >> 18) & 63], out += kDigits[(v >> 12) & 63], out += kDigits[(v >> 6) & 63], out += kDigits[v & 63];
    }
    if (i < in.size()) {
        unsigned v = static_cast<unsigned char>(in[i]) << 16;
        if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
        out += kDigits[(v >> 18) & 63], out += kDigits[(v >> 12) & 63];
        out += i + 1 < in.size() ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// One line per request on stdout (standin.log when started by the scripts); bytes outside
// printable ASCII are shown as \xNN so the log stays one line per request.
void WriteAccessLine(const std::string& server, const HttpRequest& req, const HttpResponse& res) {
    static std::mutex mutex;
    std::string target;
    for (unsigned char c : req.target.substr(0, 300)) {
        if (c >= 0x20 && c < 0x7F) {
            target += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            target += hex;
        }
    }
    std::lock_guard lock(mutex);
    std::cout << NowText() << ' ' << server << ' ' << req.method << ' ' << target << " -> "
              << (res.drop ? std::string("dropped") : std::to_string(res.status)) << std::endl;
}

bool SafeFileName(const std::string& name) {
    if (name.empty() || name[0] == '.' || name.size() > 128) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-') return false;
    return true;
}

std::string ServicePath(const std::string& path) {
    static const char* kPaths[] = {"/plugin/status.php", "/plugin/register.php", "/plugin/activate.php", "/plugin/sms.php"};
    for (const char* p : kPaths)
        if (path == p) return p;
    return {};
}

}  // namespace

std::string RawQueryOf(const std::string& target) {
    const size_t q = target.find('?');
    if (q == std::string::npos) return {};
    std::string raw = target.substr(q + 1);
    const size_t hash = raw.find('#');
    if (hash != std::string::npos) raw.erase(hash);
    return raw;
}

bool HasServiceCredentials(const std::string& authorization) {
    static const std::string expected = Base64(std::string(kServiceUser) + ":" + kServicePassword);
    if (authorization.size() < 6) return false;
    std::string scheme = authorization.substr(0, 6);
    for (auto& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (scheme != "basic ") return false;
    return Trim(authorization.substr(6)) == expected;
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

StandinServer::StandinServer(StandinOptions options)
    : options_(std::move(options)),
      store_(options_.database.empty() ? options_.state_dir + "/standin.sqlite" : options_.database),
      service_(store_) {
    const std::string cert = options_.certs_dir + "/server";
    primary_ = MakeServiceListener("primary", cert);
    secondary_ = MakeServiceListener("secondary", cert);
    web_ = MakeServiceListener("web", "");
    selfsigned_ = MakeServiceListener("selfsigned", options_.certs_dir + "/selfsigned");
    update_ = MakeServiceListener("update", "");
}

StandinServer::~StandinServer() {
    Stop();
}

std::unique_ptr<HttpListener> StandinServer::MakeServiceListener(const std::string& name, const std::string& cert) {
    auto handler = [this, name](const HttpRequest& req, HttpResponse& res) {
        HandleService(name, req, res);
        if (options_.access_log) WriteAccessLine(name, req, res);
    };
    if (cert.empty()) return std::make_unique<HttpListener>(handler);
    return std::make_unique<HttpListener>(handler, cert + ".crt", cert + ".key");
}

bool StandinServer::Start() {
    // A client that vanishes mid-answer must not end the process.
    signal(SIGPIPE, SIG_IGN);
    std::filesystem::create_directories(UpdatesDir());
    const int base = options_.port_base;
    const struct {
        HttpListener* listener;
        const char* name;
        int port;
    } listeners[] = {{primary_.get(), "primary", base}, {secondary_.get(), "secondary", base + 1},
                     {web_.get(), "web", base + 2}, {selfsigned_.get(), "selfsigned", base + 4}};
    bool ok = StartAdmin();
    if (!ok) std::cerr << "telvoro-standin: cannot listen for admin on 127.0.0.1:" << base + 3 << "\n";
    for (const auto& l : listeners) {
        if (!ok) break;
        ok = l.listener->Start(options_.host, l.port);
        if (!ok)
            std::cerr << "telvoro-standin: cannot listen for " << l.name << " on " << options_.host << ":" << l.port
                      << " (port taken, or certificates missing in " << options_.certs_dir << ")\n";
    }
    if (!ok) {
        Stop();
        return false;
    }
    // Only update downloads need this one; without it everything else still works.
    if (!options_.update_host.empty() && !update_->Start(options_.update_host, options_.update_port))
        std::cerr << "telvoro-standin: warning: cannot listen for update downloads on " << options_.update_host << ":"
                  << options_.update_port << "\n";
    return true;
}

void StandinServer::Stop() {
    for (HttpListener* l : {primary_.get(), secondary_.get(), web_.get(), selfsigned_.get(), update_.get()})
        if (l) l->Stop();
    StopAdmin();
}

bool StandinServer::StartAdmin() {
    admin_ = std::make_unique<httplib::Server>();
    admin_->set_payload_max_length(64 * 1024);
    admin_->set_tcp_nodelay(true);
    admin_->set_keep_alive_timeout(2);
    RegisterAdminRoutes(*admin_, *this);
    if (!admin_->bind_to_port("127.0.0.1", options_.port_base + 3)) {
        admin_.reset();
        return false;
    }
    admin_thread_ = std::thread([s = admin_.get()] { s->listen_after_bind(); });
    return true;
}

void StandinServer::StopAdmin() {
    if (!admin_) return;
    admin_->stop();
    admin_thread_.join();
    admin_.reset();
}

bool StandinServer::SetServer(ServerRole role, bool up) {
    HttpListener& l = role == ServerRole::kPrimary ? *primary_ : *secondary_;
    if (!up) {
        l.Stop();
        return true;
    }
    return l.Start(options_.host, options_.port_base + (role == ServerRole::kPrimary ? 0 : 1));
}

bool StandinServer::ServerUp(ServerRole role) const {
    return (role == ServerRole::kPrimary ? *primary_ : *secondary_).Running();
}

void StandinServer::Reset() {
    store_.Reset();
    faults_.Clear();
    downloads_.Set(DownloadFault{});
    SetServer(ServerRole::kPrimary, true);
    SetServer(ServerRole::kSecondary, true);
}

void StandinServer::HandleService(const std::string& server, const HttpRequest& req, HttpResponse& res) {
    const std::string raw = RawQueryOf(req.target);
    const bool authorized = HasServiceCredentials(req.Header("authorization"));
    store_.LogRequest(RequestRecord{server, req.path, raw, authorized, ""});

    const std::string service = ServicePath(req.path);
    if (!service.empty() && server != "web") {
        if (!authorized) {
            res.status = 401;
            res.headers["WWW-Authenticate"] = "Basic realm=\"Telvoro\"";
            res.body = "Authorization required.\r\n";
            return;
        }
        std::optional<Fault> fault;
        if (server == "primary") fault = faults_.Take(ServerRole::kPrimary);
        else if (server == "secondary") fault = faults_.Take(ServerRole::kSecondary);
        const bool registration = service == "/plugin/register.php";
        if (fault) {
            switch (fault->mode) {
            case FaultMode::kError:
                res.body = ErrorReply(registration, fault->code);
                res.content_type = kReplyType;
                return;
            case FaultMode::kGarbage:
                res.body = GarbageReply();
                res.content_type = "application/octet-stream";
                return;
            case FaultMode::kHttp500:
                res.status = 500;
                res.body = "Internal Server Error\r\n";
                return;
            case FaultMode::kDrop:
                res.drop = true;
                return;
            case FaultMode::kDelay: {
                // Waits in slices, so that taking the server down does not wait for the delay.
                const HttpListener& listener = server == "primary" ? *primary_ : *secondary_;
                const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(fault->delay_ms);
                while (std::chrono::steady_clock::now() < until) {
                    if (listener.Stopping()) {
                        res.drop = true;
                        return;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                break;
            }
            default: break;
            }
        }
        const Query q(raw);
        std::string reply;
        if (service == "/plugin/status.php") reply = service_.Status(q);
        else if (registration) reply = service_.Register(q);
        else if (service == "/plugin/activate.php") reply = service_.Activate(q);
        else reply = service_.Sms(q, raw);
        if (fault && fault->mode == FaultMode::kLong) reply = PaddedReply(reply, kLongReplyBytes);
        res.body = reply;
        res.content_type = kReplyType;
        return;
    }

    const std::string updates = "/pagelark/updates/";
    if (req.path.rfind(updates, 0) == 0) {
        const std::string name = req.path.substr(updates.size());
        std::ifstream in(UpdatesDir() + "/" + name, std::ios::binary);
        if (!SafeFileName(name) || !in) {
            res.status = 404;
            res.body = "Not found\r\n";
            return;
        }
        std::ostringstream body;
        body << in.rdbuf();
        res.body = body.str();
        res.content_type = "application/octet-stream";
        const DownloadFault fault = downloads_.Get();
        if (fault.mode == DownloadMode::kNoLength) res.no_length = true;
        if (fault.mode == DownloadMode::kShort) res.cut_at = res.body.size() / 2;
        if (fault.mode == DownloadMode::kDelay) {
            res.stall_at = res.body.size() / 2;
            res.stall_ms = fault.delay_ms;
        }
        return;
    }
    if (req.path == "/login.php") {
        const WebPage page = LoginPage(store_, Query(raw));
        res.status = page.status;
        res.body = page.html;
        res.content_type = "text/html; charset=utf-8";
        return;
    }
    if (req.path == "/") {
        res.body = SiteIndexPage();
        res.content_type = "text/html; charset=utf-8";
        return;
    }
    res.status = 404;
    res.body = "Not found\r\n";
}

}  // namespace pagelark::standin

#include "standin_server.h"

#include <httplib.h>
#include <dirent.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
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

// cpp-httplib has no way to abandon a request, so the connection's socket is found by its two
// ports and shut down: the client sees the connection end without any answer.
void DropConnection(const httplib::Request& req) {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd <= 2) continue;
        sockaddr_in local{}, peer{};
        socklen_t local_len = sizeof local, peer_len = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &local_len) != 0 || local.sin_family != AF_INET) continue;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_len) != 0) continue;
        if (ntohs(local.sin_port) == req.local_port && ntohs(peer.sin_port) == req.remote_port) {
            shutdown(fd, SHUT_RDWR);
            break;
        }
    }
    closedir(dir);
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

Listener::Listener(std::string name, std::string host, int port, Factory factory)
    : name_(std::move(name)), host_(std::move(host)), port_(port), factory_(std::move(factory)) {}

Listener::~Listener() {
    Stop();
}

bool Listener::Start() {
    std::lock_guard lock(mutex_);
    if (running_) return true;
    auto server = factory_();
    if (!server || !server->is_valid() || !server->bind_to_port(host_, port_)) return false;
    server_ = std::move(server);
    thread_ = std::thread([s = server_.get()] { s->listen_after_bind(); });
    running_ = true;
    return true;
}

void Listener::Stop() {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    server_->stop();
    thread_.join();
    server_.reset();
    running_ = false;
}

StandinServer::StandinServer(StandinOptions options)
    : options_(std::move(options)),
      store_(options_.database.empty() ? options_.state_dir + "/standin.sqlite" : options_.database),
      service_(store_) {
    const std::string& h = options_.host;
    const int base = options_.port_base;
    const std::string cert = options_.certs_dir + "/server";
    const std::string self = options_.certs_dir + "/selfsigned";
    primary_ = std::make_unique<Listener>("primary", h, base, [this, cert] { return MakeServiceServer("primary", true, cert); });
    secondary_ = std::make_unique<Listener>("secondary", h, base + 1,
                                            [this, cert] { return MakeServiceServer("secondary", true, cert); });
    web_ = std::make_unique<Listener>("web", h, base + 2, [this] { return MakeServiceServer("web", false, ""); });
    admin_ = std::make_unique<Listener>("admin", "127.0.0.1", base + 3, [this] { return MakeAdminServer(); });
    selfsigned_ = std::make_unique<Listener>("selfsigned", h, base + 4,
                                             [this, self] { return MakeServiceServer("selfsigned", true, self); });
}

StandinServer::~StandinServer() {
    Stop();
}

bool StandinServer::Start() {
    // A client that vanishes mid-answer must not end the process.
    signal(SIGPIPE, SIG_IGN);
    std::filesystem::create_directories(UpdatesDir());
    for (Listener* l : {admin_.get(), primary_.get(), secondary_.get(), web_.get(), selfsigned_.get()}) {
        if (!l->Start()) {
            std::cerr << "telvoro-standin: cannot listen for " << l->Name() << " on " << options_.host << ":" << l->Port()
                      << " (port taken, or certificates missing in " << options_.certs_dir << ")\n";
            Stop();
            return false;
        }
    }
    return true;
}

void StandinServer::Stop() {
    for (Listener* l : {primary_.get(), secondary_.get(), web_.get(), selfsigned_.get(), admin_.get()})
        if (l) l->Stop();
}

bool StandinServer::SetServer(ServerRole role, bool up) {
    Listener& l = role == ServerRole::kPrimary ? *primary_ : *secondary_;
    if (!up) {
        l.Stop();
        return true;
    }
    return l.Start();
}

bool StandinServer::ServerUp(ServerRole role) const {
    return (role == ServerRole::kPrimary ? *primary_ : *secondary_).Running();
}

void StandinServer::Reset() {
    store_.Reset();
    faults_.Clear();
    SetServer(ServerRole::kPrimary, true);
    SetServer(ServerRole::kSecondary, true);
}

std::unique_ptr<httplib::Server> StandinServer::MakeServiceServer(const std::string& name, bool tls, const std::string& cert) {
    std::unique_ptr<httplib::Server> server;
    if (tls) server = std::make_unique<httplib::SSLServer>((cert + ".crt").c_str(), (cert + ".key").c_str());
    else server = std::make_unique<httplib::Server>();
    server->set_keep_alive_timeout(2);
    server->set_keep_alive_max_count(1000);
    server->set_tcp_nodelay(true);   // replies go out in two writes; no Nagle wait between them
    server->set_payload_max_length(64 * 1024);
    server->Get(".*", [this, name](const httplib::Request& req, httplib::Response& res) { HandleService(name, req, res); });
    return server;
}

std::unique_ptr<httplib::Server> StandinServer::MakeAdminServer() {
    auto server = std::make_unique<httplib::Server>();
    server->set_payload_max_length(64 * 1024);
    server->set_tcp_nodelay(true);
    RegisterAdminRoutes(*server, *this);
    return server;
}

void StandinServer::HandleService(const std::string& server, const httplib::Request& req, httplib::Response& res) {
    const std::string raw = RawQueryOf(req.target);
    const bool authorized = HasServiceCredentials(req.get_header_value("Authorization"));
    store_.LogRequest(RequestRecord{server, req.path, raw, authorized, ""});

    const std::string service = ServicePath(req.path);
    if (!service.empty() && server != "web") {
        if (!authorized) {
            res.status = 401;
            res.set_header("WWW-Authenticate", "Basic realm=\"Telvoro\"");
            res.set_content("Authorization required.\r\n", "text/plain");
            return;
        }
        std::optional<Fault> fault;
        if (server == "primary") fault = faults_.Take(ServerRole::kPrimary);
        else if (server == "secondary") fault = faults_.Take(ServerRole::kSecondary);
        const bool registration = service == "/plugin/register.php";
        if (fault) {
            switch (fault->mode) {
            case FaultMode::kError: res.set_content(ErrorReply(registration, fault->code), kReplyType); return;
            case FaultMode::kGarbage: res.set_content(GarbageReply(), "application/octet-stream"); return;
            case FaultMode::kHttp500:
                res.status = 500;
                res.set_content("Internal Server Error\r\n", "text/plain");
                return;
            case FaultMode::kDrop:
                DropConnection(req);
                return;
            case FaultMode::kDelay: std::this_thread::sleep_for(std::chrono::milliseconds(fault->delay_ms)); break;
            default: break;
            }
        }
        const Query q(raw);
        std::string reply;
        if (service == "/plugin/status.php") reply = service_.Status(q);
        else if (registration) reply = service_.Register(q, raw);
        else if (service == "/plugin/activate.php") reply = service_.Activate(q);
        else reply = service_.Sms(q, raw);
        if (fault && fault->mode == FaultMode::kLong) reply = PaddedReply(reply, kLongReplyBytes);
        res.set_content(reply, kReplyType);
        return;
    }

    const std::string updates = "/pagelark/updates/";
    if (req.path.rfind(updates, 0) == 0) {
        const std::string name = req.path.substr(updates.size());
        std::ifstream in(UpdatesDir() + "/" + name, std::ios::binary);
        if (!SafeFileName(name) || !in) {
            res.status = 404;
            res.set_content("Not found\r\n", "text/plain");
            return;
        }
        std::ostringstream body;
        body << in.rdbuf();
        res.set_content(body.str(), "application/octet-stream");
        return;
    }
    if (req.path == "/login.php") {
        const WebPage page = LoginPage(store_, Query(raw));
        res.status = page.status;
        res.set_content(page.html, "text/html; charset=utf-8");
        return;
    }
    if (req.path == "/") {
        res.set_content(SiteIndexPage(), "text/html; charset=utf-8");
        return;
    }
    res.status = 404;
    res.set_content("Not found\r\n", "text/plain");
}

}  // namespace pagelark::standin

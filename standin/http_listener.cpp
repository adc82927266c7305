#include "http_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "query.h"

namespace pagelark::standin {
namespace {

constexpr int kIdleMilliseconds = 2000;        // a kept-alive connection waits this long for the next request
constexpr int kIoTimeoutSeconds = 10;
constexpr size_t kMaxConnections = 128;
constexpr size_t kMaxBody = 64 * 1024;

const char* Reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

// A Content-Length value: digits only, else -1.
long long AtoiOrMinus(const std::string& s) {
    if (s.empty() || s.size() > 12 || s.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoll(s);
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

struct HttpListener::Connection {
    int fd = -1;
    SSL* ssl = nullptr;
    std::thread thread;
    std::atomic<bool> finished{false};
    std::string buffer;   // bytes read but not yet used

    // Bytes read, 0 at the end, -1 on failure or time-out.
    long Read(char* data, size_t size) {
        if (ssl) {
            const int n = SSL_read(ssl, data, static_cast<int>(size));
            return n > 0 ? n : (SSL_get_error(ssl, n) == SSL_ERROR_ZERO_RETURN ? 0 : -1);
        }
        const ssize_t n = recv(fd, data, size, 0);
        return n >= 0 ? static_cast<long>(n) : -1;
    }
    bool WriteAll(const std::string& data) {
        size_t done = 0;
        while (done < data.size()) {
            long n;
            if (ssl) n = SSL_write(ssl, data.data() + done, static_cast<int>(data.size() - done));
            else n = send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    bool WaitReadable(int ms) {
        if (ssl && SSL_pending(ssl) > 0) return true;
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, ms) > 0;
    }
};

bool ParseRequestHead(const std::string& head, HttpRequest& r) {
    const size_t line_end = head.find("\r\n");
    const std::string line = head.substr(0, line_end);
    const size_t first = line.find(' ');
    const size_t last = line.rfind(' ');
    if (first == std::string::npos || last == first || first == 0) return false;
    r.method = line.substr(0, first);
    r.target = line.substr(first + 1, last - first - 1);
    r.version = line.substr(last + 1);
    if (r.version.rfind("HTTP/1.", 0) != 0 || r.target.empty()) return false;
    if (r.target.find_first_of(std::string("\0\r\n", 3)) != std::string::npos) return false;
    const size_t q = r.target.find('?');
    r.path = PercentDecode(r.target.substr(0, q));
    size_t pos = line_end == std::string::npos ? head.size() : line_end + 2;
    while (pos < head.size()) {
        size_t end = head.find("\r\n", pos);
        if (end == std::string::npos) end = head.size();
        const std::string field = head.substr(pos, end - pos);
        const size_t colon = field.find(':');
        if (colon == std::string::npos || colon == 0) return false;
        r.headers[Lower(field.substr(0, colon))] = Trim(field.substr(colon + 1));
        pos = end + 2;
    }
    return true;
}

HttpListener::HttpListener(Handler handler, std::string cert_file, std::string key_file)
    : handler_(std::move(handler)), cert_file_(std::move(cert_file)), key_file_(std::move(key_file)) {}

bool HttpListener::Running() const {
    std::lock_guard state(state_mutex_);
    return listen_fd_ >= 0;
}

HttpListener::~HttpListener() {
    Stop();
    if (ctx_) SSL_CTX_free(ctx_);
}

bool HttpListener::Start(const std::string& host, int port) {
    std::lock_guard state(state_mutex_);
    if (listen_fd_ >= 0) return true;
    if (!cert_file_.empty() && !ctx_) {
        ctx_ = SSL_CTX_new(TLS_server_method());
        if (!ctx_ || SSL_CTX_use_certificate_chain_file(ctx_, cert_file_.c_str()) != 1 ||
            SSL_CTX_use_PrivateKey_file(ctx_, key_file_.c_str(), SSL_FILETYPE_PEM) != 1) {
            ERR_clear_error();
            if (ctx_) SSL_CTX_free(ctx_);
            ctx_ = nullptr;
            return false;
        }
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1 ||
        bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 64) != 0) {
        close(fd);
        return false;
    }
    listen_fd_ = fd;
    stopping_ = false;
    accept_thread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void HttpListener::Stop() {
    std::lock_guard state(state_mutex_);
    if (listen_fd_ < 0) return;
    stopping_ = true;
    accept_thread_.join();
    close(listen_fd_);
    listen_fd_ = -1;
    std::list<std::unique_ptr<Connection>> connections;
    {
        std::lock_guard lock(mutex_);
        for (auto& c : connections_) shutdown(c->fd, SHUT_RDWR);   // wakes any blocked read
        connections.swap(connections_);
    }
    for (auto& c : connections) c->thread.join();
}

void HttpListener::ReapFinished() {
    std::list<std::unique_ptr<Connection>> done;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            if ((*it)->finished) done.splice(done.end(), connections_, it++);
            else ++it;
        }
    }
    for (auto& c : done) c->thread.join();
}

void HttpListener::AcceptLoop() {
    while (!stopping_) {
        pollfd p{listen_fd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) {
            ReapFinished();
            continue;
        }
        const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ReapFinished();
        std::lock_guard lock(mutex_);
        if (connections_.size() >= kMaxConnections) {
            close(fd);   // too busy: the client sees the connection end
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        Connection* raw = c.get();
        connections_.push_back(std::move(c));
        raw->thread = std::thread([this, raw] {
            Serve(*raw);
            if (raw->ssl) SSL_free(raw->ssl);
            close(raw->fd);
            raw->finished = true;
        });
    }
}

void HttpListener::Serve(Connection& c) {
    const int yes = 1;
    setsockopt(c.fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    timeval tv{kIoTimeoutSeconds, 0};
    setsockopt(c.fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(c.fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    if (ctx_) {
        c.ssl = SSL_new(ctx_);
        if (!c.ssl || SSL_set_fd(c.ssl, c.fd) != 1 || SSL_accept(c.ssl) != 1) {
            ERR_clear_error();
            return;
        }
    }
    auto answer = [&c](int status, const std::string& body, const std::map<std::string, std::string>& headers,
                       const std::string& type, bool keep_alive) {
        std::string out = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
        out += "Content-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
        out += keep_alive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
        for (const auto& [k, v] : headers) out += k + ": " + v + "\r\n";
        out += "\r\n";
        out += body;
        return c.WriteAll(out);
    };

    char chunk[4096];
    while (!stopping_) {
        size_t head_end;
        while ((head_end = c.buffer.find("\r\n\r\n")) == std::string::npos) {
            if (c.buffer.size() > kMaxRequestHead) {
                answer(c.buffer.find("\r\n") == std::string::npos ? 414 : 431, "Request too large\r\n", {}, "text/plain", false);
                return;
            }
            if (c.buffer.empty() && !c.WaitReadable(kIdleMilliseconds)) return;   // idle keep-alive ends
            const long n = c.Read(chunk, sizeof chunk);
            if (n <= 0) return;
            c.buffer.append(chunk, static_cast<size_t>(n));
        }
        if (head_end > kMaxRequestHead) {
            answer(c.buffer.find("\r\n") >= kMaxRequestHead ? 414 : 431, "Request too large\r\n", {}, "text/plain", false);
            return;
        }
        HttpRequest request;
        const std::string head = c.buffer.substr(0, head_end);
        c.buffer.erase(0, head_end + 4);
        if (!ParseRequestHead(head, request)) {
            answer(400, "Bad request\r\n", {}, "text/plain", false);
            return;
        }
        // A body is read and ignored (the service takes only queries).
        const std::string length = request.Header("content-length");
        if (!request.Header("transfer-encoding").empty()) {
            answer(400, "Bad request\r\n", {}, "text/plain", false);
            return;
        }
        if (!length.empty()) {
            const long long n = AtoiOrMinus(length);
            if (n < 0 || static_cast<size_t>(n) > kMaxBody) {
                answer(413, "Payload too large\r\n", {}, "text/plain", false);
                return;
            }
            while (c.buffer.size() < static_cast<size_t>(n)) {
                const long got = c.Read(chunk, sizeof chunk);
                if (got <= 0) return;
                c.buffer.append(chunk, static_cast<size_t>(got));
            }
            c.buffer.erase(0, static_cast<size_t>(n));
        }
        const bool keep_alive = Lower(request.Header("connection")) != "close" &&
                                (request.version != "HTTP/1.0" || Lower(request.Header("connection")) == "keep-alive");
        HttpResponse response;
        if (request.method != "GET" && request.method != "HEAD") {
            response.status = 405;
            response.body = "Method not allowed\r\n";
        } else {
            handler_(request, response);
        }
        if (response.drop) return;
        if (request.method == "HEAD") response.body.clear();
        if (response.no_length || response.cut_at != std::string::npos || response.stall_at != std::string::npos) {
            SendDownload(c, response);
            return;
        }
        if (!answer(response.status, response.body, response.headers, response.content_type, keep_alive) || !keep_alive) return;
    }
}

}  // namespace pagelark::standin

namespace pagelark::standin {

void HttpListener::SendDownload(Connection& c, const HttpResponse& response) {
    const std::string& body = response.body;
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n";
    head += "Content-Type: " + response.content_type + "\r\n";
    if (!response.no_length) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    head += "Connection: close\r\n";
    for (const auto& [k, v] : response.headers) head += k + ": " + v + "\r\n";
    head += "\r\n";
    if (!c.WriteAll(head)) return;
    const size_t end = std::min(body.size(), response.cut_at);
    const size_t stall = std::min(end, response.stall_at);
    if (!c.WriteAll(body.substr(0, stall))) return;
    if (response.stall_at != std::string::npos) {
        // Waits in slices, so that stopping the listener does not wait for the pause.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(response.stall_ms);
        while (std::chrono::steady_clock::now() < until && !stopping_)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (stopping_) return;
    }
    if (!c.WriteAll(body.substr(stall, end - stall))) return;
    if (c.ssl) SSL_shutdown(c.ssl);
    shutdown(c.fd, SHUT_WR);
}

}  // namespace pagelark::standin

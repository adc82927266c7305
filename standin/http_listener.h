#pragma once
// The message servers' own small HTTP/1.1 server (plain or TLS). It reads the request line as
// lenient servers do: the target runs from the first blank to the last, so a query holding raw
// blanks (the client sends send_time, recipients and some others unescaped) still arrives whole.
// It can also end a connection without any answer, which the fault switches need.
#include <atomic>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

typedef struct ssl_ctx_st SSL_CTX;

namespace pagelark::standin {

struct HttpRequest {
    std::string method;
    std::string target;    // as received
    std::string path;      // the target before '?', percent-decoded
    std::string version;
    std::map<std::string, std::string> headers;   // names in lower case
    std::string Header(const std::string& lower_name) const {
        auto it = headers.find(lower_name);
        return it == headers.end() ? std::string() : it->second;
    }
};

struct HttpResponse {
    int status = 200;
    std::string content_type = "text/plain";
    std::string body;
    std::map<std::string, std::string> headers;
    bool drop = false;     // close the connection without answering
    // Delivery of a download, for the update fault switches:
    bool no_length = false;            // no Content-Length: the body ends when the connection closes
    size_t cut_at = std::string::npos; // announce the whole body, send only this many bytes, close
    size_t stall_at = std::string::npos;   // pause after this many body bytes ...
    int stall_ms = 0;                      // ... for this long (ends early when the listener stops)
};

// Largest request head (request line and headers) accepted.
inline constexpr size_t kMaxRequestHead = 16 * 1024;

class HttpListener {
public:
    using Handler = std::function<void(const HttpRequest&, HttpResponse&)>;
    // With certificate and key files the listener speaks TLS.
    HttpListener(Handler handler, std::string cert_file = {}, std::string key_file = {});
    ~HttpListener();
    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;

    // Binds and starts accepting; false when the port is taken or the certificate unusable.
    bool Start(const std::string& host, int port);
    // Closes the port and every open connection, and waits for their threads.
    void Stop();
    bool Running() const;
    // True while Stop is closing the listener (handlers that wait use it to give up early).
    bool Stopping() const { return stopping_; }

private:
    struct Connection;
    void AcceptLoop();
    void Serve(Connection& c);
    // A download under a fault switch (no length, cut short, stalled); the connection closes after it.
    void SendDownload(Connection& c, const HttpResponse& response);
    void ReapFinished();

    Handler handler_;
    std::string cert_file_, key_file_;
    SSL_CTX* ctx_ = nullptr;
    int listen_fd_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread accept_thread_;
    mutable std::mutex state_mutex_;   // Start, Stop and Running may come from several threads
    std::mutex mutex_;                 // the connection list
    std::list<std::unique_ptr<Connection>> connections_;
};

// Parses a request head (without the final blank line); false when it is no HTTP request.
bool ParseRequestHead(const std::string& head, HttpRequest& request);

}  // namespace pagelark::standin

#pragma once
// The stand-in as one process: the two message servers (HTTPS, basic authentication), the web
// site (HTTP), a listener with a self-signed certificate and the loopback admin interface.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "faults.h"
#include "http_listener.h"
#include "store.h"
#include "telvoro_service.h"

namespace httplib {
class Server;
}

namespace pagelark::standin {

struct StandinOptions {
    std::string state_dir;       // database, updates folder
    std::string certs_dir;       // server.crt/.key, selfsigned.crt/.key
    std::string host = "127.0.0.1";
    int port_base = 8443;        // primary; +1 secondary, +2 web, +3 admin, +4 self-signed
    std::string database;        // default: <state_dir>/standin.sqlite
    // Program updates are fetched over plain HTTP from port 80 of the update host; when set, the web
    // site also listens there (a loopback address of its own, so several stand-ins can run at once).
    std::string update_host;
    int update_port = 80;
    bool access_log = false;     // a line per request on stdout
};

// The fixed basic-authentication credentials of every client.
inline constexpr const char* kServiceUser = "telvoro";
inline constexpr const char* kServicePassword = "zk_m4tWa8e";

class StandinServer {
public:
    explicit StandinServer(StandinOptions options);
    ~StandinServer();

    // Starts every listener; false (with a message on stderr) when one cannot start.
    bool Start();
    void Stop();

    // Takes the message servers down or up again.
    bool SetServer(ServerRole role, bool up);
    bool ServerUp(ServerRole role) const;
    // Empties the state, clears the faults and brings both message servers up.
    void Reset();

    Store& GetStore() { return store_; }
    FaultSwitch& Faults() { return faults_; }
    DownloadSwitch& Downloads() { return downloads_; }
    const StandinOptions& Options() const { return options_; }
    std::string UpdatesDir() const { return options_.state_dir + "/updates"; }

private:
    void HandleService(const std::string& server, const HttpRequest& req, HttpResponse& res);
    std::unique_ptr<HttpListener> MakeServiceListener(const std::string& name, const std::string& cert);
    bool StartAdmin();
    void StopAdmin();

    StandinOptions options_;
    Store store_;
    FaultSwitch faults_;
    DownloadSwitch downloads_;
    TelvoroService service_;
    std::unique_ptr<HttpListener> primary_, secondary_, web_, selfsigned_, update_;
    std::unique_ptr<httplib::Server> admin_;
    std::thread admin_thread_;
};

// The raw query of a request target ("" when it has none).
std::string RawQueryOf(const std::string& target);
// True when an Authorization header carries the service's fixed credentials.
bool HasServiceCredentials(const std::string& authorization);
std::string HtmlEscape(std::string_view text);

}  // namespace pagelark::standin

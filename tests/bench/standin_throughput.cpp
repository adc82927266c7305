// Requests per second the service stand-in answers on loopback: status.php over HTTPS with basic
// authentication, from client threads that keep their connection alive (so TLS set-up is paid once
// per thread) and, for comparison, with a new connection per request as the program makes them.
//   standin_throughput [requests-per-thread]
// Starts its own stand-in on free ports with a database in memory.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "standin_server.h"

namespace {

using pagelark::standin::StandinOptions;
using pagelark::standin::StandinServer;

const char* kTarget = "/plugin/status.php?user=bench&password=bench&version=1.0.0.1&lang=en";

double Run(int port, const std::string& ca, int threads, int per_thread, bool keep_alive) {
    std::atomic<int> failures{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            auto make = [&] {
                auto c = std::make_unique<httplib::SSLClient>("localhost", port);
                c->set_ca_cert_path(ca.c_str());
                c->enable_server_certificate_verification(true);
                c->set_basic_auth(pagelark::standin::kServiceUser, pagelark::standin::kServicePassword);
                c->set_keep_alive(keep_alive);
                c->set_tcp_nodelay(true);
                return c;
            };
            auto client = make();
            for (int i = 0; i < per_thread; ++i) {
                if (!keep_alive) client = make();
                auto res = client->Get(kTarget);
                if (!res || res->status != 200 || res->body.rfind("status: 0\r\n", 0) != 0) ++failures;
            }
        });
    }
    for (auto& t : pool) t.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (failures) std::printf("  (%d failed requests)\n", failures.load());
    return threads * per_thread / seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int per_thread = argc > 1 ? std::atoi(argv[1]) : 500;
    const std::string base = std::filesystem::temp_directory_path() / ("standin-bench-" + std::to_string(getpid()));
    const std::string certs = base + "/certs";
    std::filesystem::create_directories(certs);
    if (std::system(("'" STANDIN_MAKE_CERTS "' '" + certs + "'").c_str()) != 0) return 1;

    std::unique_ptr<StandinServer> server;
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 20 && !server; ++attempt) {
        StandinOptions options;
        options.state_dir = base;
        options.certs_dir = certs;
        options.database = ":memory:";
        options.port_base = 30000 + static_cast<int>(random() % 4000) * 5;
        auto s = std::make_unique<StandinServer>(options);
        if (s->Start()) server = std::move(s);
    }
    if (!server) return 1;
    pagelark::standin::Account account;
    account.user = account.password = "bench";
    account.mobile = "+491701234567";
    account.email = "bench@example.org";
    account.credits = 100;
    account.active = true;
    server->GetStore().SaveAccount(account);

    const int port = server->Options().port_base;
    const std::string ca = certs + "/ca.crt";
    std::printf("status.php on loopback, HTTPS with basic authentication:\n");
    for (int threads : {1, 4}) {
        std::printf("  %d client thread(s), kept-alive connection: %.0f requests/s\n", threads,
                    Run(port, ca, threads, per_thread, true));
    }
    std::printf("  1 client thread, new connection each request: %.0f requests/s\n",
                Run(port, ca, 1, std::max(1, per_thread / 5), false));
    server.reset();
    std::filesystem::remove_all(base);
    return 0;
}

// telvoro-standin: the local stand-in for the Telvoro SMS service.
//   telvoro-standin --state DIR [--certs DIR] [--port-base N] [--host ADDR] [--update-host ADDR]
#include <signal.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "standin_server.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

int Usage() {
    std::cerr << "usage: telvoro-standin --state DIR [--certs DIR] [--port-base N] [--host ADDR] [--update-host ADDR]\n"
                 "  ports: N primary HTTPS, N+1 secondary HTTPS, N+2 web site (HTTP), N+3 admin (HTTP, loopback),\n"
                 "         N+4 HTTPS with a self-signed certificate; ADDR:80 update downloads (HTTP)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    pagelark::standin::StandinOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--state" && has_value) options.state_dir = argv[++i];
        else if (arg == "--certs" && has_value) options.certs_dir = argv[++i];
        else if (arg == "--host" && has_value) options.host = argv[++i];
        else if (arg == "--update-host" && has_value) options.update_host = argv[++i];
        else if (arg == "--port-base" && has_value) {
            char* end = nullptr;
            const long base = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || base < 1 || base > 65530) return Usage();
            options.port_base = static_cast<int>(base);
        } else {
            return Usage();
        }
    }
    if (options.state_dir.empty()) return Usage();
    if (options.certs_dir.empty()) options.certs_dir = options.state_dir + "/certs";
    options.access_log = true;

    try {
        pagelark::standin::StandinServer server(options);
        if (!server.Start()) return 1;
        std::cout << "telvoro-standin: primary https://localhost:" << options.port_base << ", secondary :"
                  << options.port_base + 1 << ", web http://localhost:" << options.port_base + 2
                  << ", admin and phone inbox http://127.0.0.1:" << options.port_base + 3 << "/, self-signed :"
                  << options.port_base + 4 << std::endl;
        signal(SIGINT, OnSignal);
        signal(SIGTERM, OnSignal);
        while (!g_stop) pause();
        server.Stop();
    } catch (const std::exception& e) {
        std::cerr << "telvoro-standin: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

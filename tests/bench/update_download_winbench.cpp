// Seconds to download one update package through WinInet as the update window does (agent
// "Telvoro", preconfigured access, a known size read in 300 blocks and a last read of the rest).
// Usage: update_download_winbench.exe <host> <path> [runs]; prints "wininet_download_seconds <s>"
// (the best of the runs) and the byte count. tests/bench/update_download.sh compares it with curl.
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

long long DownloadOnce(const char* host, const char* path) {
    HINTERNET root = InternetOpenA("Telvoro", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET connection = root ? InternetConnectA(root, host, 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0) : nullptr;
    const char* accept[] = {"*/*", nullptr};
    HINTERNET request = connection ? HttpOpenRequestA(connection, "GET", path, nullptr, nullptr, accept,
                                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                                   : nullptr;
    long long total = -1;
    if (request && HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
        char length[32] = {};
        DWORD size = sizeof length;
        const unsigned long announced =
            HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, length, &size, nullptr) ? std::strtoul(length, nullptr, 10) : 0;
        std::vector<char> data(announced + 1);
        const unsigned long block = announced / 300;
        unsigned long received = 0;
        DWORD read = 0;
        for (int i = 0; i < 300 && announced; ++i) {
            if (!InternetReadFile(request, data.data() + received, block, &read)) break;
            received += read;
        }
        while (received < announced && InternetReadFile(request, data.data() + received, announced - received, &read) && read)
            received += read;
        total = received;
    }
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (root) InternetCloseHandle(root);
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: update_download_winbench <host> <path> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    double best = 1e9;
    long long bytes = -1;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        bytes = DownloadOnce(argv[1], argv[2]);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (bytes <= 0) return 1;
        if (seconds < best) best = seconds;
    }
    std::printf("wininet_download_seconds %.6f\nbytes %lld\n", best, bytes);
    return 0;
}

// Status round trips through WinInet against the service stand-in, the way the program makes them:
// one InternetOpen, InternetOpenUrlA with the credentials in the address, one read, all closed again.
// Also the quickest check that the Wine prefix trusts the test CA (a certificate error ends it with
// the error code). Usage: standin_wininet_winbench host:port [requests]
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// 0 and the reply on success, else the WinInet error code.
DWORD StatusRoundTrip(const std::string& url, std::string& reply) {
    HINTERNET inet = InternetOpenA("Pagelark", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!inet) return GetLastError();
    HINTERNET request = InternetOpenUrlA(inet, url.c_str(), nullptr, 0, INTERNET_FLAG_RAW_DATA, 0);
    if (!request) {
        const DWORD error = GetLastError();
        InternetCloseHandle(inet);
        return error;
    }
    char buffer[256] = {};
    DWORD read = 0;
    InternetReadFile(request, buffer, 255, &read);
    reply.assign(buffer);
    InternetCloseHandle(request);
    InternetCloseHandle(inet);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s host:port [requests]\n", argv[0]);
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 50;
    const std::string url = std::string("https://telvoro:zk_m4tWa8e@") + argv[1] +
                            "/plugin/status.php?user=bench&password=bench&version=1.0.0.1&lang=en";
    std::string reply;
    const DWORD first = StatusRoundTrip(url, reply);
    if (first != 0) {
        std::printf("status request failed: WinInet error %lu\n", static_cast<unsigned long>(first));
        return 1;
    }
    std::printf("first reply: %s\n", reply.c_str());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        const DWORD error = StatusRoundTrip(url, reply);
        if (error != 0) {
            std::printf("request %d failed: WinInet error %lu\n", i, static_cast<unsigned long>(error));
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d status round trips through WinInet: %.2f ms each, %.1f per second\n", count,
                seconds * 1000 / count, count / seconds);
    return 0;
}

#include "service/wininet_transport_win.h"

#include <windows.h>
#include <wininet.h>

#include <utility>

#include "common/wide_string_win.h"
#include "service/internet_handle_win.h"
#include "service/reply_reader.h"

namespace pagelark {
namespace {

class WinInetSession : public HttpSession {
public:
    explicit WinInetSession(InternetHandle root) : root_(std::move(root)) {}

    FetchResult Fetch(const std::string& address) override {
        FetchResult result;
        // The address is ASCII: every value in it is escaped. Every answer is fresh account state
        // (credits, status): never serve one from the cache or keep it there.
        constexpr DWORD kFlags = INTERNET_FLAG_RAW_DATA | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
        InternetHandle url(InternetOpenUrlA(root_.get(), address.c_str(), nullptr, 0, kFlags, 0));
        if (!url) {
            result.errorCode = GetLastError();
            return result;
        }
        result.ok = true;
        char buffer[kMaxReplyBytes + 1] = {};
        DWORD read = 0;
        if (InternetReadFile(url.get(), buffer, static_cast<DWORD>(kMaxReplyBytes), &read) && read <= kMaxReplyBytes)
            result.body.assign(buffer, read);
        return result;
    }

private:
    InternetHandle root_;
};

}  // namespace

std::unique_ptr<HttpSession> WinInetTransport::Open(const ProxySetting& proxy) {
    const std::wstring proxyText = Widen(proxy.proxyText);
    InternetHandle root(proxy.useProxy
                            ? InternetOpenW(L"Pagelark", INTERNET_OPEN_TYPE_PROXY, proxyText.c_str(), nullptr, 0)
                            : InternetOpenW(L"Pagelark", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!root) return nullptr;
    return std::make_unique<WinInetSession>(std::move(root));
}

}  // namespace pagelark

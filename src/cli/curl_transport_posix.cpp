#include "cli/curl_transport_posix.h"

#include <curl/curl.h>

#include "service/reply_reader.h"

namespace pagelark::cli {
namespace {

// WinInet's error codes for the failures that matter to the client.
constexpr std::uint32_t kTimeout = 12002;            // ERROR_INTERNET_TIMEOUT
constexpr std::uint32_t kNameNotResolved = 12007;    // ERROR_INTERNET_NAME_NOT_RESOLVED
constexpr std::uint32_t kCannotConnect = 12029;      // ERROR_INTERNET_CANNOT_CONNECT
constexpr std::uint32_t kConnectionAborted = 12030;  // ERROR_INTERNET_CONNECTION_ABORTED
constexpr std::uint32_t kInvalidCa = 12045;          // ERROR_INTERNET_INVALID_CA
constexpr std::uint32_t kSecureFailure = 12175;      // ERROR_INTERNET_DECODING_FAILED (any other TLS fault)

// Deliberately generous, as WinInet's defaults are: a slow server is not a missing one.
constexpr long kConnectTimeoutSeconds = 30;
constexpr long kTotalTimeoutSeconds = 120;

struct Handle {
    CURL* curl = curl_easy_init();
    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (curl) curl_easy_cleanup(curl);
    }
};

// Keeps the first 255 bytes and stops the transfer there: the reply is never longer.
size_t KeepReply(char* data, size_t size, size_t count, void* user) {
    auto* body = static_cast<std::string*>(user);
    const size_t bytes = size * count;
    const size_t room = kMaxReplyBytes - body->size();
    body->append(data, bytes < room ? bytes : room);
    return body->size() < kMaxReplyBytes ? bytes : 0;   // 0 ends the transfer once full
}

class CurlSession final : public HttpSession {
public:
    CurlSession(ProxySetting proxy, const std::string& caFile) : proxy_(std::move(proxy)), caFile_(caFile) {}

    FetchResult Fetch(const std::string& address) override {
        FetchResult result;
        Handle handle;
        if (!handle.curl) {
            result.errorCode = kConnectionAborted;
            return result;
        }
        CURL* curl = handle.curl;
        curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "Pagelark");
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        // The proxy named in the settings, or none at all (not http_proxy from the environment).
        curl_easy_setopt(curl, CURLOPT_PROXY, proxy_.useProxy ? proxy_.proxyText.c_str() : "");
        if (!caFile_.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile_.c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &KeepReply);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
        const CURLcode code = curl_easy_perform(curl);
        // A reply cut at 255 bytes ends in a write error; it is still a reply.
        const bool full = code == CURLE_WRITE_ERROR && result.body.size() == kMaxReplyBytes;
        if (code != CURLE_OK && !full) {
            result.body.clear();
            result.errorCode = WinInetCodeOfCurl(code);
            return result;
        }
        result.ok = true;
        return result;
    }

private:
    ProxySetting proxy_;
    std::string caFile_;
};

}  // namespace

std::unique_ptr<HttpSession> CurlTransport::Open(const ProxySetting& proxy) {
    return std::make_unique<CurlSession>(proxy, caFile_);
}

std::uint32_t WinInetCodeOfCurl(int curlCode) {
    switch (static_cast<CURLcode>(curlCode)) {
        case CURLE_OPERATION_TIMEDOUT: return kTimeout;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return kNameNotResolved;
        case CURLE_COULDNT_CONNECT: return kCannotConnect;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR: return kInvalidCa;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER: return kSecureFailure;
        default: return kConnectionAborted;
    }
}

}  // namespace pagelark::cli

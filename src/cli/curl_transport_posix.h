#pragma once
// The service transport on Linux, over libcurl, behind the interface WinInet serves on Windows:
// agent "Pagelark", direct or through the named proxy (never the environment's proxy
// variables), one GET and at most 255 bytes of its answer.
#include <memory>
#include <string>

#include "service/service_ports.h"

namespace pagelark::cli {

class CurlTransport final : public HttpTransport {
public:
    // `caFile`: certificates to trust instead of the system's; empty for the system's.
    explicit CurlTransport(std::string caFile) : caFile_(std::move(caFile)) {}
    std::unique_ptr<HttpSession> Open(const ProxySetting& proxy) override;

private:
    std::string caFile_;
};

// Failures are reported with WinInet's codes, so that the client names them as on Windows
// (12045 is "Security certificate not found").
std::uint32_t WinInetCodeOfCurl(int curlCode);

}  // namespace pagelark::cli

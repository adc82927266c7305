#pragma once
// The service transport over WinInet: agent "Pagelark", direct or through the named proxy (never
// the system's proxy configuration), one InternetOpenUrl with INTERNET_FLAG_RAW_DATA (and no cache) and one read
// of at most 255 bytes.
#include <memory>

#include "service/service_ports.h"

namespace pagelark {

class WinInetTransport : public HttpTransport {
public:
    std::unique_ptr<HttpSession> Open(const ProxySetting& proxy) override;
};

}  // namespace pagelark

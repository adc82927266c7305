#pragma once
// The application's service client with its Windows parts: WinInet, the system clock, texts
// from the resources in the active language, message boxes over the active window.
#include <memory>

#include "service/service_client.h"

namespace pagelark {

std::unique_ptr<ServiceClient> CreateWindowsServiceClient(ServiceContext context);

}  // namespace pagelark

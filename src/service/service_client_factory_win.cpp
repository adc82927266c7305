#include "service/service_client_factory_win.h"

#include <windows.h>

#include "resource_ids.h"
#include "service/service_ui_win.h"
#include "service/system_clock_win.h"
#include "service/wininet_transport_win.h"
#include "ui/resources_win.h"

namespace pagelark {

std::unique_ptr<ServiceClient> CreateWindowsServiceClient(ServiceContext context) {
    ServicePlatform platform;
    platform.transport = std::make_shared<WinInetTransport>();
    platform.clock = std::make_shared<SystemClock>();
    platform.texts = std::make_shared<ResourceTexts>([](UINT id, LANGID language) { return LoadText(id, language); });
    platform.ui = std::make_shared<WindowsServiceUi>([] { return LoadText(IDS_APP_TITLE); },
                                                     [] { return GetActiveWindow(); });
    return std::make_unique<ServiceClient>(std::move(context), std::move(platform));
}

}  // namespace pagelark

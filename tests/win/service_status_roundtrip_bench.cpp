// Timing of one status round trip through the program's own transport and service client
// against the stand-in. Disabled in the test suite (figures, not a pass/fail test); run by
// tests/bench/service_status_roundtrip.sh, which sets it against curl.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "service/service_client.h"
#include "service/service_ui_win.h"
#include "service/system_clock_win.h"
#include "service/wininet_transport_win.h"
#include "service_standin_admin.h"

namespace pagelark {
namespace {

TEST(ServiceBenchmark, DISABLED_StatusRoundTrip) {
    testing::StandinAddresses standin;
    if (!standin.Available()) GTEST_SKIP() << "no stand-in";
    testing::AdminCall(standin, "POST", "/admin/accounts",
                       "{\"user\":\"bench\",\"password\":\"bench\",\"mobile\":\"+491701234567\",\"email\":\"b@example.org\","
                       "\"credits\":100,\"acctyp\":\"11111\",\"active\":true}");
    Settings settings;
    settings.UserName = "bench";
    settings.UserPassword = "bench";
    InstallationValues installation;
    installation.primaryServer = standin.primary;
    installation.secondaryServer = standin.secondary;
    installation.productLanguage = "1033";
    LanguageInfo language;
    const std::string version = "1.0.0.1";
    ServiceClient client(ServiceContext{settings, installation, language, version, {}, {}},
                         ServicePlatform{std::make_shared<WinInetTransport>(), std::make_shared<SystemClock>(),
                                         std::make_shared<ResourceTexts>(TextLoader{}), nullptr});
    const char* countText = std::getenv("PAGELARK_BENCH_REQUESTS");
    const int count = countText ? std::max(1, std::atoi(countText)) : 50;
    ASSERT_EQ(client.RequestStatus(), 0) << client.LastError();   // warm-up
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) ASSERT_EQ(client.RequestStatus(), 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("pagelark_status_seconds %.6f (%d requests)\n", seconds / count, count);
}

}  // namespace
}  // namespace pagelark

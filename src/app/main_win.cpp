// Pagelark entry point.
#include <windows.h>

#include "app/application_win.h"
#include "app/installer_launch_win.h"
#include "common/wide_string_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A copy started only to run the installer once the program has ended does nothing else.
    if (const auto code = pagelark::RunInstallerAfterParent(GetCommandLineW())) return *code;
    pagelark::Application app;
    if (!app.Startup(pagelark::Narrow(GetCommandLineW()))) return 0;
    return app.Run();
}

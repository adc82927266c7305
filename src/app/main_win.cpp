// Pagelark entry point.
#include <windows.h>

#include "app/application_win.h"
#include "common/wide_string_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pagelark::Application app;
    if (!app.Startup(pagelark::Narrow(GetCommandLineW()))) return 0;
    return app.Run();
}

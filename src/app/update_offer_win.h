#pragma once
// The automatic update offer a message window makes after its status request succeeded.
#include <windows.h>

namespace pagelark {

class Application;

// Runs the update check (app/update_window_win.h) in its automatic (not manual) mode.
void OfferUpdateAfterStatus(Application& app, HWND owner);

}  // namespace pagelark

#pragma once
// The status worker of a newly opened message window: runs the status request's network part on
// its own thread and hands the complete result to the window by message; the window applies it
// on the user-interface thread (ServiceClient::ApplyStatus).
#include <windows.h>

#include <memory>

#include "service/service_client.h"

namespace pagelark {

// Starts the worker: it sets its thread locale to `locale` (so that texts come in the user's
// language), runs `job` and posts `message` to `window` with the result code in wParam and the
// result in lParam (take it with TakeStatusResult). When the window is gone by then, the result
// is dropped. False when no thread could be started.
bool StartStatusWorker(StatusJob job, HWND window, UINT message, LCID locale);

// Takes ownership of the result carried by the worker's message.
std::unique_ptr<StatusResult> TakeStatusResult(LPARAM lParam);

}  // namespace pagelark

#pragma once
// The status worker of a newly opened message window: runs the status request's network part on
// its own thread, leaves the complete result in a slot shared with the window and posts the
// window a message; the window takes the result and applies it on the user-interface thread
// (ServiceClient::ApplyStatus).
//
//   statusSlot_ = StartStatusWorker(service.PrepareStatus(), hwnd(), kStatusDoneMessage, locale);
//   on kStatusDoneMessage:  if (auto result = TakeStatusResult(statusSlot_.get())) ...
//
// The message carries nothing: any program may post it, so only what the worker left in the
// window's own slot counts, and a stray or repeated message finds the slot empty.
#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>

#include "service/service_client.h"

namespace pagelark {

class StatusResultSlot {
public:
    void Put(StatusResult result);
    // The result, once; nothing before the worker is done and after it was taken.
    std::optional<StatusResult> Take();

private:
    std::mutex mutex_;
    std::optional<StatusResult> result_;
};

// Starts the worker: it sets its thread locale to `locale` (so that texts come in the user's
// language), runs `job`, puts the result into the returned slot and posts `message` (wParam and
// lParam 0) to `window`. When the window is gone by then, the result stays unread and goes with
// the slot. nullptr when no thread could be started.
std::shared_ptr<StatusResultSlot> StartStatusWorker(StatusJob job, HWND window, UINT message, LCID locale);

// The result the worker left in `slot` (nothing for no slot).
std::optional<StatusResult> TakeStatusResult(StatusResultSlot* slot);

}  // namespace pagelark

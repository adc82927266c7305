#include "service/status_worker_win.h"

#include <exception>
#include <thread>

namespace pagelark {

void StatusResultSlot::Put(StatusResult result) {
    std::lock_guard lock(mutex_);
    result_ = std::move(result);
}

std::optional<StatusResult> StatusResultSlot::Take() {
    std::lock_guard lock(mutex_);
    std::optional<StatusResult> taken = std::move(result_);
    result_.reset();
    return taken;
}

std::shared_ptr<StatusResultSlot> StartStatusWorker(StatusJob job, HWND window, UINT message, LCID locale) {
    auto slot = std::make_shared<StatusResultSlot>();
    try {
        // The worker holds the slot, never the window's object, which may be gone when it is done.
        std::thread([job = std::move(job), slot, window, message, locale] {
            SetThreadLocale(locale);
            slot->Put(job.Run());
            PostMessageW(window, message, 0, 0);
        }).detach();
    } catch (const std::exception&) {
        return nullptr;
    }
    return slot;
}

std::optional<StatusResult> TakeStatusResult(StatusResultSlot* slot) {
    if (!slot) return std::nullopt;
    return slot->Take();
}

}  // namespace pagelark

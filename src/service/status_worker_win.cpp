#include "service/status_worker_win.h"

#include <exception>
#include <thread>

namespace pagelark {

bool StartStatusWorker(StatusJob job, HWND window, UINT message, LCID locale) {
    try {
        std::thread([job = std::move(job), window, message, locale] {
            SetThreadLocale(locale);
            auto result = std::make_unique<StatusResult>(job.Run());
            const WPARAM code = static_cast<WPARAM>(static_cast<INT_PTR>(result->code));
            if (PostMessageW(window, message, code, reinterpret_cast<LPARAM>(result.get()))) result.release();
        }).detach();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<StatusResult> TakeStatusResult(LPARAM lParam) {
    return std::unique_ptr<StatusResult>(reinterpret_cast<StatusResult*>(lParam));
}

}  // namespace pagelark

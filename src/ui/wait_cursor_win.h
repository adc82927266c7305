#pragma once
// Shows the hourglass while the thread is busy with a call that blocks the window (a service
// request, a file to read), and puts the previous cursor back when it ends.
#include <windows.h>

namespace pagelark {

class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace pagelark

#include "ui/common_controls_win.h"

#include <windows.h>
#include <commctrl.h>

namespace pagelark {

void EnsureCommonControls() {
    // Function-local static: initialised once, even if two threads get here together.
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                            ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

}  // namespace pagelark

#include "setup/setup_entry_win.h"

namespace pagelark {

// Placeholders until the wizard and the options sheet exist.
void RunSetupWizard(Application&, HWND) {}
void RunOptionsSheet(Application&, HWND) {}

}  // namespace pagelark

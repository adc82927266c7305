#pragma once
// What the looks need to know from the system.
#include <windows.h>

namespace pagelark {

// The running Windows' major version (RtlGetVersion: not subject to the compatibility lie of GetVersionEx).
int WindowsMajorVersion();

// Outlook Express's "Toolbar Icon Size" (1 = large icons), from the identity's settings before
// Windows Vista and from Windows Mail's from Vista on; 1 when it cannot be read.
int ReadExpressToolbarIconSize(int windowsMajorVersion);

}  // namespace pagelark

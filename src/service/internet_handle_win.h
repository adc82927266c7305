#pragma once
// Move-only owner of a WinInet handle (session, connection or request).
#include <windows.h>
#include <wininet.h>

#include "common/handle_win.h"

namespace pagelark {

inline bool CloseInternetHandle(HINTERNET handle) { return InternetCloseHandle(handle) != FALSE; }
using InternetHandle = UniqueHandle<HINTERNET, CloseInternetHandle>;

}  // namespace pagelark

#include "common/user_data_folder_win.h"

#include <windows.h>

#include "common/wide_string_win.h"

namespace pagelark {

std::string UserDataFolder() {
    wchar_t expanded[MAX_PATH] = {};
    const DWORD length = ExpandEnvironmentStringsW(L"%APPDATA%\\Pagelark", expanded, MAX_PATH);
    if (length == 0 || length > MAX_PATH || expanded[0] == L'%') return {};
    return Narrow(expanded);
}

}  // namespace pagelark

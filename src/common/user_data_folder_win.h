#pragma once
// The user's own folder for what the program keeps per user (downloaded updates, the personal
// dictionary): "%APPDATA%\Pagelark".
#include <string>

namespace pagelark {

// Empty when APPDATA is not set or the folder's name would not fit a path.
std::string UserDataFolder();

}  // namespace pagelark

#pragma once
// The Windows side of Save as: the file dialog and writing the file.
#include <windows.h>

#include <optional>
#include <string>

namespace pagelark {

// The Save As dialog: extension "txt", the text-file filter, overwrite prompt, no read-only box,
// no proposed name. The chosen path (UTF-8), or nothing when cancelled.
std::optional<std::string> AskSaveAsFileName(HWND owner);

// Creates or empties the file and writes all bytes; false when it cannot be opened or written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// "File could not be saved." with the error icon (a fixed English text).
void ShowFileNotSaved(HWND owner);

}  // namespace pagelark

#pragma once
// What the registry says about the mail clients: Outlook's version and editor, the default client.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace pagelark {

// A string value of at most 260 bytes (as UTF-8), or nothing when it is missing, longer or not a string.
std::optional<std::string> ReadRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* value);
// A DWORD value, or nothing when it is missing or of another type.
std::optional<std::uint32_t> ReadRegistryDword(HKEY root, const wchar_t* subKey, const wchar_t* value);

// Major version from HKCR\Outlook.Application\CurVer; 0 when it cannot be read.
int ReadOutlookVersion();
// Outlook's "EditorPreference" of that version: Word writes its e-mail.
bool ReadOutlookWordEditor(int clientVersion);

}  // namespace pagelark

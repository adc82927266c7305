#pragma once
// Resources are always loaded in an explicit language (FindResourceExW), because the thread
// locale picks them on Wine and the UI language on Windows: the explicit id behaves alike on both.
// The active language is process-wide; falls back to English, then to any language.
#include <windows.h>

#include <string>

namespace pagelark {

void SetResourceLanguage(LANGID langId);
LANGID ResourceLanguage();

// A string-table text in the active (or given) language; empty when missing.
std::wstring LoadText(UINT id);
std::wstring LoadText(UINT id, LANGID langId);
std::string LoadTextUtf8(UINT id);

// A menu resource in the active language; the caller destroys it (or attaches it to a window).
HMENU LoadMenuResource(UINT id);
// A dialog template in the active language, or nullptr. Valid for the life of the module.
const DLGTEMPLATE* FindDialogTemplate(UINT id);
// A dialog template in exactly this language (no fallback), or nullptr.
const DLGTEMPLATE* FindDialogTemplate(UINT id, LANGID langId);

// A message box with the application title (IDS_APP_TITLE) as caption and a text of the string table.
int ShowTextMessage(HWND owner, UINT textId, UINT type);
int ShowMessage(HWND owner, const std::wstring& text, UINT type);

}  // namespace pagelark

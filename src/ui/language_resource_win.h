#pragma once
// Finds a resource in one language, explicitly: Wine and Windows disagree on which thread
// setting picks the language, so nothing here relies on the thread's language.
#include <windows.h>

#include <string>

namespace pagelark {

// The resource `id` of `type` in `language`; when that language lacks it, the same resource in
// any language (the neutral artwork, or English). nullptr when there is none.
const void* FindLanguageResource(HINSTANCE module, LPCWSTR type, int id, LANGID language, DWORD* size = nullptr);

// String `id` of `language` (falling back like FindLanguageResource); empty when missing.
std::wstring LoadLanguageString(HINSTANCE module, int id, LANGID language);

}  // namespace pagelark

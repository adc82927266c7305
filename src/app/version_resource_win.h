#pragma once
// The version text from the version resource of "Pagelark.exe" (found by the system's usual
// search rules): its FileVersion string with commas turned into points; empty without one.
#include <string>

namespace pagelark {

std::string ReadVersionText(const wchar_t* fileName = L"Pagelark.exe");

}  // namespace pagelark

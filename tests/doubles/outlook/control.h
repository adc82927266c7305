#pragma once
// Control commands of the Outlook double (see RunControl's help text).
#include <windows.h>

#include <string>
#include <vector>

namespace outlook_double {

inline constexpr wchar_t kServerWindowClass[] = L"OutlookDouble.Server";

const CLSID& DoubleClassId();
int RunControl(const std::vector<std::wstring>& args);

}  // namespace outlook_double
